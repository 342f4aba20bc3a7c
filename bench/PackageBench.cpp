// Writing and reading back a package of 1 GB of members, beside copying the
// same bytes with cp in the same run. Files live under $CORVANE_BENCH_DIR
// (default: the system's temporary folder).
//
// Each operation starts with its own earlier output removed, outside the
// clock: cp truncates its target before it writes, while the package writer
// must keep the old package until the new one is whole, so otherwise only cp
// would write into memory just freed. On a virtual machine that hands memory
// free for a few seconds back to its host, that alone makes a gigabyte write
// two to four times slower, which is not the work being measured. The tool's
// open empties the temporary folder before it unpacks in the same way.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/ByteStream.h"
#include "package/MediaPackage.h"
#include "session/SessionFolders.h"

namespace {

using namespace corvane;

constexpr std::size_t kMembers = 8;
constexpr std::size_t kMemberSize = 128u << 20;  // 8 x 128 MiB = 1 GiB

class PackageBenchFiles {
 public:
  static PackageBenchFiles& Get() {
    static PackageBenchFiles files;
    return files;
  }
  ~PackageBenchFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  std::filesystem::path root;
  std::vector<std::filesystem::path> members;
  std::filesystem::path package;
  std::filesystem::path allInOne;  // the same bytes as one file, for cp

 private:
  PackageBenchFiles() {
    const char* base = std::getenv("CORVANE_BENCH_DIR");
    root = std::filesystem::path(base != nullptr ? base : std::filesystem::temp_directory_path().c_str()) /
           ("corvane-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "members");
    std::filesystem::create_directories(root / "unpacked");
    std::vector<std::uint8_t> bytes(kMemberSize);
    std::mt19937_64 random(7);
    FileStream whole = FileStream::CreateForWrite(root / "all.bin");
    for (std::size_t m = 0; m < kMembers; ++m) {
      for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
        const std::uint64_t v = random();
        std::memcpy(bytes.data() + i, &v, 8);
      }
      members.push_back(root / "members" / ("music" + std::to_string(m) + ".ogg"));
      FileStream out = FileStream::CreateForWrite(members.back());
      out.Write(bytes);
      whole.Write(bytes);
    }
    allInOne = root / "all.bin";
    package = root / "Bench_SU_20240315_00000000000012AB.ipc";
  }
};

PackageContents Contents() {
  PackageContents contents;
  contents.DeviceId = "00000000000012AB";
  contents.ProviderKey = "0000000000000000";
  contents.Model = 1;
  contents.Members = PackageBenchFiles::Get().members;
  return contents;
}

// Remove what an earlier run of the same operation wrote.
void RemoveCopy() {
  std::error_code ignored;
  std::filesystem::remove(PackageBenchFiles::Get().root / "copy.bin", ignored);
}
void RemovePackage() {
  std::error_code ignored;
  std::filesystem::remove(PackageBenchFiles::Get().package, ignored);
}
void RemoveUnpacked() { ClearFolderFiles(PackageBenchFiles::Get().root / "unpacked"); }

bool CopyWithCp() {
  auto& files = PackageBenchFiles::Get();
  const std::string command =
      "cp '" + files.allInOne.string() + "' '" + (files.root / "copy.bin").string() + "'";
  return std::system(command.c_str()) == 0;
}

PackageStatus ReadBack(bool verifyOnly) {
  auto& files = PackageBenchFiles::Get();
  NoProgress progress;
  PackageReadOptions options;
  options.DeviceKey = 0x12AB;
  options.VerifyOnly = verifyOnly;
  PackageReadResult result;
  return ReadPackage(files.package, files.root / "unpacked", options, result, progress,
                     TraceLog::Silent());
}

void BM_CopyWithCp(benchmark::State& state) {
  PackageBenchFiles::Get();  // made before the clock starts
  for (auto _ : state) {
    state.PauseTiming();
    RemoveCopy();
    state.ResumeTiming();
    if (!CopyWithCp()) state.SkipWithError("cp failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMembers * kMemberSize));
}
BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_WritePackage(benchmark::State& state) {
  auto& files = PackageBenchFiles::Get();
  const PackageContents contents = Contents();
  NoProgress progress;
  for (auto _ : state) {
    state.PauseTiming();
    RemovePackage();
    state.ResumeTiming();
    if (WritePackage(files.package, contents, progress) != PackageStatus::Ok) {
      state.SkipWithError("write failed");
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMembers * kMemberSize));
}
BENCHMARK(BM_WritePackage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void ReadBench(benchmark::State& state, bool verifyOnly) {
  auto& files = PackageBenchFiles::Get();
  NoProgress progress;
  if (!std::filesystem::exists(files.package)) {
    WritePackage(files.package, Contents(), progress);
  }
  for (auto _ : state) {
    state.PauseTiming();
    RemoveUnpacked();
    state.ResumeTiming();
    if (ReadBack(verifyOnly) != PackageStatus::Ok) state.SkipWithError("read failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kMembers * kMemberSize));
}
void BM_ReadPackage(benchmark::State& state) { ReadBench(state, false); }
void BM_VerifyPackage(benchmark::State& state) { ReadBench(state, true); }
BENCHMARK(BM_ReadPackage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_VerifyPackage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// cp, write and read taken turn about, so a slow spell of a shared machine
// falls on all three alike. Each ratio is cp's time over the package
// operation's, as the median over the rounds and as the best time of each
// over the rounds: at least 0.5 is the goal.
void BM_PackageAgainstCp(benchmark::State& state) {
  auto& files = PackageBenchFiles::Get();
  const PackageContents contents = Contents();
  NoProgress progress;
  using Clock = std::chrono::steady_clock;
  auto seconds = [](Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
  };
  std::vector<double> writeRatios;
  std::vector<double> readRatios;
  double bestCp = 1e9;
  double bestWrite = 1e9;
  double bestRead = 1e9;
  for (auto _ : state) {
    RemoveCopy();
    auto start = Clock::now();
    if (!CopyWithCp()) state.SkipWithError("cp failed");
    const double cp = seconds(start);
    RemovePackage();
    start = Clock::now();
    if (WritePackage(files.package, contents, progress) != PackageStatus::Ok) {
      state.SkipWithError("write failed");
    }
    const double write = seconds(start);
    writeRatios.push_back(cp / write);
    RemoveUnpacked();
    start = Clock::now();
    if (ReadBack(false) != PackageStatus::Ok) state.SkipWithError("read failed");
    const double read = seconds(start);
    readRatios.push_back(cp / read);
    bestCp = std::min(bestCp, cp);
    bestWrite = std::min(bestWrite, write);
    bestRead = std::min(bestRead, read);
  }
  auto median = [](std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
  };
  state.counters["write_vs_cp"] = median(writeRatios);
  state.counters["read_vs_cp"] = median(readRatios);
  state.counters["write_vs_cp_best"] = bestCp / bestWrite;
  state.counters["read_vs_cp_best"] = bestCp / bestRead;
}
BENCHMARK(BM_PackageAgainstCp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(21);

}  // namespace
