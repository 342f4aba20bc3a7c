// "Sampling Rates / Output Format": what it shows for the stored settings,
// what OK stores and applies, the lock while channel 1 holds files.
#include <QAbstractButton>
#include <QComboBox>
#include <QSpinBox>

#include "audio/AudioSettings.h"
#include "gui/audio/ChangeSamplingRateDlg.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

class GuiSamplingRates : public ScreenTest {};

TEST_F(GuiSamplingRates, OkStoresWhatTheListsOfferAndAppliesIt) {
  session.ApplyModel(3, true);  // Tonvex-Mix
  session.Audio.OutputCodec.Set("libmp3lame");
  CChangeSamplingRateDlg screen(session, op, false);
  ShowScreen(screen);
  EXPECT_EQ(Find<QComboBox>(&screen, "codec")->currentText(), "WAV/PCM 16 Bit");
  EXPECT_EQ(Find<QComboBox>(&screen, "projectRate")->currentText(), "22050");
  Find<QComboBox>(&screen, "outputRate")->setCurrentIndex(0);
  Find<QSpinBox>(&screen, "maxMinutes")->setValue(60);
  Click(Find<QAbstractButton>(&screen, "ok"));
  EXPECT_EQ(screen.result(), ChromeDialog::kConfirmed);
  EXPECT_EQ(session.Audio.OutputRate, 8000);
  EXPECT_EQ(session.Audio.OutputCodec.View(), "pcm_s16le");
  EXPECT_EQ(session.Audio.MaxLength, 3600);
  ST_AUDIO_TYPE stored;
  ASSERT_TRUE(LoadAudioSettings(stored, session.Folders.ApplicationFolder, 3));
  EXPECT_EQ(AudioSettingsOf(stored), AudioSettingsOf(session.Audio));
}

TEST_F(GuiSamplingRates, LockedWhileChannelOneHoldsFilesAndCancelChangesNothing) {
  session.ApplyModel(3, true);
  const AudioSettings before = AudioSettingsOf(session.Audio);
  CChangeSamplingRateDlg screen(session, op, true);
  ShowScreen(screen);
  EXPECT_FALSE(Find<QComboBox>(&screen, "projectRate")->isEnabled());
  EXPECT_FALSE(Find<QSpinBox>(&screen, "maxMinutes")->isEnabled());
  EXPECT_FALSE(Find<QWidget>(&screen, "loadDefaults")->isEnabled());
  Find<QComboBox>(&screen, "outputRate")->setCurrentIndex(7);
  PressEscape(Find<QComboBox>(&screen, "outputRate"));
  EXPECT_TRUE(screen.isVisible());
  Click(Find<QAbstractButton>(&screen, "cancel"));
  EXPECT_NE(screen.result(), ChromeDialog::kConfirmed);
  EXPECT_EQ(AudioSettingsOf(session.Audio), before);
  EXPECT_FALSE(std::filesystem::exists(AudioSettingsPath(session.Folders.ApplicationFolder, 3)));
}

TEST_F(GuiSamplingRates, AFailedWriteIsToldAndTheValuesStillApply) {
  session.ApplyModel(3, true);
  std::filesystem::create_directories(AudioSettingsPath(session.Folders.ApplicationFolder, 3) / "x");
  CChangeSamplingRateDlg screen(session, op, false);
  ShowScreen(screen);
  Find<QComboBox>(&screen, "projectRate")->setCurrentIndex(6);
  op.ExpectMessage("Write Error", "Failed to save audio settings.");
  Click(Find<QAbstractButton>(&screen, "ok"));
  EXPECT_EQ(session.Audio.ProjectRate, 44100);
}

}  // namespace
}  // namespace corvane::test
