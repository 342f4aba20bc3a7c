#include "channel/ChannelSettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::FreshChannel;

constexpr int kTonvexSu = 1;
constexpr int kTonvexMix = 3;
constexpr int kTonvexV5 = 4;

class ChannelSettingsFileTest : public ::testing::Test {
 protected:
  test::TempFolder root_;
  // A folder not made yet, as on the first start of the tool.
  fs::path appFolder_ = root_ / "Melloway";
};

TEST_F(ChannelSettingsFileTest, DefaultSettingsEncodeToTheKnownBytes) {
  const ChannelSettingsBytes expected = {0, 0, 0, 0x05, 0, 0, 0, 0x02, 0, 0, 0, 0x00, 0, 0, 0, 0x00,
                                         0, 0, 0, 0x0A, 0, 0, 0, 0x0A, 0, 0, 0, 0x01, 0, 0, 0, 0x00,
                                         0, 0, 0, 0x00, 0, 0, 0, 0x14, 0, 0, 0, 0x01, 0, 0, 0, 0x00,
                                         0, 0, 0, 0x00, 0, 0, 0, 0x00};
  EXPECT_EQ(EncodeChannelSettings(ValuesFromChannel(FreshChannel())), expected);
}

TEST_F(ChannelSettingsFileTest, WordEncodingsFollowTheControlKind) {
  ChannelSettingsValues values;
  values.treble = -3;  // spin: 16 bits, not sign-extended
  values.bass = -5;
  values.masterVolume = 0x1234;   // spin: low 16 bits
  values.repeatMinutes = -1;      // spin: FF FF in the low half
  values.messageMinutes = 0x1FF;  // minutes: low byte only
  values.messageSeconds = -1;     // seconds: low byte only
  values.localVolumeEnabled = true;
  values.limitLengthEnabled = true;
  const ChannelSettingsBytes expected = {0, 0, 0x12, 0x34, 0, 0, 0, 0,    0, 0, 0xFF, 0xFD, 0, 0, 0xFF, 0xFB,
                                         0, 0, 0,    0,    0, 0, 0, 0,    0, 0, 0,    1,    0, 0, 0,    0,
                                         0, 0, 0,    0xFF, 0, 0, 0, 0xFF, 0, 0, 0,    0,    0, 0, 0xFF, 0xFF,
                                         0, 0, 0,    0,    0, 0, 0, 1};
  EXPECT_EQ(EncodeChannelSettings(values), expected);
}

TEST_F(ChannelSettingsFileTest, DecodeReadsOnlyTheBytesThePlayerUsesAndWrapsTimes) {
  ChannelSettingsBytes bytes{};
  bytes.fill(0xA5);  // noise everywhere the reader must ignore
  // The low byte of master, cross-fade, treble (-2), bass, music, message,
  // local volume, external audio, auto-add and limit length; the low halves
  // of the four time words: 2 min 5 s, then 1 min 256 s with no range check.
  bytes[3] = 7, bytes[7] = 1, bytes[11] = 0xFE, bytes[15] = 4, bytes[19] = 3, bytes[23] = 4;
  bytes[27] = 1, bytes[31] = 0, bytes[43] = 0, bytes[55] = 2;
  bytes[34] = 0, bytes[35] = 2, bytes[38] = 0, bytes[39] = 5;
  bytes[46] = 0, bytes[47] = 1, bytes[50] = 1, bytes[51] = 0;
  ChannelConfig channel;
  DecodeChannelSettings(bytes, channel);
  ChannelConfig expected;
  expected.MasterVolume = 7;
  expected.CrossFadeVolume = 1;
  expected.Treble = -2;
  expected.Bass = 4;
  expected.MusicVolume = 3;
  expected.MessageVolume = 4;
  expected.LocalVolumeEnabled = 1;
  expected.LimitLengthEnabled = 2;  // kept as is
  expected.Time_Between_Messages = 125;
  expected.Time_Between_Repeats = 60 + 256;
  EXPECT_EQ(channel, expected);

  // Crafted times wrap to sixteen bits.
  bytes[34] = 0x10, bytes[35] = 0x00;                                      // 4096 minutes
  bytes[46] = 0xFF, bytes[47] = 0xFF, bytes[50] = 0xFF, bytes[51] = 0xFF;  // 65535 both
  DecodeChannelSettings(bytes, channel);
  EXPECT_EQ(channel.Time_Between_Messages, (4096u * 60 + 5) % 65536);
  EXPECT_EQ(channel.Time_Between_Repeats, (65535u * 60 + 65535) % 65536);
}

TEST_F(ChannelSettingsFileTest, SaveWritesTheEncodedBytesUnderTheChannelAndModel) {
  ChannelConfig saved = FreshChannel();
  saved.MasterVolume = 10;
  saved.CrossFadeVolume = 0;
  saved.Treble = 5;
  saved.Bass = -5;
  saved.MusicVolume = 1;
  saved.MessageVolume = 7;
  saved.LocalVolumeEnabled = 0;
  saved.ExtAudioEnabled = 1;
  saved.Auto_Add_Default_Music = 0;
  saved.LimitLengthEnabled = 1;
  saved.Time_Between_Messages = 5999;
  saved.Time_Between_Repeats = 61;  // 99:59 and 1:01
  const ChannelSettingsValues values = ValuesFromChannel(saved);
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 2, kTonvexMix, values));

  ChannelConfig loaded;
  ASSERT_EQ(LoadChannelSettings(loaded, 2, kTonvexMix, appFolder_), 1);
  EXPECT_EQ(loaded, saved);
  // The other channel's file was never written.
  EXPECT_EQ(LoadChannelSettings(loaded, 1, kTonvexMix, appFolder_), 0);

  // The edited channel's number picks the name; 0 stands for channel 1.
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 0, kTonvexSu, values));
  ASSERT_TRUE(SaveChannelSettings(appFolder_, 1, kTonvexV5, values));
  EXPECT_TRUE(fs::exists(appFolder_ / "channel1_settings.1"));
  EXPECT_TRUE(fs::exists(appFolder_ / "channel1_settings.4"));
  EXPECT_EQ(test::NamesIn(appFolder_).size(), 3u);  // no temporary left behind
}

// A missing file, one of the wrong length, or a folder that cannot be made
// gives the defaults. Either way a load empties the lists, with their times,
// days and totals, and keeps every reserved area.
TEST_F(ChannelSettingsFileTest, LoadGivesDefaultsUnlessTheFileIsWholeAndResetsThePlaylists) {
  const auto filled = [](ChannelConfig channel) {
    channel.Music.entries = {MediaEntry{"00:00:01", "a.ogg"}};
    channel.Music.Media_Duration = 1;
    channel.Music.ListStart_time = 3600;
    channel.Messages.PlaylistShuffleEnabled = 1;
    channel.Messages.ActiveDays = 0x02;
    channel.Messages.ListStop_time = 60;
    channel.Scheduled.AddEntry(MediaEntry{"00:00:02", "b.ogg"}, 60, 0x1C011F7F);
    channel.Scheduled.Media_Duration = 2;
    return channel;
  };
  ChannelConfig channel = filled(FreshChannel());
  EXPECT_EQ(LoadChannelSettings(channel, 1, 2, appFolder_), 0);
  EXPECT_EQ(channel, FreshChannel());
  EXPECT_TRUE(fs::is_directory(appFolder_));  // the folder is made for next time

  ChannelConfig odd = FreshChannel();
  odd.MasterVolume = 9;
  const ChannelSettingsBytes good = EncodeChannelSettings(ValuesFromChannel(odd));
  for (std::size_t size : {std::size_t{55}, std::size_t{57}, std::size_t{0}, std::size_t{300}}) {
    Bytes bytes(good.begin(), good.end());
    bytes.resize(size, 0x09);
    test::WriteWholeFile(appFolder_ / "channel1_settings.2", bytes);
    channel.reserved.fill(0xEE);
    EXPECT_EQ(LoadChannelSettings(channel, 1, 2, appFolder_), 0) << size;
    EXPECT_EQ(channel, FreshChannel()) << size;  // defaults, reserved zeroed
  }
  test::WriteWholeFile(root_ / "blocker", Bytes{1});  // a file where the folder should be
  EXPECT_FALSE(
      SaveChannelSettings(root_ / "blocker", 1, kTonvexSu, ValuesFromChannel(FreshChannel())));
  EXPECT_EQ(LoadChannelSettings(channel, 1, kTonvexSu, root_ / "blocker"), 0);
  EXPECT_EQ(channel, FreshChannel());

  test::WriteWholeFile(appFolder_ / "channel1_settings.2", Bytes(good.begin(), good.end()));
  ChannelConfig expected = odd;
  expected.reserved[43] = 0x11;
  expected.Music.reserved[0] = 0x22;
  expected.Messages.reserved[47] = 0x33;
  expected.Scheduled.reserved[130] = 0x44;
  channel = filled(expected);
  channel.MasterVolume = 3;
  ASSERT_TRUE(channel.HoldsAnyEntry());
  EXPECT_EQ(LoadChannelSettings(channel, 1, 2, appFolder_), 1);
  EXPECT_EQ(channel, expected);
  EXPECT_FALSE(channel.HoldsAnyEntry());
}

}  // namespace
}  // namespace corvane
