// The telephone render: what passes the line and what does not, and mu-law
// companding exactly as FFmpeg's G.711 codec does it.
#include "audio/TelephoneLine.h"
#include "audio/Loudness.h"

#include <gtest/gtest.h>

#include <cmath>

#include "audio/AudioConversion.h"
#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

double Rms(std::span<const std::int16_t> samples) {
  double sum = 0;
  for (const std::int16_t s : samples) sum += static_cast<double>(s) * s;
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

// FFmpeg's encoder rounds to the nearest level where G.711's truncates within
// its segment: the levels are the same, and no sample lands more than one
// step of its segment apart.
TEST(TelephoneLineTest, MuLawHasTheLevelsOfFfmpegsCodec) {
  TempFolder folder;
  std::vector<std::int16_t> every;
  for (int v = -32768; v <= 32767; ++v) every.push_back(static_cast<std::int16_t>(v));
  WriteAudio(folder / "mulaw.wav", "pcm_mulaw", kTelephoneRate, every);
  const auto decoded = DecodeAll(folder / "mulaw.wav");
  ASSERT_EQ(decoded.size(), every.size());
  for (std::size_t i = 0; i < every.size(); ++i) {
    ASSERT_EQ(MuLawDecode(MuLawEncode(decoded[i])), decoded[i]) << every[i];
    const int ours = MuLawDecode(MuLawEncode(every[i]));
    const int step = 8 << ((MuLawEncode(every[i]) ^ 0xFF) >> 4 & 0x07);
    ASSERT_LE(std::abs(ours - decoded[i]), step) << every[i];
  }
}

// A stepped sweep through a conversion to the line: the speech band keeps
// its level, bass and treble beyond it are gone.
TEST(TelephoneLineTest, TheLineKeepsTheSpeechBandAndCutsWhatLiesOutside) {
  TempFolder folder;
  NoProgress progress;
  const struct {
    double hz;
    double lowDb;
    double highDb;
  } steps[] = {{100, -200, -20}, {300, -1, 1},    {500, -1, 1},   {1000, -1, 1},
               {2000, -1, 1},    {3400, -1, 1},   {5000, -200, -20}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.hz);
    const auto tone = Sine(step.hz, 22050, 2.0, 10000);
    WriteWave(folder / "in.wav", 22050, tone);
    const ConversionResult result = AudioConversion(folder / "in.wav", folder / "line.wav",
                                                    Call("pcm_s16le", 22050), "", progress,
                                                    ConversionOptions{std::nullopt, true});
    ASSERT_TRUE(result.Succeeded()) << result.reason;
    const auto heard = DecodeAll(folder / "line.wav");
    ASSERT_EQ(heard.size(), 2u * kTelephoneRate);  // at the line's rate
    // The filters settle in the first half second.
    const double db = 20 * std::log10(Rms(std::span(heard).subspan(kTelephoneRate / 2)) / Rms(tone));
    EXPECT_GE(db, step.lowDb);
    EXPECT_LE(db, step.highDb);
  }
  // Brought to a loudness as callers hear it: after the line takes the bass.
  auto bassy = Sine(100, 22050, 6.0, 20000);
  const auto voice = Sine(1000, 22050, 6.0, 1000);
  for (std::size_t i = 0; i < bassy.size(); ++i) bassy[i] = static_cast<std::int16_t>(bassy[i] + voice[i]);
  WriteWave(folder / "in.wav", 22050, bassy);
  ASSERT_TRUE(AudioConversion(folder / "in.wav", folder / "line.wav", Call("pcm_s16le", 22050), "",
                              progress, ConversionOptions{LoudnessTarget{-20}, true})
                  .Succeeded());
  EXPECT_NEAR(MeasureLoudness(folder / "line.wav").integratedLufs, -20, 0.5);
}

}  // namespace
}  // namespace corvane::test
