#include "support/StandInProject.h"

namespace corvane::test {

StandInProject::StandInProject()
    : session(FoldersIn(data.Path())),
      context{session, home, op, clock, converter, player, progress, TraceLog::Silent()} {
  CreateSessionFolders(session.Folders);
}

}  // namespace corvane::test
