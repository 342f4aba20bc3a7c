// Recording and playing through real Qt Multimedia devices, on a private
// sound server with virtual devices: a tone source to record from and a
// null sink whose monitor hears what was played.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>

#include "audio/ProductionFile.h"
#include "audio/WaveFormat.h"
#include "core/audio/AudioSignals.h"
#include "gui/app/Application.h"
#include "gui/audio/QtAudioInput.h"
#include "gui/audio/QtMediaPlayer.h"
#include "gui/audio/RecordDlg.h"
#include "sound/PrivateSoundServer.h"
#include "support/ScreenDriver.h"
#include "support/StandInProject.h"

namespace corvane::test {
namespace {

PrivateSoundServer* gServer = nullptr;

#define SKIP_WITHOUT_SOUND_SERVER()                                                   \
  if (!gServer->Running())                                                            \
  GTEST_SKIP() << "No private sound server could start, so no device to test with: " \
               << gServer->Failure()

// Lets the event loop run, as the operator waiting would.
void Wait(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) QTest::qWait(20);
}

// The pitch of a tone, from how often it rises through zero.
double Pitch(std::span<const std::int16_t> samples, int rate) {
  int rises = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) rises += samples[i - 1] < 0 && samples[i] >= 0;
  return rises * static_cast<double>(rate) / static_cast<double>(samples.size());
}

TEST(SoundDevice, TheRecorderScreenRecordsTheToneAndSavesItInTheCaptureFormat) {
  SKIP_WITHOUT_SOUND_SERVER();
  StandInProject project;
  QtAudioInput input;
  QtMediaPlayer player;
  CRecordDlg screen(input, player, project.op, RecorderWorkFile(project.session.Folders.ApplicationFolder));
  ASSERT_TRUE(screen.Open());
  ShowScreen(screen);
  auto* devices = Find<QComboBox>(&screen, "inputSource");
  devices->setCurrentIndex(devices->findText(PrivateSoundServer::kToneSource));
  ASSERT_GE(devices->currentIndex(), 0);

  QElapsedTimer recording;
  recording.start();
  Click(Find<QAbstractButton>(&screen, "record"));
  ASSERT_TRUE(screen.Recording());
  Wait(2000);
  Click(Find<QAbstractButton>(&screen, "stopRecording"));
  const double recorded = static_cast<double>(recording.elapsed()) / 1000;
  const auto saved = project.data / "tone.wav";
  project.op.ExpectSaveFile(saved);
  Click(Find<QAbstractButton>(&screen, "save"));
  ASSERT_EQ(screen.RecordingPath(), saved);

  const auto bytes = ReadWholeFile(saved);
  ASSERT_GT(bytes.size(), kProductionHeaderSize);
  const auto dataLength = static_cast<std::uint32_t>(bytes.size() - kProductionHeaderSize);
  const auto header = ProductionHeader(kCaptureRate, dataLength);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  // The whole time recorded is there; the tone source hands over 2 seconds at
  // a time, ahead of the clock, so up to that much more may be.
  const double seconds = dataLength / (2.0 * kCaptureRate);
  EXPECT_GE(seconds, 1.9);
  EXPECT_LE(seconds, recorded + 2.1);
  const auto samples = DecodeAll(saved);
  EXPECT_NEAR(Pitch(samples, kCaptureRate), PrivateSoundServer::kToneHz, 3);
}

TEST(SoundDevice, WhatThePlayerPlaysReachesTheSpeaker) {
  SKIP_WITHOUT_SOUND_SERVER();
  TempFolder folder;
  const auto file = folder / "beep.wav";
  WriteWave(file, 22050, Sine(1000, 22050, 3.0));

  QtAudioInput listener;
  const auto names = listener.Devices();
  const auto at = std::find(names.begin(), names.end(), PrivateSoundServer::kSinkListener);
  ASSERT_NE(at, names.end());
  ASSERT_TRUE(listener.Start(static_cast<std::size_t>(at - names.begin())));
  QtMediaPlayer player;
  player.PlayFile(file.string());
  EXPECT_TRUE(player.IsPlaying());
  std::vector<std::int16_t> heard;
  for (int i = 0; i < 80; ++i) {
    Wait(50);
    listener.TakeCaptured(heard);
  }
  player.Stop();
  listener.Stop();
  EXPECT_FALSE(player.IsPlaying());
  ASSERT_GT(heard.size(), static_cast<std::size_t>(kCaptureRate));
  EXPECT_GT(ToneAmplitude(heard, 1000, kCaptureRate), 2000) << heard.size();
}

}  // namespace
}  // namespace corvane::test

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "C");
  // Where the private server cannot start, no other is reached either.
  qputenv("PULSE_SERVER", CORVANE_NO_SOUND_SERVER);
  ::testing::InitGoogleTest(&argc, argv);
  // Started before Qt's sound clients first connect, which they do once.
  corvane::test::PrivateSoundServer server;
  corvane::test::gServer = &server;
  QApplication app(argc, argv);
  corvane::PrepareApplication(app);
  return RUN_ALL_TESTS();
}
