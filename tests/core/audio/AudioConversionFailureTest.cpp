// AudioConversion on bad input, bad settings and unwritable destinations:
// every failure is a status with a reason, and no partial file is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "audio/AudioConversion.h"
#include "audio/AudioDecoder.h"
#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

constexpr auto kUnreadable = static_cast<std::int32_t>(ConversionStatus::SourceUnreadable);
constexpr auto kUnsupported = static_cast<std::int32_t>(ConversionStatus::Unsupported);
constexpr auto kWriteFailed = static_cast<std::int32_t>(ConversionStatus::WriteFailed);

ST_AUDIO_TYPE Call(const std::string& codec, int rate) {
  ST_AUDIO_TYPE audio;
  audio.ChannelCount = 1;
  audio.ProjectCodec.Set("libvorbis");
  audio.CallCodec.Set(codec);
  audio.SetConversionRate(std::to_string(rate), rate);
  return audio;
}

class AudioConversionFailureTest : public ::testing::Test {
 protected:
  ConversionResult Convert(const std::filesystem::path& from,
                           const std::string& codec = "libvorbis", int rate = 22050) {
    NoProgress progress;
    return AudioConversion(from, out, Call(codec, rate), kAddingFileCaption, progress);
  }
  // Nothing but the files the test put there: no destination, no leftovers.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder.Path())) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void WriteText(const std::string& name, const std::string& text) {
    WriteWholeFile(folder / name, std::vector<std::uint8_t>(text.begin(), text.end()));
  }

  TempFolder folder;
  std::filesystem::path out = folder / "out.ogg";
};

TEST_F(AudioConversionFailureTest, UnreadableSourcesFailWithAReasonAndWriteNothing) {
  WriteWholeFile(folder / "empty.mp3", {});
  std::string text;
  for (int i = 0; i < 200; ++i) text += "This is a shopping list, not a song.\n";
  WriteText("list.mp3", text);
  const auto wave = WaveBytes(22050, Sine(440, 22050, 1.0));
  WriteWholeFile(folder / "cut-header.wav", std::span(wave).first(30));

  for (const char* name : {"missing.wav", "empty.mp3", "list.mp3", "cut-header.wav"}) {
    const ConversionResult result = Convert(folder / name);
    EXPECT_EQ(result.result, kUnreadable) << name;
    EXPECT_FALSE(result.reason.empty()) << name;
    EXPECT_EQ(result.duration, 0) << name;
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"cut-header.wav", "empty.mp3", "list.mp3"}));
}

TEST_F(AudioConversionFailureTest, AFileCutShortGivesTheAudioItHolds) {
  WriteAudio(folder / "song.ogg", "libvorbis", 22050, Sine(440, 22050, 20.0));
  const auto whole = ReadWholeFile(folder / "song.ogg");
  WriteWholeFile(folder / "half.ogg", std::span(whole).first(whole.size() / 2));
  // Cut inside the codec's setup header: nothing can be decoded.
  WriteWholeFile(folder / "headless.ogg", std::span(whole).first(3000));
  const auto wave = WaveBytes(22050, Sine(440, 22050, 4.0));
  // The data chunk still claims four seconds.
  WriteWholeFile(folder / "half.wav", std::span(wave).first(80 + 22050 * 2 * 3 / 2));

  const ConversionResult ogg = Convert(folder / "half.ogg");
  ASSERT_TRUE(ogg.Succeeded()) << ogg.reason;
  EXPECT_GE(ogg.duration, 8);
  EXPECT_LE(ogg.duration, 12);
  EXPECT_EQ(Convert(folder / "headless.ogg").result, kUnreadable);
  const ConversionResult wav = Convert(folder / "half.wav", "pcm_s16le");
  ASSERT_TRUE(wav.Succeeded()) << wav.reason;
  EXPECT_EQ(wav.duration, 1);
  EXPECT_EQ(DecodeAll(out).size(), 22050u * 3 / 2);
}

TEST_F(AudioConversionFailureTest, AnEmptyStreamConvertsToAnEmptyFile) {
  WriteWave(folder / "nothing.wav", 22050, {});
  const ConversionResult result = Convert(folder / "nothing.wav", "pcm_s16le");
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(result.duration, 0);
  EXPECT_TRUE(DecodeAll(out).empty());
  const auto info = ProbeAudioFile(out);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->codec, "pcm_s16le");
}

TEST_F(AudioConversionFailureTest, SettingsTheEngineCannotWriteAreRefused) {
  WriteWave(folder / "tone.wav", 22050, Sine(440, 22050, 1.0));
  EXPECT_EQ(Convert(folder / "tone.wav", "no_such_codec").result, kUnsupported);
  EXPECT_EQ(Convert(folder / "tone.wav", "").result, kUnsupported);
  EXPECT_EQ(Convert(folder / "tone.wav", "libvorbis", 0).result, kUnsupported);
  EXPECT_EQ(Convert(folder / "tone.wav", "libvorbis", -22050).result, kUnsupported);
  // MP3 has no 7000 Hz.
  EXPECT_EQ(Convert(folder / "tone.wav", "libmp3lame", 7000).result, kUnsupported);
  // A video encoder is no audio codec.
  EXPECT_EQ(Convert(folder / "tone.wav", "mpeg4").result, kUnsupported);
  EXPECT_EQ(Names(), (std::vector<std::string>{"tone.wav"}));
}

TEST_F(AudioConversionFailureTest, AnUnwritableDestinationIsAWriteFailure) {
  WriteWave(folder / "tone.wav", 22050, Sine(440, 22050, 1.0));
  out = folder / "no-such-folder" / "out.ogg";
  EXPECT_EQ(Convert(folder / "tone.wav").result, kWriteFailed);
  // A folder in the destination's place cannot be replaced by a file.
  std::filesystem::create_directory(folder / "taken.ogg");
  out = folder / "taken.ogg";
  EXPECT_EQ(Convert(folder / "tone.wav").result, kWriteFailed);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.ogg"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"taken.ogg", "tone.wav"}));
}

TEST_F(AudioConversionFailureTest, AFailureLeavesAnExistingDestinationAsItWas) {
  WriteText("out.ogg", "the operator's earlier file");
  WriteText("broken.mp3", "not audio at all");
  EXPECT_FALSE(Convert(folder / "broken.mp3").Succeeded());
  const auto kept = ReadWholeFile(out);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "the operator's earlier file");

  WriteWave(folder / "tone.wav", 22050, Sine(440, 22050, 1.0));
  ASSERT_TRUE(Convert(folder / "tone.wav").Succeeded());
  EXPECT_EQ(ProbeAudioFile(out)->codec, "vorbis");
}

TEST_F(AudioConversionFailureTest, ASourceMayBeConvertedOntoItself) {
  WriteWave(folder / "tone.wav", 44100, Sine(440, 44100, 2.0));
  out = folder / "tone.wav";
  const ConversionResult result = Convert(out, "pcm_s16le", 8000);
  ASSERT_TRUE(result.Succeeded()) << result.reason;
  EXPECT_EQ(ProbeAudioFile(out)->sampleRate, 8000);
  EXPECT_EQ(DecodeAll(out).size(), 16000u);
}

class RecordingProgress final : public Progress {
 public:
  void SetCaption(std::string_view caption) override { captions.emplace_back(caption); }
  void SetRange(int low, int high) override { ranges.emplace_back(low, high); }
  void SetPosition(int position) override { percents.push_back(position); }
  std::vector<std::string> captions;
  std::vector<std::pair<int, int>> ranges;
  std::vector<int> percents;
};

TEST_F(AudioConversionFailureTest, ProgressRisesUnderTheCaptionToAHundred) {
  WriteAudio(folder / "song.ogg", "libvorbis", 22050, Sine(440, 22050, 20.0));
  RecordingProgress progress;
  const auto result = AudioConversion(folder / "song.ogg", out, Call("libvorbis", 11025),
                                      kConvertingFileCaption, progress);
  ASSERT_TRUE(result.Succeeded());
  ASSERT_GE(progress.percents.size(), 5u);
  EXPECT_EQ(progress.percents.front(), 0);
  EXPECT_EQ(progress.percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(progress.percents.begin(), progress.percents.end()));
  EXPECT_EQ(progress.captions, std::vector<std::string>{"Converting File ..."});
  EXPECT_EQ(progress.ranges, (std::vector<std::pair<int, int>>{{0, 100}}));
}

}  // namespace
}  // namespace corvane::test
