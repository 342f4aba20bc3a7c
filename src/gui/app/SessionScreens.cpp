#include "gui/app/SessionScreens.h"

#include "gui/app/LoginDlg.h"
#include "gui/app/MainDlg.h"
#include "project/ProjectContext.h"

namespace corvane {

SessionOutcome RunSessionScreens(ProjectContext& context, NestedScreens& screens,
                                 const std::function<bool()>& endRequested,
                                 const std::optional<std::filesystem::path>& package) {
  if (endRequested()) return SessionOutcome::EndedBySystem;
  int login = ChromeDialog::kCancelled;
  {
    CLoginDlg loginScreen(context.session, context.op);
    login = loginScreen.RunModal();
  }
  if (endRequested()) return SessionOutcome::EndedBySystem;
  if (login != ChromeDialog::kConfirmed) return SessionOutcome::LoginCancelled;

  CMainDlg home(context, screens);
  if (package) home.OpenWhenShown(*package);
  home.RunModal();
  return endRequested() ? SessionOutcome::EndedBySystem : SessionOutcome::Left;
}

}  // namespace corvane
