#include "gui/app/SessionScreens.h"

#include "gui/app/LoginDlg.h"
#include "gui/app/MainDlg.h"

namespace corvane {

SessionOutcome RunSessionScreens(SessionState& session, Operator& op,
                                 const std::function<bool()>& endRequested) {
  if (endRequested()) return SessionOutcome::EndedBySystem;
  int login = ChromeDialog::kCancelled;
  {
    CLoginDlg loginScreen(session, op);
    login = loginScreen.RunModal();
  }
  if (endRequested()) return SessionOutcome::EndedBySystem;
  if (login != ChromeDialog::kConfirmed) return SessionOutcome::LoginCancelled;

  CMainDlg home(op);
  home.RunModal();
  return endRequested() ? SessionOutcome::EndedBySystem : SessionOutcome::Left;
}

}  // namespace corvane
