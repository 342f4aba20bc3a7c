#pragma once
// One run's project as its flows and screens reach it: the session's
// records, the home screen's state, and the world outside behind its seams
// (the operator, the clock, the converter, the player).
// The desktop builds one for the run; tests build one with stand-ins.

#include <cstdint>
#include <functional>
#include <string>

#include "audio/AudioConversion.h"
#include "audio/MediaPlayer.h"
#include "common/Clock.h"
#include "common/Progress.h"
#include "common/TraceLog.h"
#include "operator/Operator.h"
#include "package/PackageStatus.h"
#include "project/SessionState.h"

namespace corvane {

// What the home screen keeps about the project: the device model it is for
// and whether anything changed since the last load or save.
struct HomeState {
  std::int32_t CurrentModel = 2;
  bool SecurityModified = false;
  bool Channel1Modified = false;
  bool Channel2Modified = false;
  bool FileSaved = false;
  bool DayChangeWarned = false;

  void ClearChangeFlags() {
    SecurityModified = Channel1Modified = Channel2Modified = FileSaved = false;
  }
};

// The work a progress dialog runs; it reports through the progress it is given.
using ProgressWork = std::function<PackageStatus(Progress&)>;

// The modal progress dialog of save and open: shows the text, runs the work,
// shows the result and returns the work's status code. A screen, so the home
// screen hands its own to each flow.
class PackageProgressDialog {
 public:
  virtual ~PackageProgressDialog() = default;
  virtual int Run(const std::string& text, const ProgressWork& work) = 0;
};

struct ProjectContext {
  SessionState& session;
  HomeState& home;
  Operator& op;
  const Clock& clock;
  AudioConverter& converter;
  // The one shared player.
  MediaPlayer& player;
  // Where conversions and mixes report; the package work reports to its
  // progress dialog instead.
  Progress& progress;
  // The package readers' diagnostic lines.
  TraceLog trace;
};

}  // namespace corvane
