// AudioConversion end to end: what it writes is decoded again and measured.
#include "audio/AudioConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "audio/AudioDecoder.h"
#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

constexpr double kToneHz = 440;
constexpr int kSourceRate = 44100;
constexpr double kSourceSeconds = 2.5;

ConversionResult Convert(const std::filesystem::path& from, const std::filesystem::path& to,
                         const std::string& codec, int rate) {
  NoProgress progress;
  return AudioConversion(from, to, Call(codec, rate), kAddingFileCaption, progress);
}

// The middle two seconds, away from any encoder's start-up and padding.
std::span<const std::int16_t> Middle(const std::vector<std::int16_t>& samples, int rate) {
  const auto skip = static_cast<std::size_t>(rate / 4);
  const auto length = static_cast<std::size_t>(rate * 2);
  if (samples.size() < skip + length) return {};
  return std::span(samples).subspan(skip, length);
}

struct CodecExpectation {
  std::string codec;
  std::string decodedAs;  // the codec FFmpeg names when reading the file back
  std::string container;
  double minToneDb;  // how clean the tone must come back
};

void PrintTo(const CodecExpectation& e, std::ostream* os) { *os << e.codec; }

class SineSurvivesConversion : public ::testing::TestWithParam<std::tuple<int, CodecExpectation>> {
};

TEST_P(SineSurvivesConversion, AtEveryRateAndCodec) {
  const auto& [rate, expect] = GetParam();
  TempFolder folder;
  WriteWave(folder / "tone.wav", kSourceRate, Sine(kToneHz, kSourceRate, kSourceSeconds));

  const auto out = folder / ("out." + expect.container);
  const ConversionResult result = Convert(folder / "tone.wav", out, expect.codec, rate);
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 2);

  const auto info = ProbeAudioFile(out);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->codec, expect.decodedAs);
  EXPECT_EQ(info->container, expect.container);
  EXPECT_EQ(info->sampleRate, rate);
  EXPECT_EQ(info->channels, 1);

  const auto decoded = DecodeAll(out);
  // Gapless: neither the resampler nor an encoder's padding changes the length.
  EXPECT_EQ(decoded.size(), static_cast<std::size_t>(std::lround(kSourceSeconds * rate)));
  const auto middle = Middle(decoded, rate);
  ASSERT_FALSE(middle.empty());
  EXPECT_NEAR(ToneAmplitude(middle, kToneHz, rate), 12000, 12000 * 0.06);
  EXPECT_GT(ToneToRestDb(middle, kToneHz, rate), expect.minToneDb);
}

std::string Name(const ::testing::TestParamInfo<std::tuple<int, CodecExpectation>>& info) {
  return std::get<1>(info.param).codec + "_" + std::to_string(std::get<0>(info.param));
}

INSTANTIATE_TEST_SUITE_P(
    OfferedRates, SineSurvivesConversion,
    ::testing::Combine(::testing::Values(8000, 11025, 16000, 22050, 24000, 32000, 44100, 48000),
                       ::testing::Values(CodecExpectation{"libvorbis", "vorbis", "ogg", 30},
                                         CodecExpectation{"pcm_s16le", "pcm_s16le", "wav", 75},
                                         CodecExpectation{"pcm_u8", "pcm_u8", "wav", 32},
                                         CodecExpectation{"pcm_alaw", "pcm_alaw", "wav", 34},
                                         CodecExpectation{"pcm_mulaw", "pcm_mulaw", "wav", 34},
                                         CodecExpectation{"libmp3lame", "mp3", "mp3", 60})),
    Name);

}  // namespace
}  // namespace corvane::test
