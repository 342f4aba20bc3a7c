// "Audio Recorder" driven through its buttons: which buttons each state
// shows, the hour that ends a take by itself, and the questions on the way.
#include "gui/audio/RecordDlg.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

#include "audio/WaveFormat.h"
#include "core/audio/AudioSignals.h"
#include "support/ScreenTest.h"
#include "support/ScriptedAudioInput.h"

namespace corvane::test {
namespace {

class GuiRecorder : public ScreenTest {
 protected:
  std::unique_ptr<CRecordDlg> OpenRecorder(std::int32_t limitSeconds = RecorderEngine::kLimitSeconds) {
    auto screen = std::make_unique<CRecordDlg>(input, player, op, work, nullptr, limitSeconds);
    EXPECT_TRUE(screen->Open());
    ShowScreen(*screen);
    return screen;
  }
  // Shown and enabled, in the order Record, Stop Recording, Play, Stop Playing.
  static std::string Buttons(const CRecordDlg& screen) {
    std::string seen;
    for (const char* name : {"record", "stopRecording", "play", "stopPlaying"}) {
      const auto* button = Find<QAbstractButton>(&screen, name);
      seen += !button->isVisible() ? '-' : button->isEnabled() ? 'E' : 'd';
    }
    return seen;
  }
  void Ticks(CRecordDlg& screen, int count, std::int16_t value) {
    for (int i = 0; i < count; ++i) {
      input.blocks.push_back(Constant(value, kMeterBlockSamples));
      screen.RecordTick();
    }
  }
  static QString Shown(const CRecordDlg& screen, const char* name) {
    return Find<QLabel>(&screen, name)->text();
  }

  ScriptedAudioInput input;
  std::filesystem::path work = RecorderWorkFile(session.Folders.ApplicationFolder);
};

TEST_F(GuiRecorder, EachStateShowsItsButtonsAndTheMeterFollowsTheInput) {
  auto screen = OpenRecorder();
  auto* devices = Find<QComboBox>(screen.get(), "inputSource");
  EXPECT_EQ(devices->count(), 2);
  EXPECT_EQ(devices->currentText(), "Microphone");
  EXPECT_EQ(Buttons(*screen), "E-d-");  // idle, nothing recorded
  EXPECT_EQ(Shown(*screen, "elapsed"), "00:00:00");

  devices->setCurrentIndex(1);
  Click(Find<QAbstractButton>(screen.get(), "record"));
  EXPECT_EQ(input.started, std::vector<std::size_t>{1});
  EXPECT_EQ(Buttons(*screen), "-Ed-");  // recording
  EXPECT_FALSE(devices->isEnabled());
  EXPECT_TRUE(screen->Recording());
  Ticks(*screen, 25, 8192);
  EXPECT_EQ(Shown(*screen, "elapsed"), "00:00:02");
  EXPECT_EQ(Find<QProgressBar>(screen.get(), "inputLevel")->value(), 50);

  Click(Find<QAbstractButton>(screen.get(), "stopRecording"));
  EXPECT_FALSE(screen->Recording());
  EXPECT_EQ(Find<QProgressBar>(screen.get(), "inputLevel")->value(), 0);
  EXPECT_EQ(Buttons(*screen), "E-E-");  // idle with a take
  EXPECT_TRUE(devices->isEnabled());

  Click(Find<QAbstractButton>(screen.get(), "play"));
  EXPECT_EQ(player.playing, work.string());
  EXPECT_EQ(Buttons(*screen), "d--E");  // playing
  EXPECT_TRUE(screen->WaitingForPlayer());
  screen->PlayTick();
  EXPECT_EQ(Buttons(*screen), "d--E");  // still playing
  player.playing.clear();               // the take came to its end
  screen->PlayTick();
  EXPECT_EQ(Buttons(*screen), "E-E-");
  EXPECT_FALSE(screen->WaitingForPlayer());

  Click(Find<QAbstractButton>(screen.get(), "play"));
  Click(Find<QAbstractButton>(screen.get(), "stopPlaying"));
  EXPECT_EQ(player.playing, "");
  EXPECT_EQ(Buttons(*screen), "E-E-");
  EXPECT_EQ(UnnamedControls(*screen), QStringList());
}

TEST_F(GuiRecorder, RecordingAgainAsksBeforeTheTakeIsLost) {
  auto screen = OpenRecorder();
  Click(Find<QAbstractButton>(screen.get(), "record"));
  Ticks(*screen, 12, 100);
  Click(Find<QAbstractButton>(screen.get(), "stopRecording"));
  const auto take = ReadWholeFile(work);

  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::No);
  Click(Find<QAbstractButton>(screen.get(), "record"));
  EXPECT_EQ(Shown(*screen, "elapsed"), "00:00:01");
  EXPECT_EQ(ReadWholeFile(work), take);
  EXPECT_EQ(input.started.size(), 1u);

  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
  Click(Find<QAbstractButton>(screen.get(), "record"));
  EXPECT_EQ(Shown(*screen, "elapsed"), "00:00:00");
  EXPECT_EQ(Buttons(*screen), "-Ed-");
}

TEST_F(GuiRecorder, AnHourEndsTheTakeByItselfAndTheSavedFileHoldsTheHour) {
  auto screen = OpenRecorder();
  Click(Find<QAbstractButton>(screen.get(), "record"));
  Ticks(*screen, 36000 - 1, 1);
  EXPECT_TRUE(screen->Recording());
  Ticks(*screen, 1, 1);
  EXPECT_FALSE(screen->Recording());
  EXPECT_FALSE(input.running);
  screen->RecordTick();  // a tick already queued counts nothing
  EXPECT_EQ(Shown(*screen, "elapsed"), "01:00:00");
  EXPECT_EQ(Buttons(*screen), "E-E-");

  const auto saved = data / "hour.wav";
  op.ExpectSaveFile(saved);
  Click(Find<QAbstractButton>(screen.get(), "save"));
  EXPECT_EQ(screen->result(), ChromeDialog::kConfirmed);
  EXPECT_EQ(screen->RecordingPath(), saved);
  const auto bytes = ReadWholeFile(saved);
  const std::uint32_t hour = 3600u * kCaptureRate * 2;
  EXPECT_EQ(bytes.size(), kProductionHeaderSize + hour);
}

TEST_F(GuiRecorder, WithoutAnInputDeviceTheRecorderSaysSoAndAddsNothing) {
  // The tests reach no sound server: the desktop's real input finds nothing.
  op.ExpectMessage("Record Error", "No available recording devices.");
  DesktopScreens desktop;
  EXPECT_EQ(desktop.RecordAudioFile(nullptr, context), std::nullopt);
}

TEST_F(GuiRecorder, ClosingWhileRecordingStopsTheCaptureAndAsks) {
  auto screen = OpenRecorder();
  Click(Find<QAbstractButton>(screen.get(), "record"));
  Ticks(*screen, 5, 300);
  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::No);
  screen->close();
  EXPECT_TRUE(screen->isVisible());
  EXPECT_FALSE(input.running);
  EXPECT_EQ(Buttons(*screen), "E-E-");  // the take was kept

  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
  Click(Find<QAbstractButton>(screen.get(), "cancel"));
  EXPECT_EQ(screen->result(), ChromeDialog::kCancelled);
  EXPECT_FALSE(std::filesystem::exists(work));
}

}  // namespace
}  // namespace corvane::test
