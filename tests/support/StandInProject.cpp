#include "support/StandInProject.h"

namespace corvane::test {

int ImmediateProgressDialog::Run(const std::string& text, const ProgressWork& work) {
  texts.push_back(text);
  NoProgress progress;
  return static_cast<int>(work(progress));
}

StandInProject::StandInProject()
    : session(FoldersIn(data.Path())),
      context{session, home, op, clock, converter, player, progress, TraceLog::Silent()} {
  CreateSessionFolders(session.Folders);
}

}  // namespace corvane::test
