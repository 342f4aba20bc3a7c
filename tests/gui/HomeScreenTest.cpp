// The action lists and, for now, the home screen's way out.
#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

#include "gui/app/MainDlg.h"
#include "gui/chrome/ActionList.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

TEST(GuiActionList, APickActsOnceAndReturnsToThePlaceholderButArrowKeysOnlySelect) {
  ActionList list;
  list.SetActions({"Open", "Exit Application"});
  ASSERT_EQ(list.count(), 3);
  ShowScreen(list);
  QSignalSpy chosen(&list, &ActionList::ActionChosen);
  QTest::keyClick(&list, Qt::Key_Down);
  QTest::keyClick(&list, Qt::Key_Down);
  QCoreApplication::processEvents();
  EXPECT_EQ(list.currentText(), "Exit Application");
  EXPECT_EQ(chosen.count(), 0);
  list.setCurrentIndex(0);

  list.showPopup();
  QAbstractItemView* view = list.view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
  const QRect item = view->visualRect(list.model()->index(1, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
  QTRY_COMPARE(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toString(), "Open");
  EXPECT_EQ(list.currentIndex(), 0);

  // Dismissed without a pick, or acting on the placeholder: nothing happens.
  list.showPopup();
  list.hidePopup();
  QCoreApplication::processEvents();
  list.ActOnSelection();
  EXPECT_EQ(chosen.count(), 1);
}

class GuiHomeScreen : public ScreenTest {
 protected:
  static void PickExit(CMainDlg& homeScreen) {
    auto* file = Find<ActionList>(&homeScreen, "file");
    file->setCurrentIndex(file->findText(CMainDlg::kExitAction));
    PressEnter(file);
  }
};

// Exit stops the preview before it asks, whatever the answer; closing the
// window asks the same question and leaves the preview playing.
TEST_F(GuiHomeScreen, ExitOrClosingAsksFirstAndLeavesOnlyOnYes) {
  for (const bool close : {false, true}) {
    CMainDlg homeScreen(context, screens);
    ShowScreen(homeScreen);
    auto* file = Find<ActionList>(&homeScreen, "file");
    for (const OperatorAnswer answer : {OperatorAnswer::No, OperatorAnswer::Yes}) {
      player.PlayFile("output.wav");
      op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", answer);
      if (close) {
        homeScreen.close();
      } else {
        PickExit(homeScreen);
      }
      EXPECT_EQ(player.IsPlaying(), close);
      EXPECT_EQ(homeScreen.isVisible(), answer == OperatorAnswer::No);
      EXPECT_EQ(file->currentText(), "...");
    }
    EXPECT_EQ(homeScreen.result(), ChromeDialog::kConfirmed);
  }
}

// Escape and Enter on the placeholder are the chrome's and the list's, tested
// with them; which button Enter presses is the screen's own.
TEST_F(GuiHomeScreen, EnterOnHelpOpensItOverTheHomeScreen) {
  CMainDlg homeScreen(context, screens);
  ShowScreen(homeScreen);
  PressEnter(Find(&homeScreen, "help"));
  EXPECT_EQ(screens.opened, (decltype(screens.opened){{"help", &homeScreen}}));
  EXPECT_TRUE(homeScreen.isVisible());
}

}  // namespace
}  // namespace corvane::test
