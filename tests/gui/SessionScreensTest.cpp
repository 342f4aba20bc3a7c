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

TEST_F(SessionScreens, OnlyAnAcceptedLoginLeadsToTheHomeScreenUntilTheOperatorLeaves) {
  Then([](QDialog& login) { Click(Find<CColorButton>(&login, "cancel")); });
  EXPECT_EQ(Run(), SessionOutcome::LoginCancelled);

  Then([this](QDialog& login) {
    Type(Find(&login, "userName"), "tavik");
    Type(Find(&login, "password"), "tavik");
    Then([this](QDialog& homeScreen) {
      op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::Yes);
      auto* file = Find<ActionList>(&homeScreen, "file");
      file->setCurrentIndex(file->findText(CMainDlg::kExitAction));
      PressEnter(file);
    });
    PressEnter(Find(&login, "password"));
  });
  EXPECT_EQ(Run(), SessionOutcome::Left);
  EXPECT_EQ(shown, (std::vector<std::string>{"CLoginDlg", "CLoginDlg", "CMainDlg"}));
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
