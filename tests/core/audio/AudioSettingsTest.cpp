#include "audio/AudioSettings.h"

#include <gtest/gtest.h>

#include "common/ByteOrder.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using test::TempFolder;

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

  // Texts without a terminator are kept whole and written back unchanged.
  std::array<std::uint8_t, 72> sevens{};
  sevens.fill('7');
  const auto settings = DecodeAudioSettings(sevens);
  ASSERT_TRUE(settings);
  EXPECT_EQ(settings->ProjectRateText.View(), std::string(20, '7'));
  EXPECT_EQ(EncodeAudioSettings(*settings), sevens);
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

  // A file of any other size is not the settings.
  const auto bytes = EncodeAudioSettings(stored);
  for (std::size_t size : {std::size_t{0}, std::size_t{71}, std::size_t{73}, std::size_t{300}}) {
    std::vector<std::uint8_t> file(bytes.begin(), bytes.end());
    file.resize(size, 0);
    test::WriteWholeFile(app / "audio_settings.2", file);
    ApplyAudioSettings(audio, stored);
    EXPECT_FALSE(LoadAudioSettings(audio, app.Path(), 2)) << size;
    EXPECT_EQ(AudioSettingsOf(audio), AudioSettings{}) << size;
  }
}

TEST(AudioSettingsTest, TheScreenShowsWhatItOffersAndStoresOnlyThat) {
  AudioSettings read;
  read.ProjectRateText.Set("44100");
  read.OutputRateText.Set("12345");  // no list offers it
  read.OutputCodec.Set("libmp3lame");
  read.MaxLength = 7200;
  const AudioSettingsChoice shown = ChoiceOf(read);
  EXPECT_EQ(shown, (AudioSettingsChoice{6, 3, 1, 60}));
  const AudioSettings stored = SettingsOf(shown);
  EXPECT_EQ(stored.ProjectRateText.View(), "44100");
  EXPECT_EQ(stored.ProjectRate, 44100);
  EXPECT_EQ(stored.OutputRateText.View(), "22050");
  EXPECT_EQ(stored.OutputCodec.View(), "pcm_s16le");
  EXPECT_EQ(stored.MaxLength, 3600);
  EXPECT_EQ(ChoiceOf(SettingsOf({0, 7, 4, 1})), (AudioSettingsChoice{0, 7, 4, 1}));
  EXPECT_EQ(SettingsOf({0, 7, 4, 1}).OutputCodec.View(), "pcm_mulaw");
  read.MaxLength = 30;  // under a minute still shows one
  EXPECT_EQ(ChoiceOf(read).maxMinutes, 1);
}

}  // namespace
}  // namespace corvane
