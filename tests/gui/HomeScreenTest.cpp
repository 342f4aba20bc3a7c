// The action lists and, for now, the home screen's way out.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "audio/AudioDecoder.h"
#include "core/audio/AudioSignals.h"
#include "gui/app/MainDlg.h"
#include "gui/chrome/ActionList.h"
#include "package/SecuritySettingsFile.h"
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

void Pick(ActionList* list, const char* entry) {
  const int index = list->findText(QString::fromLatin1(entry));
  ASSERT_GE(index, 0) << entry;
  list->setCurrentIndex(index);
  PressEnter(list);
}

TEST_F(GuiHomeScreen, TheDeviceListChangesTheOtherListsAndTheSummary) {
  // MOH mode as the login stored it: a device change reloads it.
  session.Security.MohMode = true;
  ASSERT_TRUE(SaveSecuritySettings(session.Security, session.Folders.ApplicationFolder, false));
  CMainDlg homeScreen(context, screens);
  ShowScreen(homeScreen);
  auto* device = Find<QComboBox>(&homeScreen, "device");
  auto* configure = Find<ActionList>(&homeScreen, "configure");
  EXPECT_EQ(device->currentText(), "Tonvex-One");
  EXPECT_EQ(configure->count(), 3);  // "...", "Media Security", "Media/Messages"
  EXPECT_EQ(Find<QLabel>(&homeScreen, "channel1Label")->text(), "Media/Messages:");
  EXPECT_FALSE(Find<QLabel>(&homeScreen, "channel2Value")->isVisibleTo(&homeScreen));

  // The editor confirmed: the channel shows as modified and a device change asks.
  Pick(configure, "Media/Messages");
  EXPECT_EQ(screens.opened.back(), std::make_pair(std::string("channel 0"), static_cast<QWidget*>(&homeScreen)));
  EXPECT_TRUE(homeScreen.isVisible());
  EXPECT_EQ(Find<QLabel>(&homeScreen, "channel1Value")->text(), "Modified");
  Pick(configure, "Media Security");
  EXPECT_EQ(Find<QLabel>(&homeScreen, "mediaSecurityValue")->text(), "Modified");
  device->setCurrentIndex(0);
  op.ExpectQuestion("Changing Device", "Abandon changes?", OperatorAnswer::No);
  PressEnter(device);
  EXPECT_EQ(device->currentText(), "Tonvex-One");
  device->setCurrentIndex(0);
  op.ExpectQuestion("Changing Device", "Abandon changes?", OperatorAnswer::Yes);
  PressEnter(device);
  EXPECT_EQ(home.CurrentModel, 1);
  EXPECT_EQ(configure->itemText(2), "Channel 1 Media/Messages");
  EXPECT_EQ(Find<QLabel>(&homeScreen, "channel1Label")->text(), "Channel 1:");
  EXPECT_TRUE(Find<QLabel>(&homeScreen, "channel2Value")->isVisibleTo(&homeScreen));
  EXPECT_EQ(Find<QLabel>(&homeScreen, "channel1Value")->text(), "Not Modified");
}

TEST_F(GuiHomeScreen, AProductionIsMixedOffTheUiThreadThenPlayed) {
  CMainDlg homeScreen(context, screens);
  ShowScreen(homeScreen);
  auto* device = Find<QComboBox>(&homeScreen, "device");
  device->setCurrentIndex(2);  // Tonvex-Mix
  PressEnter(device);
  const std::filesystem::path temp = session.Folders.TempFolder;
  WriteAudio(temp / "tone.ogg", "libvorbis", 22050, Sine(440, 22050, 2.0));
  session.Channel1.Music.entries = {{"00:00:02", "tone.ogg"}};
  session.Channel1.Music.Media_Duration = 2;
  home.Channel1Modified = true;
  auto* bar = Find<QProgressBar>(&homeScreen, "workProgress");
  // Posted from the mixing thread; handled only if the UI thread is free.
  bool handledWhileMixing = false;
  player.onStop = [&] {
    QMetaObject::invokeMethod(
        &homeScreen, [&] { handledWhileMixing = bar->isVisible(); }, Qt::QueuedConnection);
  };
  player.log.clear();
  Pick(Find<ActionList>(&homeScreen, "file"), "Preview Audio Production");
  EXPECT_TRUE(handledWhileMixing);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(player.playing, (temp / "output.wav").string());

  // Disabling the lists meanwhile picked nothing a second time.
  EXPECT_EQ(player.log, (std::vector<std::string>{"stop", "play " + (temp / "output.wav").string()}));
  EXPECT_TRUE(Find<QWidget>(&homeScreen, "file")->isEnabled());

  // Heard as a caller hears it: the production through the telephone line.
  Click(Find<QAbstractButton>(&homeScreen, "telephonePreview"));
  Pick(Find<ActionList>(&homeScreen, "file"), "Preview Audio Production");
  EXPECT_EQ(player.playing, (temp / "telephone.wav").string());
  EXPECT_EQ(ProbeAudioFile(temp / "telephone.wav")->sampleRate, 8000);
}

}  // namespace
}  // namespace corvane::test
