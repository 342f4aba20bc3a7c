// How long the UI thread goes without handling events while the home
// screen's save and open flows write and read a package of 1 GiB of members
// through the real progress dialog: a 10 ms timer runs meanwhile and the
// longest gap between two of its ticks is the longest stall the operator
// could see. Files live under $CORVANE_BENCH_DIR (default: the system's
// temporary folder); measure on the disk users keep packages on.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "BenchProject.h"
#include "gui/StallMeter.h"
#include "audio/MediaPlayer.h"
#include "common/Clock.h"
#include "gui/package/ImportExportDlg.h"
#include "project/ProjectFiles.h"
#include "session/DeviceModel.h"

namespace {

using namespace corvane;

constexpr int kMembers = 8;
constexpr std::size_t kMemberSize = 128u << 20;

std::filesystem::path Root() { return BenchFolder("corvane-package-stall"); }

// Says yes to every question, saves and opens the one package.
class PackageOperator final : public AgreeingOperator {
 public:
  std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest&) override {
    return opened;
  }
  std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest&) override {
    return Root() / "packages" / "bench.ipc";
  }
  std::filesystem::path opened;
};

// The real dialog, its start and its two-second hold driven at once, with
// the stall measured while it runs.
class MeasuredDialog final : public PackageProgressDialog {
 public:
  int Run(const std::string& text, const ProgressWork& work) override {
    CImportExportDlg dialog(text, work);
    dialog.show();
    const StallMeter stalls;
    dialog.Start();
    longest = stalls.LongestMs();
    dialog.HoldTick();
    return dialog.result();
  }
  qint64 longest = 0;
};

struct Project : BenchProject<PackageOperator> {
  Project() : BenchProject(Root()) {
    std::filesystem::create_directories(Root() / "packages");
    session.ApplyModel(ModelNumber(DeviceModel::TonvexSU), true);
    home.CurrentModel = ModelNumber(DeviceModel::TonvexSU);
  }
  // The members in the temporary folder and channel 1 naming them.
  void FillChannel() {
    session.Channel1.ResetSettings();
    session.Channel1.ResetPlaylists();
    std::vector<char> bytes(kMemberSize);
    std::mt19937_64 random(7);
    for (int m = 0; m < kMembers; ++m) {
      const std::string name = "music" + std::to_string(m) + ".ogg";
      const auto path = std::filesystem::path(session.Folders.TempFolder) / name;
      if (!std::filesystem::exists(path) || std::filesystem::file_size(path) != kMemberSize) {
        for (char& b : bytes) b = static_cast<char>(random());
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      }
      session.Channel1.Music.entries.push_back(EntryFor(180, name));
    }
    home.Channel1Modified = true;
  }
};

void BM_SavePackageStall(benchmark::State& state) {
  Project project;
  for (auto _ : state) {
    state.PauseTiming();
    project.FillChannel();
    std::filesystem::remove_all(Root() / "packages");
    std::filesystem::create_directories(Root() / "packages");
    state.ResumeTiming();
    MeasuredDialog dialog;
    if (!RunSaveFlow(project.context, dialog)) state.SkipWithError("the package was not saved");
    state.counters["longest_stall_ms"] = static_cast<double>(dialog.longest);
  }
}

void BM_OpenPackageStall(benchmark::State& state) {
  Project project;
  project.FillChannel();
  {
    MeasuredDialog dialog;
    std::filesystem::remove_all(Root() / "packages");
    std::filesystem::create_directories(Root() / "packages");
    RunSaveFlow(project.context, dialog);
  }
  for (const auto& entry : std::filesystem::directory_iterator(Root() / "packages")) {
    project.op.opened = entry.path();
  }
  for (auto _ : state) {
    MeasuredDialog dialog;
    if (!RunOpenFlow(project.context, dialog)) state.SkipWithError("the package did not open");
    state.counters["longest_stall_ms"] = static_cast<double>(dialog.longest);
  }
}

BENCHMARK(BM_SavePackageStall)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPackageStall)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

}  // namespace
