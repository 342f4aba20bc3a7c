// Loudness figures of generated signals whose loudness is known: a 1 kHz
// sine of amplitude A measures 20 log10(A) - 3.01 LUFS and peaks at
// 20 log10(A) dBTP.
#include "audio/Loudness.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

TEST(LoudnessTest, ASineMeasuresAsTheStandardSaysAtAnyRateAndCodec) {
  TempFolder folder;
  const struct {
    double amplitude;  // of full scale
    int rate;
    const char* codec;
  } cases[] = {{0.5, 22050, "pcm_s16le"}, {0.1, 44100, "pcm_s16le"}, {0.03, 8000, "pcm_s16le"},
               {0.25, 48000, "flac"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.amplitude);
    const auto file = folder / (std::to_string(c.rate) + c.codec + ".wav");
    WriteAudio(file, c.codec, c.rate, Sine(1000, c.rate, 10.0, c.amplitude * 32767));
    const LoudnessFigures figures = MeasureLoudness(file);
    ASSERT_TRUE(figures.measured) << figures.error;
    const double level = 20 * std::log10(c.amplitude);
    EXPECT_NEAR(figures.integratedLufs, level - 3.01, 0.1);
    EXPECT_NEAR(figures.truePeakDbtp, level, 0.2);
    EXPECT_NEAR(figures.rangeLu, 0, 0.1);  // a steady tone
  }
}

TEST(LoudnessTest, LoudnessRangeFollowsQuietAndLoudPartsAndSilenceHasNoLoudness) {
  TempFolder folder;
  auto twoLevels = Sine(1000, 22050, 10.0, 0.3 * 32767);
  const auto quiet = Sine(1000, 22050, 10.0, 0.03 * 32767);
  twoLevels.insert(twoLevels.end(), quiet.begin(), quiet.end());
  WriteWave(folder / "two.wav", 22050, twoLevels);
  const LoudnessFigures two = MeasureLoudness(folder / "two.wav");
  ASSERT_TRUE(two.measured);
  EXPECT_NEAR(two.rangeLu, 20, 1);  // 20 dB apart

  WriteWave(folder / "silence.wav", 22050, Constant(0, 22050 * 3));
  const LoudnessFigures silence = MeasureLoudness(folder / "silence.wav");
  ASSERT_TRUE(silence.measured);
  EXPECT_TRUE(std::isinf(silence.integratedLufs) && silence.integratedLufs < 0);

  WriteWholeFile(folder / "junk.wav", std::vector<std::uint8_t>(100, 'x'));
  const LoudnessFigures junk = MeasureLoudness(folder / "junk.wav");
  EXPECT_FALSE(junk.measured);
  EXPECT_FALSE(junk.error.empty());
}

}  // namespace
}  // namespace corvane::test
