// AudioConversion end to end: what it writes is decoded again and measured;
// every failure is a status with a reason, and leaves no partial file.
#include "audio/AudioConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "audio/AudioDecoder.h"
#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

constexpr auto kUnreadable = static_cast<std::int32_t>(ConversionStatus::SourceUnreadable);
constexpr auto kUnsupported = static_cast<std::int32_t>(ConversionStatus::Unsupported);
constexpr auto kWriteFailed = static_cast<std::int32_t>(ConversionStatus::WriteFailed);

ConversionResult Convert(const std::filesystem::path& from, const std::filesystem::path& to,
                         const std::string& codec = "libvorbis", int rate = 22050) {
  NoProgress progress;
  return AudioConversion(from, to, Call(codec, rate), kAddingFileCaption, progress);
}

struct ConversionCase {
  std::string source;        // the extension picks the container ...
  std::string sourceCodec;   // ... and this encoder makes the stereo test file
  int sourceRate;
  int rate;
  std::string codec;
  std::string decodedAs;  // the codec FFmpeg names when reading the file back
  std::string container;
  double minToneDb;  // how clean the tone must come back
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.source << " to " << c.codec; }

class SineSurvivesConversion : public ::testing::TestWithParam<ConversionCase> {};

// Every format the file dialog offers becomes a mono tone at the rate and in
// the codec asked; the same tone on both channels keeps its level when mixed
// down.
TEST_P(SineSurvivesConversion, FromEveryFormatAtTheRateAndInTheCodecAsked) {
  const ConversionCase& c = GetParam();
  TempFolder folder;
  WriteAudio(folder / c.source, c.sourceCodec, c.sourceRate,
             StereoTones(440, 440, c.sourceRate, 2.5), 2);
  const auto out = folder / ("out." + c.container);
  const ConversionResult result = Convert(folder / c.source, out, c.codec, c.rate);
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 2);
  const auto info = ProbeAudioFile(out);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->codec, c.decodedAs);
  EXPECT_EQ(info->container, c.container);
  EXPECT_EQ(info->sampleRate, c.rate);
  EXPECT_EQ(info->channels, 1);
  const auto decoded = DecodeAll(out);
  // Gapless: neither the resampler nor an encoder's padding changes the
  // length of what the source decodes to.
  const double sourceSeconds =
      static_cast<double>(DecodeAll(folder / c.source).size()) / c.sourceRate;
  ASSERT_EQ(decoded.size(), static_cast<std::size_t>(std::lround(sourceSeconds * c.rate)));
  // Two seconds of the tone, away from encoders' start-up and padding.
  const auto middle = std::span(decoded).subspan(static_cast<std::size_t>(c.rate / 4),
                                                 static_cast<std::size_t>(2 * c.rate));
  EXPECT_NEAR(ToneAmplitude(middle, 440, c.rate), 12000, 12000 * 0.075);
  EXPECT_GT(ToneToRestDb(middle, 440, c.rate), c.minToneDb);
}

// Rate and codec are handled apart (the resampler, then the encoder), and
// the source is read before either, so each offered rate, codec and source
// format is tried once rather than every combination.
INSTANTIATE_TEST_SUITE_P(
    OfferedFormatsRatesAndCodecs, SineSurvivesConversion,
    ::testing::Values(
        ConversionCase{"tone.wav", "pcm_s16le", 44100, 8000, "pcm_mulaw", "pcm_mulaw", "wav", 34},
        ConversionCase{"tone.flac", "flac", 48000, 11025, "libmp3lame", "mp3", "mp3", 60},
        ConversionCase{"tone.mp4", "aac", 44100, 16000, "pcm_alaw", "pcm_alaw", "wav", 30},
        ConversionCase{"tone.aiff", "pcm_s16be", 44100, 22050, "libvorbis", "vorbis", "ogg", 30},
        ConversionCase{"tone.mp3", "libmp3lame", 44100, 24000, "pcm_u8", "pcm_u8", "wav", 30},
        ConversionCase{"tone.ogg", "libvorbis", 44100, 32000, "pcm_s16le", "pcm_s16le", "wav", 35},
        ConversionCase{"tone.wma", "wmav2", 44100, 44100, "libvorbis", "vorbis", "ogg", 30},
        ConversionCase{"tone.wav", "pcm_s16le", 32000, 48000, "libmp3lame", "mp3", "mp3", 60}),
    [](const ::testing::TestParamInfo<ConversionCase>& param) {
      std::string name = param.param.source + "_" + param.param.codec;
      name[name.find('.')] = '_';
      return name;
    });

TEST(AudioConversion, DifferentChannelsMixDownAtHalfLevelAndRawPcmIs16BitMonoAt22050) {
  TempFolder folder;
  WriteAudio(folder / "two.flac", "flac", 44100, StereoTones(440, 1000, 44100, 2.5), 2);
  ASSERT_TRUE(Convert(folder / "two.flac", folder / "mono.wav", "pcm_s16le").Succeeded());
  const auto mono = DecodeAll(folder / "mono.wav");
  ASSERT_GT(mono.size(), 33075u);
  const auto middle = std::span(mono).subspan(11025, 22050);
  EXPECT_NEAR(ToneAmplitude(middle, 440, 22050), 6000, 120);
  EXPECT_NEAR(ToneAmplitude(middle, 1000, 22050), 6000, 120);

  const auto tone = Sine(440, 22050, 3.0);
  WriteWholeFile(folder / "take.pcm", SampleBytes(tone));
  const ConversionResult result = Convert(folder / "take.pcm", folder / "take.wav", "pcm_s16le");
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 3);
  EXPECT_EQ(DecodeAll(folder / "take.wav"), tone);
}

TEST(AudioConversion, CopyMovesTheStreamOverUnchangedIntoAContainerThatHoldsIt) {
  TempFolder folder;
  WriteAudio(folder / "song.ogg", "libvorbis", 44100, Sine(440, 44100, 3.2));
  // The rate of the call does not apply to a copy.
  ConversionResult result = Convert(folder / "song.ogg", folder / "copy.ogg", "copy", 8000);
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 3);
  EXPECT_EQ(DecodeAll(folder / "copy.ogg"), DecodeAll(folder / "song.ogg"));

  WriteAudio(folder / "song.mp3", "libmp3lame", 44100, Sine(440, 44100, 4.5));
  result = Convert(folder / "song.mp3", folder / "copy.mp3", "copy");
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 4);
  EXPECT_NEAR(static_cast<double>(DecodeAll(folder / "copy.mp3").size()) / 44100, 4.5, 0.05);

  result = Convert(folder / "song.mp3", folder / "mp3.ogg", "copy");
  EXPECT_FALSE(result.Succeeded());
  EXPECT_FALSE(result.reason.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "mp3.ogg"));
}

TEST(AudioConversion, FailuresAreStatusesWithAReasonAndLeaveTheDestinationAsItWas) {
  TempFolder folder;
  const auto out = folder / "out.ogg";
  const std::vector<std::uint8_t> earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
  WriteWholeFile(out, earlier);
  WriteWholeFile(folder / "empty.mp3", {});
  WriteWholeFile(folder / "list.mp3", std::vector<std::uint8_t>(7000, 'x'));
  const auto wave = WaveBytes(22050, Sine(440, 22050, 1.0));
  WriteWholeFile(folder / "cut-header.wav", std::span(wave).first(30));
  WriteWholeFile(folder / "tone.wav", wave);
  std::filesystem::create_directory(folder / "taken.ogg");
  const struct {
    std::string source, codec;
    int rate;
    std::filesystem::path destination;
    std::int32_t status;
  } cases[] = {
      {"missing.wav", "libvorbis", 22050, out, kUnreadable},
      {"empty.mp3", "libvorbis", 22050, out, kUnreadable},
      {"list.mp3", "libvorbis", 22050, out, kUnreadable},
      {"cut-header.wav", "libvorbis", 22050, out, kUnreadable},
      {"tone.wav", "no_such_codec", 22050, out, kUnsupported},
      {"tone.wav", "", 22050, out, kUnsupported},
      {"tone.wav", "mpeg4", 22050, out, kUnsupported},  // a video encoder is no audio codec
      {"tone.wav", "libvorbis", 0, out, kUnsupported},
      {"tone.wav", "libvorbis", -22050, out, kUnsupported},
      {"tone.wav", "libmp3lame", 7000, out, kUnsupported},  // MP3 has no 7000 Hz
      {"tone.wav", "libvorbis", 22050, folder / "no-such-folder" / "out.ogg", kWriteFailed},
      {"tone.wav", "libvorbis", 22050, folder / "taken.ogg", kWriteFailed},
  };
  for (const auto& c : cases) {
    const ConversionResult result = Convert(folder / c.source, c.destination, c.codec, c.rate);
    EXPECT_EQ(result.result, c.status) << c.source << " " << c.codec << " " << c.rate;
    EXPECT_FALSE(result.reason.empty()) << c.source << " " << c.codec;
    EXPECT_EQ(result.duration, 0);
  }
  EXPECT_EQ(ReadWholeFile(out), earlier);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.ogg"));
  EXPECT_EQ(NamesIn(folder.Path()).size(), 6u);  // what the test put there, and no leftovers

  // A source may be converted onto itself.
  const ConversionResult result =
      Convert(folder / "tone.wav", folder / "tone.wav", "pcm_s16le", 8000);
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(DecodeAll(folder / "tone.wav").size(), 8000u);
}

TEST(AudioConversion, AFileCutShortGivesTheAudioItHolds) {
  TempFolder folder;
  WriteAudio(folder / "song.ogg", "libvorbis", 22050, Sine(440, 22050, 20.0));
  const auto whole = ReadWholeFile(folder / "song.ogg");
  WriteWholeFile(folder / "half.ogg", std::span(whole).first(whole.size() / 2));
  // Cut inside the codec's setup header: nothing can be decoded.
  WriteWholeFile(folder / "headless.ogg", std::span(whole).first(3000));
  const auto wave = WaveBytes(22050, Sine(440, 22050, 4.0));
  // The data chunk still claims four seconds.
  WriteWholeFile(folder / "half.wav", std::span(wave).first(80 + 22050 * 2 * 3 / 2));

  const ConversionResult ogg = Convert(folder / "half.ogg", folder / "out.ogg");
  ASSERT_TRUE(ogg.Succeeded()) << ogg.reason;
  EXPECT_GE(ogg.duration, 8);
  EXPECT_LE(ogg.duration, 12);
  EXPECT_EQ(Convert(folder / "headless.ogg", folder / "out.ogg").result, kUnreadable);
  const ConversionResult wav = Convert(folder / "half.wav", folder / "out.wav", "pcm_s16le");
  ASSERT_TRUE(wav.Succeeded()) << wav.reason;
  EXPECT_EQ(wav.duration, 1);
  EXPECT_EQ(DecodeAll(folder / "out.wav").size(), 22050u * 3 / 2);
}

}  // namespace
}  // namespace corvane::test
