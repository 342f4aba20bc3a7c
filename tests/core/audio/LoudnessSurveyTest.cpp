// Measuring files off the caller's thread: a file is waited for, then
// known; a changed file is measured again; an unreadable one says so.
#include "audio/LoudnessSurvey.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

// Asks until the file is no longer waited for; the survey's thread is
// generous with time under a sanitizer, so the limit is only a safeguard.
LoudnessSurvey::Finding Settled(LoudnessSurvey& survey, const std::filesystem::path& file) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  LoudnessSurvey::Finding finding = survey.Of(file);
  while (finding.state == LoudnessSurvey::State::Waiting &&
         std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    finding = survey.Of(file);
  }
  return finding;
}

void WriteTone(const std::filesystem::path& file, double amplitude, double seconds) {
  WriteWave(file, 22050, Sine(1000, 22050, seconds, amplitude * 32767));
}

TEST(LoudnessSurveyTest, AFileIsMeasuredOnceAndAgainWhenItChangesAndABadOneFails) {
  TempFolder folder;
  const auto file = folder / "tone.wav";
  WriteTone(file, 0.1, 3);  // -23.0 LUFS
  LoudnessSurvey survey;
  EXPECT_EQ(survey.Of(file).state, LoudnessSurvey::State::Waiting);
  LoudnessSurvey::Finding first = Settled(survey, file);
  ASSERT_EQ(first.state, LoudnessSurvey::State::Measured) << first.figures.error;
  EXPECT_NEAR(first.figures.integratedLufs, -23.0, 0.1);

  // Converted again under the same name, louder and of another length.
  WriteTone(file, 0.5, 4);  // -9.0 LUFS
  const LoudnessSurvey::Finding second = Settled(survey, file);
  ASSERT_EQ(second.state, LoudnessSurvey::State::Measured);
  EXPECT_NEAR(second.figures.integratedLufs, -9.0, 0.1);

  // Missing and damaged files are failures, not waits.
  EXPECT_EQ(survey.Of(folder / "gone.wav").state, LoudnessSurvey::State::Failed);
  WriteWholeFile(folder / "junk.wav", std::vector<std::uint8_t>(4000, 'x'));
  EXPECT_EQ(Settled(survey, folder / "junk.wav").state, LoudnessSurvey::State::Failed);
}

}  // namespace
}  // namespace corvane::test
