// The order of a session's screens.
#include <QLineEdit>
#include <vector>

#include "gui/app/LoginDlg.h"
#include "gui/app/MainDlg.h"
#include "gui/app/SessionScreens.h"
#include "gui/chrome/ActionList.h"
#include "gui/chrome/ColorButton.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

class SessionScreens : public ScreenTest {
 protected:
  SessionOutcome Run() {
    return RunSessionScreens(context, ScreenTest::screens, [this] { return endRequested; });
  }
  // Records each screen by name, then lets the step drive it.
  void Then(std::function<void(QDialog&)> step) {
    WhenScreenOpens([this, step = std::move(step)](QDialog& screen) {
      shown.push_back(screen.objectName().toStdString());
      step(screen);
    });
  }

  bool endRequested = false;
  std::vector<std::string> shown;
};

TEST_F(SessionScreens, ACancelledOrClosedLoginNeverShowsTheHomeScreen) {
  Then([](QDialog& login) { Click(Find<CColorButton>(&login, "cancel")); });
  EXPECT_EQ(Run(), SessionOutcome::LoginCancelled);
  Then([](QDialog& login) { login.close(); });
  EXPECT_EQ(Run(), SessionOutcome::LoginCancelled);
  EXPECT_EQ(shown, (std::vector<std::string>{"CLoginDlg", "CLoginDlg"}));
}

TEST_F(SessionScreens,
       AnAcceptedLoginLeadsToTheHomeScreenUntilTheOperatorLeavesEvenAfterAPasswordChange) {
  WhenScreenOpensKeepIt([this](QDialog& login) {
    shown.push_back(login.objectName().toStdString());
    Then([](QDialog& changePassword) { Click(Find<CColorButton>(&changePassword, "cancel")); });
    Click(Find<CColorButton>(&login, "changePassword"));
    // Back on the login screen; the operator goes on from there later.
    Then([this](QDialog& loginAgain) {
      Type(Find(&loginAgain, "userName"), "tavik");
      Type(Find(&loginAgain, "password"), "tavik");
      Then([this](QDialog& homeScreen) {
        op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::Yes);
        auto* file = Find<ActionList>(&homeScreen, "file");
        file->setCurrentIndex(file->findText(CMainDlg::kExitAction));
        PressEnter(file);
      });
      PressEnter(Find(&loginAgain, "password"));
    });
  });
  EXPECT_EQ(Run(), SessionOutcome::Left);
  EXPECT_EQ(shown,
            (std::vector<std::string>{"CLoginDlg", "CChangePasswordDlg", "CLoginDlg", "CMainDlg"}));
}

TEST_F(SessionScreens, AnEndBySystemBeforeOrDuringTheLoginSkipsTheRest) {
  endRequested = true;
  EXPECT_EQ(Run(), SessionOutcome::EndedBySystem);
  EXPECT_TRUE(shown.empty());

  endRequested = false;
  Then([this](QDialog& login) {
    endRequested = true;
    login.done(ChromeDialog::kConfirmed);  // however the screen ended, the run is over
  });
  EXPECT_EQ(Run(), SessionOutcome::EndedBySystem);
  EXPECT_EQ(shown, std::vector<std::string>{"CLoginDlg"});
}

}  // namespace
}  // namespace corvane::test
