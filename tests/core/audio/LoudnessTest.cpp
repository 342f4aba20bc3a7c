// Loudness figures of generated signals whose loudness is known: a 1 kHz
// sine of amplitude A measures 20 log10(A) - 3.01 LUFS and peaks at
// 20 log10(A) dBTP.
#include "audio/Loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/AudioConversion.h"
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
    const LoudnessFigures quick = MeasureLoudness(file, RangeWanted::No);
    EXPECT_NEAR(quick.integratedLufs, figures.integratedLufs, 1e-6);
    EXPECT_TRUE(std::isnan(quick.rangeLu));
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
}

// Normalising on conversion: a quiet and a loud file both come out at the
// target; without a target the samples pass untouched; a file whose peaks
// are near full scale is brought up only as far as the peak ceiling allows.
TEST(LoudnessTest, ConversionBringsFilesToTheTargetWithoutClipping) {
  TempFolder folder;
  NoProgress progress;
  const auto amplitudeFor = [](double lufs) { return std::pow(10.0, (lufs + 3.01) / 20) * 32767; };
  for (const double lufs : {-30.0, -10.0}) {
    SCOPED_TRACE(lufs);
    const auto tone = Sine(1000, 22050, 10.0, amplitudeFor(lufs));
    WriteWave(folder / "in.wav", 22050, tone);
    const ConversionResult kept =
        AudioConversion(folder / "in.wav", folder / "kept.wav", Call("pcm_s16le", 22050), "", progress);
    ASSERT_TRUE(kept.Succeeded()) << kept.reason;
    EXPECT_EQ(DecodeAll(folder / "kept.wav"), tone);
    const ConversionResult normalised = AudioConversion(
        folder / "in.wav", folder / "out.ogg", Call("libvorbis", 22050), "", progress, {LoudnessTarget{}});
    ASSERT_TRUE(normalised.Succeeded()) << normalised.reason;
    EXPECT_NEAR(normalised.gainDb, -16 - lufs, 0.2);
    EXPECT_NEAR(MeasureLoudness(folder / "out.ogg").integratedLufs, -16, 0.5);
  }

  // Quiet speech-like bursts with a click near full scale.
  auto clicked = Sine(1000, 22050, 10.0, amplitudeFor(-30));
  for (std::size_t i = 5000; i < 5010; ++i) clicked[i] = static_cast<std::int16_t>(i % 2 ? 32000 : -32000);
  WriteWave(folder / "click.wav", 22050, clicked);
  const ConversionResult limited = AudioConversion(folder / "click.wav", folder / "click-out.wav",
                                                   Call("pcm_s16le", 22050), "", progress, {LoudnessTarget{}});
  ASSERT_TRUE(limited.Succeeded());
  EXPECT_LT(limited.gainDb, 0);  // the click already passes the ceiling
  const auto out = DecodeAll(folder / "click-out.wav");
  EXPECT_EQ(std::count_if(out.begin(), out.end(), [](std::int16_t s) { return s >= 32767 || s <= -32768; }), 0);
  EXPECT_LE(MeasureLoudness(folder / "click-out.wav").truePeakDbtp, -0.9);
}

// A file longer than the hour held in memory is measured in a pass of its
// own, to the same result.
TEST(LoudnessTest, AFileLongerThanAnHourIsNormalisedToo) {
  TempFolder folder;
  NoProgress progress;
  WriteWave(folder / "long.wav", 8000, Sine(1000, 8000, 3605.0, 0.05 * 32767));
  const ConversionResult result = AudioConversion(folder / "long.wav", folder / "out.wav",
                                                  Call("pcm_s16le", 8000), "", progress, {LoudnessTarget{}});
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 3605);
  EXPECT_NEAR(result.gainDb, -16 - (20 * std::log10(0.05) - 3.01), 0.2);
  EXPECT_NEAR(MeasureLoudness(folder / "out.wav").integratedLufs, -16, 0.5);
}

}  // namespace
}  // namespace corvane::test
