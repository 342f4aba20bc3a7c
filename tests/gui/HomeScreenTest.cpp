// The action lists and, for now, the home screen's way out.
#include <QAbstractItemView>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "gui/app/AboutDlg.h"
#include "gui/app/MainDlg.h"
#include "gui/chrome/ActionList.h"
#include "gui/chrome/ColorButton.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

TEST(GuiActionList, APickActsOnceAndReturnsToThePlaceholderButArrowKeysOnlySelect) {
  ActionList list;
  list.SetActions({"Open", "Exit Application"});
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list.currentText(), "...");
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
  static void PickExit(CMainDlg& home) {
    auto* file = Find<ActionList>(&home, "file");
    file->setCurrentIndex(file->findText(CMainDlg::kExitAction));
    PressEnter(file);
  }
};

TEST_F(GuiHomeScreen, ExitOrClosingAsksFirstAndLeavesOnlyOnYes) {
  for (const bool close : {false, true}) {
    CMainDlg home(op);
    ShowScreen(home);
    auto* file = Find<ActionList>(&home, "file");
    for (const OperatorAnswer answer : {OperatorAnswer::No, OperatorAnswer::Yes}) {
      op.ExpectQuestion("Exit Corvane", "Are you sure you want to exit?", answer);
      if (close) {
        home.close();
      } else {
        PickExit(home);
      }
      EXPECT_EQ(home.isVisible(), answer == OperatorAnswer::No);
      EXPECT_EQ(file->currentText(), "...");
      EXPECT_EQ(op.History().back().icon, OperatorIcon::Information);
      EXPECT_EQ(op.History().back().buttons, OperatorButtons::YesNo);
    }
    EXPECT_EQ(home.result(), ChromeDialog::kConfirmed);
  }
}

TEST_F(GuiHomeScreen, EscapeAndEnterOnThePlaceholderDoNothingEnterOnHelpOpensIt) {
  CMainDlg home(op);
  ShowScreen(home);
  PressEscape(Find(&home, "file"));
  PressEscape(Find(&home, "help"));
  PressEnter(Find(&home, "file"));  // "..." selected
  EXPECT_TRUE(home.isVisible());
  EXPECT_TRUE(op.History().empty());

  WhenScreenOpens([](QDialog& help) {
    EXPECT_NE(qobject_cast<CAboutDlg*>(&help), nullptr);
    Click(Find<CColorButton>(&help, "ok"));
  });
  PressEnter(Find(&home, "help"));
  EXPECT_TRUE(ScreenWasDriven());
  EXPECT_TRUE(home.isVisible());
}

}  // namespace
}  // namespace corvane::test
