#include "audio/AudioSettings.h"

#include <gtest/gtest.h>

#include "common/ByteOrder.h"
#include "support/TempFolder.h"

namespace corvane {
namespace {

using test::TempFolder;

TEST(AudioSettings, DefaultsAndOfferedChoices) {
  const AudioSettings d;
  EXPECT_EQ(d.ProjectRateText.View(), "22050");
  EXPECT_EQ(d.ProjectRate, 22050);
  EXPECT_EQ(d.OutputRateText.View(), "22050");
  EXPECT_EQ(d.OutputRate, 22050);
  EXPECT_EQ(d.OutputCodec.View(), "pcm_s16le");
  EXPECT_EQ(d.MaxLength, 3600);
  EXPECT_EQ(kOfferedRates[3], 22050);
  EXPECT_EQ(kOutputCodecs[1].display, "WAV/PCM 16 Bit");
  EXPECT_EQ(kOutputCodecs[1].codec, "pcm_s16le");
}

TEST(AudioSettings, FileLayoutIsSeventyTwoBigEndianBytes) {
  AudioSettings s;
  s.ProjectRateText.Set("8000");
  s.ProjectRate = 8000;
  s.OutputRateText.Set("44100");
  s.OutputRate = 44100;
  s.OutputCodec.Set("pcm_alaw");
  s.MaxLength = 600;
  const auto bytes = EncodeAudioSettings(s);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[0])), "8000");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[20])), "44100");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[40])), "pcm_alaw");
  EXPECT_EQ(bytes[59], 0);
  EXPECT_EQ(ReadBE32(&bytes[60]), 8000u);
  EXPECT_EQ(ReadBE32(&bytes[64]), 44100u);
  EXPECT_EQ(ReadBE32(&bytes[68]), 600u);
  EXPECT_EQ(DecodeAudioSettings(bytes), s);
}

TEST(AudioSettings, LoadUsesTheModelsFileOrTheDefaults) {
  TempFolder app;
  AudioSettings stored;
  stored.ProjectRateText.Set("16000");
  stored.ProjectRate = 16000;
  stored.OutputCodec.Set("libmp3lame");  // applied as read, even if the screen does not offer it
  ASSERT_TRUE(SaveAudioSettings(stored, app.Path(), 3));
  EXPECT_TRUE(std::filesystem::exists(app / "audio_settings.3"));

  ST_AUDIO_TYPE audio;
  EXPECT_TRUE(LoadAudioSettings(audio, app.Path(), 3));
  EXPECT_EQ(AudioSettingsOf(audio), stored);
  EXPECT_FALSE(LoadAudioSettings(audio, app.Path(), 1));
  EXPECT_EQ(AudioSettingsOf(audio), AudioSettings{});
}

TEST(AudioSettings, AFileOfAnyOtherSizeLoadsTheDefaults) {
  TempFolder app;
  AudioSettings stored;
  stored.MaxLength = 60;
  auto bytes = EncodeAudioSettings(stored);
  for (std::size_t size : {std::size_t{0}, std::size_t{71}, std::size_t{73}, std::size_t{300}}) {
    std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
    file.resize(size, 0);
    test::WriteWholeFile(app / "audio_settings.2", file);
    ST_AUDIO_TYPE audio;
    audio.MaxLength = 5;
    EXPECT_FALSE(LoadAudioSettings(audio, app.Path(), 2)) << size;
    EXPECT_EQ(AudioSettingsOf(audio), AudioSettings{}) << size;
  }
}

TEST(AudioSettings, UnterminatedTextsAreKeptButReadWithinTheirField) {
  std::array<std::uint8_t, 72> bytes{};
  bytes.fill('7');
  const auto settings = DecodeAudioSettings(bytes);
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->ProjectRateText.View(), std::string(20, '7'));
  EXPECT_EQ(EncodeAudioSettings(*settings), bytes);
}

TEST(AudioSettings, SaveReplacesTheFileWhole) {
  TempFolder app;
  AudioSettings first;
  first.MaxLength = 60;
  AudioSettings second;
  second.MaxLength = 120;
  ASSERT_TRUE(SaveAudioSettings(first, app.Path(), 4));
  ASSERT_TRUE(SaveAudioSettings(second, app.Path(), 4));
  const auto bytes = test::ReadWholeFile(app / "audio_settings.4");
  ASSERT_EQ(bytes.size(), 72u);
  EXPECT_EQ(ReadBE32(&bytes[68]), 120u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(app.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(AudioSettings, SaveIntoAnUnwritableFolderFails) {
  TempFolder app;
  test::WriteWholeFile(app / "blocker", std::vector<std::uint8_t>{1});
  // A file where the folder should be.
  EXPECT_FALSE(SaveAudioSettings(AudioSettings{}, app / "blocker", 2));
}

}  // namespace
}  // namespace corvane
