#include "gui/app/Application.h"

#include "session/SessionRun.h"

namespace corvane {

int RunApplication(int /*argc*/, char** /*argv*/) {
  SessionState& session = CurrentSession();
  InstanceLock lock;
  if (StartSession(session, lock) == StartResult::AlreadyRunning) return 0;
  return EndSession(session);
}

}  // namespace corvane
