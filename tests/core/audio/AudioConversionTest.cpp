// AudioConversion end to end: what it writes is decoded again and measured;
// every failure is a status with a reason, and leaves no partial file.
#include "audio/AudioConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "audio/AudioDecoder.h"
#include "common/ByteOrder.h"
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

// Seconds [from, from + 2) of a 440 Hz tone, away from encoders' start-up and padding.
void ExpectToneAt(const std::vector<std::int16_t>& samples, int rate, double minToneDb,
                  double level = 12000) {
  ASSERT_GE(samples.size(), static_cast<std::size_t>(rate / 4 + 2 * rate));
  const auto middle = std::span(samples).subspan(static_cast<std::size_t>(rate / 4),
                                                 static_cast<std::size_t>(2 * rate));
  EXPECT_NEAR(ToneAmplitude(middle, 440, rate), level, level * 0.075);
  EXPECT_GT(ToneToRestDb(middle, 440, rate), minToneDb);
}

struct ConversionCase {
  int rate;
  std::string codec;
  std::string decodedAs;  // the codec FFmpeg names when reading the file back
  std::string container;
  double minToneDb;  // how clean the tone must come back
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.codec << " " << c.rate; }

class SineSurvivesConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(SineSurvivesConversion, AtTheRateAndInTheCodecAsked) {
  const ConversionCase& c = GetParam();
  TempFolder folder;
  WriteWave(folder / "tone.wav", 44100, Sine(440, 44100, 2.5));
  const auto out = folder / ("out." + c.container);
  const ConversionResult result = Convert(folder / "tone.wav", out, c.codec, c.rate);
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 2);
  const auto info = ProbeAudioFile(out);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->codec, c.decodedAs);
  EXPECT_EQ(info->container, c.container);
  EXPECT_EQ(info->sampleRate, c.rate);
  EXPECT_EQ(info->channels, 1);
  const auto decoded = DecodeAll(out);
  // Gapless: neither the resampler nor an encoder's padding changes the length.
  EXPECT_EQ(decoded.size(), static_cast<std::size_t>(std::lround(2.5 * c.rate)));
  ExpectToneAt(decoded, c.rate, c.minToneDb);
}

// Rate and codec are handled apart (the resampler, then the encoder), so each
// offered rate and each codec is tried once rather than every pair.
INSTANTIATE_TEST_SUITE_P(
    OfferedRatesAndCodecs, SineSurvivesConversion,
    ::testing::Values(ConversionCase{8000, "pcm_mulaw", "pcm_mulaw", "wav", 34},
                      ConversionCase{11025, "libmp3lame", "mp3", "mp3", 60},
                      ConversionCase{16000, "pcm_alaw", "pcm_alaw", "wav", 34},
                      ConversionCase{22050, "libvorbis", "vorbis", "ogg", 30},
                      ConversionCase{24000, "pcm_u8", "pcm_u8", "wav", 32},
                      ConversionCase{32000, "pcm_s16le", "pcm_s16le", "wav", 75},
                      ConversionCase{44100, "libvorbis", "vorbis", "ogg", 30},
                      ConversionCase{48000, "libmp3lame", "mp3", "mp3", 60}),
    [](const ::testing::TestParamInfo<ConversionCase>& param) {
      return param.param.codec + "_" + std::to_string(param.param.rate);
    });

struct SourceFormat {
  std::string file;   // the extension picks the container
  std::string codec;  // the encoder that makes the test file
  int rate;
};

void PrintTo(const SourceFormat& f, std::ostream* os) { *os << f.file; }

class ReadsSourceFormat : public ::testing::TestWithParam<SourceFormat> {};

// Every format the file dialog offers becomes a mono tone at the project rate;
// the same tone on both channels keeps its level when mixed down.
TEST_P(ReadsSourceFormat, AsAMonoToneAtTheConversionRate) {
  const SourceFormat& format = GetParam();
  TempFolder folder;
  WriteAudio(folder / format.file, format.codec, format.rate,
             StereoTones(440, 440, format.rate, 2.5), 2);
  const ConversionResult result = Convert(folder / format.file, folder / "out.ogg");
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 2);
  ExpectToneAt(DecodeAll(folder / "out.ogg"), 22050, 25);
}

INSTANTIATE_TEST_SUITE_P(OfferedFormats, ReadsSourceFormat,
                         ::testing::Values(SourceFormat{"tone.aiff", "pcm_s16be", 44100},
                                           SourceFormat{"tone.flac", "flac", 48000},
                                           SourceFormat{"tone.mp4", "aac", 44100},
                                           SourceFormat{"tone.mp3", "libmp3lame", 44100},
                                           SourceFormat{"tone.wav", "pcm_s16le", 32000},
                                           SourceFormat{"tone.ogg", "libvorbis", 44100},
                                           SourceFormat{"tone.wma", "wmav2", 44100}),
                         [](const auto& param) {
                           std::string name = param.param.file;
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
  std::vector<std::uint8_t> raw(tone.size() * 2);
  for (std::size_t i = 0; i < tone.size(); ++i) {
    WriteLE16(raw.data() + 2 * i, static_cast<std::uint16_t>(tone[i]));
  }
  WriteWholeFile(folder / "take.pcm", raw);
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
  EXPECT_EQ(EntriesIn(folder.Path()), 6u);  // what the test put there, and no leftovers

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
