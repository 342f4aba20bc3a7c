#pragma once
// The start-up and end steps of a session that need no screen.

#include "project/SessionState.h"
#include "session/InstanceLock.h"

namespace corvane {

enum class StartResult {
  Started,
  AlreadyRunning,  // another copy holds the lock: end at once, silently, with code 0
};

// Takes the single-instance lock, zeroes the configuration record, creates and
// empties the temporary folder, loads channel 1 and the audio settings of the
// start-up model (Tonvex-One), the security settings and the loudness
// preference, each falling back to its defaults.
StartResult StartSession(SessionState& session, InstanceLock& lock);

// Empties the temporary folder and gives the process exit code (always 0).
int EndSession(SessionState& session);

}  // namespace corvane
