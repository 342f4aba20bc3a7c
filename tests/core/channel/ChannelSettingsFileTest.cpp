#include "channel/ChannelSettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "channel/ChannelConfig.h"
#include "support/TempFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr int kTonvexSu = 1;
constexpr int kTonvexMix = 3;
constexpr int kTonvexV5 = 4;

ChannelConfig FreshChannel() {
  ChannelConfig channel;
  channel.ResetSettings();
  channel.ResetPlaylists();
  return channel;
}

class ChannelSettingsFileTest : public ::testing::Test {
 protected:
  void WriteRaw(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    test::WriteWholeFile(path, bytes);
  }

  test::TempFolder root_;
  // A folder not made yet, as on the first start of the tool.
  fs::path appFolder_ = root_ / "Melloway";
};

TEST_F(ChannelSettingsFileTest, DefaultSettingsEncodeToTheKnownBytes) {
  const ChannelSettingsBytes bytes = EncodeChannelSettings(ValuesFromChannel(FreshChannel()));
  const ChannelSettingsBytes expected = {
      0, 0, 0, 0x05, 0, 0, 0, 0x02, 0, 0, 0, 0x00, 0, 0, 0, 0x00, 0, 0, 0, 0x0A,
      0, 0, 0, 0x0A, 0, 0, 0, 0x01, 0, 0, 0, 0x00, 0, 0, 0, 0x00, 0, 0, 0, 0x14,
      0, 0, 0, 0x01, 0, 0, 0, 0x00, 0, 0, 0, 0x00, 0, 0, 0, 0x00};
  EXPECT_EQ(bytes, expected);
}

TEST_F(ChannelSettingsFileTest, NegativePositionsAreSixteenBitNotSignExtended) {
  ChannelConfig channel = FreshChannel();
  channel.Treble = -3;
  channel.Bass = -5;
  EXPECT_EQ(static_cast<std::uint8_t>(channel.Treble), 0xFD);

  const ChannelSettingsBytes bytes = EncodeChannelSettings(ValuesFromChannel(channel));
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 8, bytes.begin() + 16),
            (std::vector<std::uint8_t>{0x00, 0x00, 0xFF, 0xFD, 0x00, 0x00, 0xFF, 0xFB}));

  ChannelConfig back = FreshChannel();
  DecodeChannelSettings(bytes, back);
  EXPECT_EQ(back.Treble, -3);
  EXPECT_EQ(back.Bass, -5);
}

TEST_F(ChannelSettingsFileTest, WordEncodingsFollowTheControlKind) {
  ChannelSettingsValues values;
  values.masterVolume = 0x1234;    // spin: low 16 bits
  values.repeatMinutes = -1;       // spin: FF FF in the low half
  values.messageMinutes = 0x1FF;   // minutes: low byte only
  values.messageSeconds = -1;      // seconds: low byte only
  values.localVolumeEnabled = true;
  values.limitLengthEnabled = true;
  const ChannelSettingsBytes bytes = EncodeChannelSettings(values);
  const auto word = [&](std::size_t offset) {
    return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(offset) + 4);
  };
  EXPECT_EQ(word(0), (std::vector<std::uint8_t>{0, 0, 0x12, 0x34}));
  EXPECT_EQ(word(44), (std::vector<std::uint8_t>{0, 0, 0xFF, 0xFF}));
  EXPECT_EQ(word(32), (std::vector<std::uint8_t>{0, 0, 0, 0xFF}));
  EXPECT_EQ(word(36), (std::vector<std::uint8_t>{0, 0, 0, 0xFF}));
  EXPECT_EQ(word(24), (std::vector<std::uint8_t>{0, 0, 0, 1}));
  EXPECT_EQ(word(28), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(word(52), (std::vector<std::uint8_t>{0, 0, 0, 1}));
}

TEST_F(ChannelSettingsFileTest, SaveNamesTheFileAfterChannelAndModel) {
  const ChannelSettingsValues values = ValuesFromChannel(FreshChannel());
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 2, kTonvexSu, values));
  EXPECT_TRUE(fs::exists(appFolder_ / "channel2_settings.1"));
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 0, kTonvexMix, values));
  EXPECT_TRUE(fs::exists(appFolder_ / "channel1_settings.3"));
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 1, kTonvexV5, values));
  EXPECT_TRUE(fs::exists(appFolder_ / "channel1_settings.4"));
  EXPECT_EQ(fs::file_size(appFolder_ / "channel1_settings.4"), 56u);
  // Only those three, no temporary left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(appFolder_), fs::directory_iterator()), 3);

  EXPECT_EQ(ChannelSettingsPathForLoad(appFolder_, 1, 2), appFolder_ / "channel1_settings.2");
  EXPECT_EQ(ChannelSettingsPathForLoad(appFolder_, 2, 2), appFolder_ / "channel2_settings.2");
}

TEST_F(ChannelSettingsFileTest, SaveThenLoadRoundTrips) {
  ChannelConfig saved = FreshChannel();
  saved.MasterVolume = 10;
  saved.CrossFadeVolume = 0;
  saved.Treble = 5;
  saved.Bass = -5;
  saved.MusicVolume = 1;
  saved.MessageVolume = 7;
  saved.LocalVolumeEnabled = 0;
  saved.ExtAudioEnabled = 1;
  saved.Time_Between_Messages = 5999;  // 99:59
  saved.Auto_Add_Default_Music = 0;
  saved.Time_Between_Repeats = 61;
  saved.LimitLengthEnabled = 1;
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 2, kTonvexMix, ValuesFromChannel(saved)));

  ChannelConfig loaded;
  ASSERT_EQ(LoadChannelSettings(loaded, 2, kTonvexMix, appFolder_), 1);
  EXPECT_EQ(loaded, saved);
  // The other channel's file was never written.
  EXPECT_EQ(LoadChannelSettings(loaded, 1, kTonvexMix, appFolder_), 0);
}

TEST_F(ChannelSettingsFileTest, SavedFileIsExactlyTheEncodedBytes) {
  ChannelConfig channel = FreshChannel();
  channel.Time_Between_Messages = 5999;
  const ChannelSettingsValues values = ValuesFromChannel(channel);
  EXPECT_EQ(values.messageMinutes, 99);
  EXPECT_EQ(values.messageSeconds, 59);
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 1, kTonvexSu, values));
  const ChannelSettingsBytes encoded = EncodeChannelSettings(values);
  EXPECT_EQ(test::ReadWholeFile(appFolder_ / "channel1_settings.1"),
            std::vector<std::uint8_t>(encoded.begin(), encoded.end()));
}

TEST_F(ChannelSettingsFileTest, WrongLengthOrMissingFileLoadsDefaults) {
  ChannelConfig odd = FreshChannel();
  odd.MasterVolume = 9;
  const ChannelSettingsBytes good = EncodeChannelSettings(ValuesFromChannel(odd));
  const fs::path path = appFolder_ / "channel1_settings.2";

  for (std::size_t size : {std::size_t{55}, std::size_t{57}, std::size_t{0}, std::size_t{300}}) {
    std::vector<std::uint8_t> bytes(good.begin(), good.end());
    bytes.resize(size, 0x09);
    WriteRaw(path, bytes);
    ChannelConfig channel;
    channel.reserved.fill(0xEE);
    EXPECT_EQ(LoadChannelSettings(channel, 1, 2, appFolder_), 0) << size;
    EXPECT_EQ(channel, FreshChannel()) << size;  // defaults, reserved zeroed
  }

  fs::remove(path);
  ChannelConfig missing;
  EXPECT_EQ(LoadChannelSettings(missing, 1, 2, appFolder_), 0);
  EXPECT_EQ(missing, FreshChannel());
  EXPECT_TRUE(fs::is_directory(appFolder_));  // the folder is made for next time
}

TEST_F(ChannelSettingsFileTest, LoadNeverKeepsOldPlaylists) {
  ChannelConfig channel = FreshChannel();
  channel.Music.entries = {MediaEntry{"00:00:01", "a.ogg"}};
  channel.Messages.ActiveDays = 3;
  channel.Scheduled.AddEntry(MediaEntry{"00:00:02", "b.ogg"}, 60, 0x1C011F7F);
  EXPECT_EQ(LoadChannelSettings(channel, 1, kTonvexSu, appFolder_), 0);
  EXPECT_FALSE(channel.HoldsAnyEntry());
  EXPECT_EQ(channel.Messages.ActiveDays, 127u);
  EXPECT_TRUE(channel.Scheduled.PA_ListStartTime.empty());

  ASSERT_TRUE(SaveChannelSettings(appFolder_, 1, kTonvexSu, ValuesFromChannel(channel)));
  channel.Music.entries = {MediaEntry{"00:00:01", "a.ogg"}};
  EXPECT_EQ(LoadChannelSettings(channel, 1, kTonvexSu, appFolder_), 1);
  EXPECT_FALSE(channel.HoldsAnyEntry());
}

TEST_F(ChannelSettingsFileTest, SuccessfulLoadKeepsTheReservedArea) {
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 1, kTonvexSu, ValuesFromChannel(FreshChannel())));
  ChannelConfig channel;
  channel.reserved[0] = 0x5A;
  channel.Music.reserved[1] = 0x5B;
  ASSERT_EQ(LoadChannelSettings(channel, 1, kTonvexSu, appFolder_), 1);
  EXPECT_EQ(channel.reserved[0], 0x5A);
  EXPECT_EQ(channel.Music.reserved[1], 0x5B);
}

TEST_F(ChannelSettingsFileTest, DecodeReadsOnlyTheBytesThePlayerUses) {
  ChannelSettingsBytes bytes{};
  bytes.fill(0xA5);  // noise everywhere the reader must ignore
  bytes[3] = 7;      // master
  bytes[7] = 1;      // crossfade
  bytes[11] = 0xFE;  // treble -2
  bytes[15] = 0x04;  // bass
  bytes[19] = 3;
  bytes[23] = 4;
  bytes[27] = 1;
  bytes[31] = 0;
  bytes[34] = 0x00, bytes[35] = 0x02;  // 2 minutes
  bytes[38] = 0x00, bytes[39] = 0x05;  // 5 seconds
  bytes[43] = 0;
  bytes[46] = 0x00, bytes[47] = 0x01;
  bytes[50] = 0x01, bytes[51] = 0x00;  // 256 seconds, no range check
  bytes[55] = 2;                       // kept as is

  ChannelConfig channel;
  DecodeChannelSettings(bytes, channel);
  EXPECT_EQ(channel.MasterVolume, 7);
  EXPECT_EQ(channel.CrossFadeVolume, 1);
  EXPECT_EQ(channel.Treble, -2);
  EXPECT_EQ(channel.Bass, 4);
  EXPECT_EQ(channel.MusicVolume, 3);
  EXPECT_EQ(channel.MessageVolume, 4);
  EXPECT_EQ(channel.LocalVolumeEnabled, 1);
  EXPECT_EQ(channel.ExtAudioEnabled, 0);
  EXPECT_EQ(channel.Time_Between_Messages, 125);
  EXPECT_EQ(channel.Auto_Add_Default_Music, 0);
  EXPECT_EQ(channel.Time_Between_Repeats, 60 + 256);
  EXPECT_EQ(channel.LimitLengthEnabled, 2);
}

TEST_F(ChannelSettingsFileTest, CraftedTimesWrapToSixteenBits) {
  ChannelSettingsBytes bytes = EncodeChannelSettings(ValuesFromChannel(FreshChannel()));
  bytes[34] = 0x10, bytes[35] = 0x00;  // 4096 minutes
  bytes[38] = 0x00, bytes[39] = 0x07;
  bytes[46] = 0xFF, bytes[47] = 0xFF;  // 65535 minutes
  bytes[50] = 0xFF, bytes[51] = 0xFF;  // 65535 seconds
  WriteRaw(appFolder_ / "channel2_settings.4", {bytes.begin(), bytes.end()});

  ChannelConfig channel;
  ASSERT_EQ(LoadChannelSettings(channel, 2, kTonvexV5, appFolder_), 1);
  EXPECT_EQ(channel.Time_Between_Messages, (4096u * 60 + 7) % 65536);
  EXPECT_EQ(channel.Time_Between_Repeats, (65535u * 60 + 65535) % 65536);
}

TEST_F(ChannelSettingsFileTest, UnwritableFolderFailsTheSave) {
  // A file where the folder should be.
  WriteRaw(root_ / "blocker", {1});
  EXPECT_FALSE(SaveChannelSettings(root_ / "blocker", 1, kTonvexSu,
                                   ValuesFromChannel(FreshChannel())));
  ChannelConfig channel;
  EXPECT_EQ(LoadChannelSettings(channel, 1, kTonvexSu, root_ / "blocker"), 0);
  EXPECT_EQ(channel, FreshChannel());
}

}  // namespace
}  // namespace corvane
