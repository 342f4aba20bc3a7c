// One tick of the channel editor (labels, the play-time check, schedule sync
// and the player's status) with 1,000 music rows, 1,000 message rows, 10
// scheduled rows and 2,000 files in the temporary folder, in both ways of
// accounting: Tonvex-SU counts the folder's bytes, Tonvex-One the lists'
// play time. Also the check after an addition, which walks the folder in
// storage accounting. Files live under $CORVANE_BENCH_DIR (default: the
// system's temporary folder).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "audio/AudioConversion.h"
#include "audio/MediaPlayer.h"
#include "common/Clock.h"
#include "project/ChannelEditor.h"
#include "session/DeviceModel.h"
#include "BenchProject.h"

namespace {

using namespace corvane;

constexpr int kRows = 1000;
constexpr int kScheduledRows = 10;
constexpr int kFiles = 2000;

// Built piece by piece: GCC 12 at -O3 warns falsely on "f" + to_string + ".ogg".
std::string FileName(int number) {
  std::string name = "f";
  name += std::to_string(number);
  name += ".ogg";
  return name;
}

// A session whose temporary folder holds the files, with channel 1 holding
// the rows, opened in an editor.
struct EditorBench : BenchProject<> {
  explicit EditorBench(DeviceModel model) : BenchProject(BenchFolder("corvane-editor-bench")) {
    for (int i = 0; i < kFiles; ++i) {
      const auto file = std::filesystem::path(session.Folders.TempFolder) / FileName(i);
      if (!std::filesystem::exists(file)) std::ofstream(file) << std::string(4096, 'x');
    }
    session.ApplyModel(ModelNumber(model), true);
    ChannelConfig& channel = session.Channel1;
    channel.ResetSettings();
    channel.ResetPlaylists();
    for (int i = 0; i < kRows; ++i) {
      channel.Music.entries.push_back(EntryFor(180, FileName(i)));
      channel.Messages.entries.push_back(EntryFor(20, FileName(kRows + i)));
    }
    for (int i = 0; i < kScheduledRows; ++i) {
      channel.Scheduled.AddEntry(EntryFor(20, FileName(i)), 600, 0x1C011F3E);
    }
    channel.Music.Media_Duration = TotalDuration(channel.Music.entries);
    channel.Messages.Media_Duration = TotalDuration(channel.Messages.entries);
    home.Channel1Modified = true;  // no default music
    editor = std::make_unique<ChannelEditor>(context, 1);
    editor->Open();
  }
  std::unique_ptr<ChannelEditor> editor;
};

void BM_EditorTick(benchmark::State& state, DeviceModel model) {
  EditorBench bench(model);
  for (auto _ : state) benchmark::DoNotOptimize(bench.editor->Tick());
}

void BM_CheckAfterAddition(benchmark::State& state, DeviceModel model) {
  EditorBench bench(model);
  for (auto _ : state) {
    benchmark::DoNotOptimize(bench.editor->Account().IsOverCapacity(
        bench.editor->FiguresForCheck(), 20, PlayTimeList::Messages));
  }
}

BENCHMARK_CAPTURE(BM_EditorTick, storage_SU, DeviceModel::TonvexSU)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_EditorTick, time_One, DeviceModel::TonvexOne)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CheckAfterAddition, storage_SU, DeviceModel::TonvexSU)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
