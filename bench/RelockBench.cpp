// Relocking one 1 GiB package for 10 players with corvane-cli: the batch
// (read and decipher once, encipher per device) beside 10 single relocks and
// beside cp copying the same 10 GiB, taken turn about in the same run so a
// slow spell of a shared machine falls on all three alike. Files live under
// $CORVANE_BENCH_DIR (default /tmp): measure on the disk users use. Each
// method's output is removed outside the clock before it runs again.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchProject.h"
#include "common/ByteStream.h"
#include "package/MediaPackage.h"

namespace {

using namespace corvane;

constexpr int kDevices = 10;
constexpr std::size_t kMembers = 8;
constexpr std::size_t kMemberSize = 128u << 20;  // 8 x 128 MiB = 1 GiB

struct RelockFiles {
  RelockFiles() : root(BenchFolder(("corvane-relock-" + std::to_string(::getpid())).c_str())) {
    std::filesystem::create_directories(root / "members");
    std::vector<std::uint8_t> bytes(kMemberSize);
    std::mt19937_64 random(11);
    PackageContents contents;
    contents.DeviceId = "00000000000012AB";
    contents.ProviderKey = "0000000000000000";
    contents.Model = 1;
    for (std::size_t m = 0; m < kMembers; ++m) {
      for (std::size_t i = 0; i + 8 <= bytes.size(); i += 8) {
        const std::uint64_t v = random();
        std::memcpy(bytes.data() + i, &v, 8);
      }
      contents.Members.push_back(root / "members" / ("music" + std::to_string(m) + ".ogg"));
      FileStream::CreateForWrite(contents.Members.back()).Write(bytes);
    }
    package = root / "Bench_SU_20240315_00000000000012AB.ipc";
    NoProgress progress;
    ok = WritePackage(package, contents, progress) == PackageStatus::Ok;
    std::filesystem::remove_all(root / "members");
  }
  ~RelockFiles() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  // An empty folder for one method's output.
  std::filesystem::path Fresh(const char* name) const {
    std::filesystem::remove_all(root / name);
    std::filesystem::create_directories(root / name);
    return root / name;
  }

  std::filesystem::path root;
  std::filesystem::path package;
  bool ok = false;
};

bool Run(const std::string& command) { return std::system((command + " >/dev/null").c_str()) == 0; }

std::string Relock(const RelockFiles& files, const std::vector<int>& devices,
                   const std::filesystem::path& out) {
  std::string command = std::string(CORVANE_CLI_EXE) + " package relock '" + files.package.string() + "'";
  for (const int device : devices) command += " --device-id " + std::to_string(device);
  return command + " --out '" + out.string() + "'";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void BM_RelockTenDevices(benchmark::State& state) {
  const RelockFiles files;
  if (!files.ok) return state.SkipWithError("the source package could not be written");
  std::vector<int> all(kDevices);
  for (int d = 0; d < kDevices; ++d) all[static_cast<std::size_t>(d)] = d + 1;
  std::vector<double> batch, singles, cp;
  const auto timed = [](const std::function<bool()>& work, std::vector<double>& into) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok = work();
    into.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return ok;
  };
  for (auto _ : state) {
    state.PauseTiming();
    auto out = files.Fresh("batch");
    state.ResumeTiming();
    if (!timed([&] { return Run(Relock(files, all, out)); }, batch)) state.SkipWithError("batch failed");
    state.PauseTiming();
    out = files.Fresh("singles");
    bool ok = timed(
        [&] {
          for (const int device : all) {
            if (!Run(Relock(files, {device}, out))) return false;
          }
          return true;
        },
        singles);
    out = files.Fresh("cp");
    ok = timed(
             [&] {
               for (int d = 0; d < kDevices; ++d) {
                 const auto copy = out / (std::to_string(d) + ".ipc");
                 if (!Run("cp '" + files.package.string() + "' '" + copy.string() + "'")) return false;
               }
               return true;
             },
             cp) &&
         ok;
    files.Fresh("batch");
    files.Fresh("singles");
    files.Fresh("cp");
    if (!ok) state.SkipWithError("a single relock or cp failed");
    state.ResumeTiming();
  }
  state.counters["batch_s_min"] = *std::min_element(batch.begin(), batch.end());
  state.counters["batch_s_median"] = Median(batch);
  state.counters["singles_s_min"] = *std::min_element(singles.begin(), singles.end());
  state.counters["singles_s_median"] = Median(singles);
  state.counters["cp_s_min"] = *std::min_element(cp.begin(), cp.end());
  state.counters["cp_s_median"] = Median(cp);
  // The goal is 0.6 or less.
  state.counters["batch_vs_singles"] = Median(batch) / Median(singles);
}
BENCHMARK(BM_RelockTenDevices)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(3);

}  // namespace
