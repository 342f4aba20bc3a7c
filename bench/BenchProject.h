#pragma once
// What the benchmarks share: where they keep their files and a project whose
// outside world asks nothing and plays nothing.

#include <cstdlib>
#include <filesystem>

#include "AgreeingOperator.h"
#include "audio/AudioConversion.h"
#include "audio/MediaPlayer.h"
#include "common/Clock.h"
#include "project/ProjectContext.h"

namespace corvane {

// $CORVANE_BENCH_DIR (default: /tmp) / name: measure on the disk users use.
inline std::filesystem::path BenchFolder(const char* name) {
  const char* base = std::getenv("CORVANE_BENCH_DIR");
  return std::filesystem::path(base != nullptr ? base : "/tmp") / name;
}

// The session's folders inside root, the temporary folder made.
inline SessionFolders BenchSessionFolders(const std::filesystem::path& root) {
  SessionFolders folders;
  folders.ApplicationFolder = root;
  folders.TempFolder = (root / "temp").string() + "/";
  folders.ProgramFolder = root / "program";
  std::filesystem::create_directories(folders.TempFolder);
  return folders;
}

template <class Asker = AgreeingOperator>
struct BenchProject {
  explicit BenchProject(const std::filesystem::path& root) : session(BenchSessionFolders(root)) {}

  SessionState session;
  HomeState home;
  Asker op;
  SystemClock clock;
  FfmpegAudioConverter converter;
  NullMediaPlayer player;
  NoProgress progress;
  ProjectContext context{session, home, op, clock, converter, player, progress, TraceLog::Silent()};
};

}  // namespace corvane
