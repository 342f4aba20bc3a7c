// The action lists and, for now, the home screen's way out.
#include <QLabel>
#include <QAbstractItemView>
#include <QSignalSpy>
#include <QTest>

#include "gui/app/MainDlg.h"
#include "gui/chrome/ActionList.h"
#include "gui/chrome/ColorButton.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

TEST(GuiActionList, ActsOnceOnAPickAndReturnsToThePlaceholder) {
  ActionList list;
  list.SetActions({"Open", "Exit Application"});
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.itemText(0), "...");
  EXPECT_EQ(list.currentText(), "...");
  QSignalSpy chosen(&list, &ActionList::ActionChosen);

  list.setCurrentIndex(2);
  list.ActOnSelection();
  ASSERT_EQ(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toString(), "Exit Application");
  EXPECT_EQ(list.currentIndex(), 0);

  list.ActOnSelection();  // the placeholder does nothing
  EXPECT_EQ(chosen.count(), 1);
}

TEST(GuiActionList, ArrowKeysOnAClosedListOnlySelect) {
  ActionList list;
  list.SetActions({"Open", "Exit Application"});
  ShowScreen(list);
  QSignalSpy chosen(&list, &ActionList::ActionChosen);
  QTest::keyClick(&list, Qt::Key_Down);
  QTest::keyClick(&list, Qt::Key_Down);
  QCoreApplication::processEvents();
  EXPECT_EQ(list.currentText(), "Exit Application");
  EXPECT_EQ(chosen.count(), 0);
}

TEST(GuiActionList, ClosingTheDropDownOnAnEntryActsOnIt) {
  ActionList list;
  list.SetActions({"Open", "Exit Application"});
  ShowScreen(list);
  QSignalSpy chosen(&list, &ActionList::ActionChosen);

  list.showPopup();
  QAbstractItemView* view = list.view();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
  const QRect item = view->visualRect(list.model()->index(1, 0));
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
  QTRY_COMPARE(chosen.count(), 1);
  EXPECT_EQ(chosen[0][0].toString(), "Open");
  EXPECT_EQ(list.currentIndex(), 0);

  // Dismissed without a pick: nothing happens.
  list.showPopup();
  list.hidePopup();
  QCoreApplication::processEvents();
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

TEST_F(GuiHomeScreen, ExitAsksFirstAndLeavesOnlyOnYes) {
  CMainDlg homeScreen(context, screens);
  ShowScreen(homeScreen);
  auto* file = Find<ActionList>(&homeScreen, "file");
  EXPECT_EQ(file->itemText(0), "...");

  op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::No);
  PickExit(homeScreen);
  EXPECT_TRUE(homeScreen.isVisible());
  EXPECT_EQ(file->currentText(), "...");
  EXPECT_EQ(op.History().back().icon, OperatorIcon::Information);
  EXPECT_EQ(op.History().back().buttons, OperatorButtons::YesNo);

  op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::Yes);
  PickExit(homeScreen);
  EXPECT_FALSE(homeScreen.isVisible());
  EXPECT_EQ(homeScreen.result(), ChromeDialog::kConfirmed);
}

TEST_F(GuiHomeScreen, ExitStopsThePreviewBeforeAskingButClosingTheWindowLeavesItPlaying) {
  CMainDlg homeScreen(context, screens);
  ShowScreen(homeScreen);
  player.PlayFile("output.wav");
  op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::No);
  homeScreen.close();
  EXPECT_TRUE(player.IsPlaying());

  op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::No);
  PickExit(homeScreen);
  EXPECT_FALSE(player.IsPlaying());
  EXPECT_EQ(player.log, (std::vector<std::string>{"play output.wav", "stop"}));
}

TEST_F(GuiHomeScreen, ClosingTheWindowAsksTheSameQuestion) {
  CMainDlg homeScreen(context, screens);
  ShowScreen(homeScreen);
  op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::No);
  homeScreen.close();
  EXPECT_TRUE(homeScreen.isVisible());
  op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", OperatorAnswer::Yes);
  homeScreen.close();
  EXPECT_FALSE(homeScreen.isVisible());
  EXPECT_EQ(homeScreen.result(), ChromeDialog::kConfirmed);
}

TEST_F(GuiHomeScreen, EscapeAndEnterOnThePlaceholderDoNothingEnterOnHelpOpensIt) {
  CMainDlg homeScreen(context, screens);
  ShowScreen(homeScreen);
  PressEscape(Find(&homeScreen, "file"));
  PressEscape(Find(&homeScreen, "help"));
  PressEnter(Find(&homeScreen, "file"));  // "..." selected
  EXPECT_TRUE(homeScreen.isVisible());
  EXPECT_TRUE(op.History().empty());

  screens.When("help", [&](QWidget* parent) { EXPECT_EQ(parent, &homeScreen); });
  PressEnter(Find(&homeScreen, "help"));
  EXPECT_EQ(screens.Opened(), std::vector<std::string>{"help"});
  EXPECT_TRUE(homeScreen.isVisible());
}

}  // namespace
}  // namespace corvane::test
