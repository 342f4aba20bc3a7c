// How long the UI thread goes without handling events while the channel
// editor adds 20 files of 3 minutes each: a 10 ms timer runs meanwhile and
// the longest gap between two of its ticks is the longest stall the
// operator could see. The files are converted for real, into a temporary
// folder under $CORVANE_BENCH_DIR (default: the system's temporary folder).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "AgreeingOperator.h"
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

std::filesystem::path BenchFolder() {
  const char* base = std::getenv("CORVANE_BENCH_DIR");
  return std::filesystem::path(base != nullptr ? base : "/tmp") / "corvane-stall-bench";
}

// Three minutes of a tone as a 16-bit mono WAV, made once.
QStringList SourceFiles() {
  const auto folder = BenchFolder() / "sources";
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
  SessionFolders folders;
  folders.ApplicationFolder = BenchFolder();
  folders.TempFolder = (BenchFolder() / "temp").string() + "/";
  folders.ProgramFolder = BenchFolder() / "program";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(folders.TempFolder);
    std::filesystem::create_directories(folders.TempFolder);
    SessionState session(folders);
    session.ApplyModel(ModelNumber(DeviceModel::TonvexSU), true);
    session.Channel1.ResetSettings();
    session.Channel1.ResetPlaylists();
    HomeState home;
    home.Channel1Modified = true;
    AgreeingOperator op;
    SystemClock clock;
    FfmpegAudioConverter converter;
    NullMediaPlayer player;
    NoProgress progress;
    ProjectContext context{session, home, op, clock, converter, player, progress, TraceLog::Silent()};
    DesktopScreens screens;
    CChannelDlg editor(context, screens, 1);
    editor.show();
    QApplication::processEvents();
    state.ResumeTiming();

    QElapsedTimer clockSinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      longest = std::max(longest, clockSinceTick.restart());
    });
    clockSinceTick.start();
    ticker.start();
    emit editor.ListBox(MediaListKind::Messages)->FilesDropped(sources);
    ticker.stop();
    if (editor.Editor().List(MediaListKind::Messages).RowCount() != kFiles) {
      state.SkipWithError("not every file was added");
    }
    state.counters["longest_stall_ms"] = static_cast<double>(longest);
  }
}
BENCHMARK(BM_EditorAddsTwentyFiles)->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);

}  // namespace
