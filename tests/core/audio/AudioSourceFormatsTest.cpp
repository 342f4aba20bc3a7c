// What AudioConversion reads: the formats operators bring, several channels,
// and "copy", which moves the stream over without decoding.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/AudioConversion.h"
#include "audio/AudioDecoder.h"
#include "common/ByteOrder.h"
#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

ConversionResult Convert(const std::filesystem::path& from, const std::filesystem::path& to,
                         const std::string& codec = "libvorbis", int rate = 22050) {
  NoProgress progress;
  return AudioConversion(from, to, Call(codec, rate), kAddingFileCaption, progress);
}

struct SourceFormat {
  std::string file;   // the extension picks the container
  std::string codec;  // the encoder that makes the test file
  int rate;
};

void PrintTo(const SourceFormat& f, std::ostream* os) { *os << f.file; }

class ReadsSourceFormat : public ::testing::TestWithParam<SourceFormat> {};

// Every format the file dialog offers becomes a mono tone at the project rate.
TEST_P(ReadsSourceFormat, AsAMonoToneAtTheConversionRate) {
  const SourceFormat& format = GetParam();
  TempFolder folder;
  const auto source = folder / format.file;
  // The same tone on both channels: mixing down must keep its level.
  const auto stereo = StereoTones(440, 440, format.rate, 2.5);
  WriteAudio(source, format.codec, format.rate, stereo, 2);

  const ConversionResult result = Convert(source, folder / "out.ogg");
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 2);
  const auto decoded = DecodeAll(folder / "out.ogg");
  ASSERT_GT(decoded.size(), 44100u);
  const auto middle = std::span(decoded).subspan(11025, 22050);
  EXPECT_NEAR(ToneAmplitude(middle, 440, 22050), 12000, 900);
  EXPECT_GT(ToneToRestDb(middle, 440, 22050), 25);
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

TEST(AudioConversionChannels, TwoDifferentChannelsMixDownAtHalfLevelEach) {
  TempFolder folder;
  WriteAudio(folder / "two.flac", "flac", 44100, StereoTones(440, 1000, 44100, 2.5), 2);
  ASSERT_TRUE(Convert(folder / "two.flac", folder / "mono.wav", "pcm_s16le").Succeeded());
  const auto mono = DecodeAll(folder / "mono.wav");
  const auto middle = std::span(mono).subspan(11025, 22050);
  EXPECT_NEAR(ToneAmplitude(middle, 440, 22050), 6000, 120);
  EXPECT_NEAR(ToneAmplitude(middle, 1000, 22050), 6000, 120);
}

TEST(AudioConversionChannels, RawPcmIsRead16BitMonoAt22050) {
  TempFolder folder;
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

TEST(AudioConversionCopy, MovesTheStreamOverUnchanged) {
  TempFolder folder;
  WriteAudio(folder / "song.ogg", "libvorbis", 44100, Sine(440, 44100, 3.2));
  // The rate of the call does not apply to a copy.
  const ConversionResult result = Convert(folder / "song.ogg", folder / "copy.ogg", "copy", 8000);
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 3);
  const auto info = ProbeAudioFile(folder / "copy.ogg");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->codec, "vorbis");
  EXPECT_EQ(info->sampleRate, 44100);
  EXPECT_EQ(DecodeAll(folder / "copy.ogg"), DecodeAll(folder / "song.ogg"));
}

TEST(AudioConversionCopy, IntoAContainerThatCannotHoldTheStreamFails) {
  TempFolder folder;
  WriteAudio(folder / "song.mp3", "libmp3lame", 44100, Sine(440, 44100, 1.5));
  const ConversionResult result = Convert(folder / "song.mp3", folder / "song.ogg", "copy");
  EXPECT_FALSE(result.Succeeded());
  EXPECT_FALSE(result.reason.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "song.ogg"));
}

TEST(AudioConversionCopy, KeepsTheLengthOfAnMp3) {
  TempFolder folder;
  WriteAudio(folder / "song.mp3", "libmp3lame", 44100, Sine(440, 44100, 4.5));
  const ConversionResult result = Convert(folder / "song.mp3", folder / "copy.mp3", "copy");
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 4);
  EXPECT_NEAR(static_cast<double>(DecodeAll(folder / "copy.mp3").size()) / 44100, 4.5, 0.05);
}

}  // namespace
}  // namespace corvane::test
