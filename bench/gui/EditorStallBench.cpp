// How long the UI thread goes without handling events while the channel
// editor adds 20 files of 3 minutes each: a 10 ms timer runs meanwhile and
// the longest gap between two of its ticks is the longest stall the
// operator could see. The files are converted for real, into a temporary
// folder under $CORVANE_BENCH_DIR (default: the system's temporary folder).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "BenchProject.h"
#include "gui/StallMeter.h"
#include "audio/MediaPlayer.h"
#include "audio/WaveFormat.h"
#include "common/Clock.h"
#include "gui/app/NestedScreens.h"
#include "gui/channel/ChannelDlg.h"
#include "gui/channel/MediaListBox.h"
#include "session/DeviceModel.h"

namespace {

using namespace corvane;

constexpr int kFiles = 20;
constexpr int kSeconds = 180;
constexpr int kRate = 22050;

// Three minutes of a tone as a 16-bit mono WAV, made once.
QStringList SourceFiles() {
  const auto folder = BenchFolder("corvane-stall-bench") / "sources";
  std::filesystem::create_directories(folder);
  QStringList files;
  for (int i = 0; i < kFiles; ++i) {
    const auto path = folder / ("tone" + std::to_string(i) + ".wav");
    if (!std::filesystem::exists(path)) {
      std::vector<std::int16_t> samples(static_cast<std::size_t>(kRate) * kSeconds);
      for (std::size_t n = 0; n < samples.size(); ++n) {
        samples[n] = static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(n) * (200.0 + 20 * i) * 6.2832 / kRate));
      }
      const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
      const auto header = ProductionHeader(kRate, bytes);
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(header.data()), header.size());
      out.write(reinterpret_cast<const char*>(samples.data()), bytes);
    }
    files << QString::fromStdString(path.string());
  }
  return files;
}

void BM_EditorAddsTwentyFiles(benchmark::State& state) {
  const QStringList sources = SourceFiles();
  const auto root = BenchFolder("corvane-stall-bench");
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(root / "temp");
    BenchProject<> project(root);
    project.session.ApplyModel(ModelNumber(DeviceModel::TonvexSU), true);
    project.session.Channel1.ResetSettings();
    project.session.Channel1.ResetPlaylists();
    project.home.Channel1Modified = true;
    DesktopScreens screens;
    CChannelDlg editor(project.context, screens, 1);
    editor.show();
    QApplication::processEvents();
    state.ResumeTiming();

    const StallMeter stalls;
    emit editor.ListBox(MediaListKind::Messages)->FilesDropped(sources);
    if (editor.Editor().List(MediaListKind::Messages).RowCount() != kFiles) {
      state.SkipWithError("not every file was added");
    }
    state.counters["longest_stall_ms"] = static_cast<double>(stalls.LongestMs());
  }
}
BENCHMARK(BM_EditorAddsTwentyFiles)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);

}  // namespace
