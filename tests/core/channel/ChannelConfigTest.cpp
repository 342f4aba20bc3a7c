#include "channel/ChannelConfig.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

ChannelConfig FreshChannel() {
  ChannelConfig channel;
  channel.ResetSettings();
  channel.ResetPlaylists();
  return channel;
}

void ExpectEmptyFullDayPlaylist(const PlaylistRecord& list) {
  EXPECT_TRUE(list.entries.empty());
  EXPECT_EQ(list.ListStart_time, 0u);
  EXPECT_EQ(list.ListStop_time, 86399u);
  EXPECT_EQ(list.Media_Duration, 0u);
  EXPECT_EQ(list.PlaylistShuffleEnabled, 0);
  EXPECT_EQ(list.ActiveDays, 127u);
}

TEST(ChannelConfigTest, FreshChannelHasFactorySettingsAndEmptyPlaylists) {
  const ChannelConfig channel = FreshChannel();
  EXPECT_EQ(channel.MasterVolume, 5);
  EXPECT_EQ(channel.CrossFadeVolume, 2);
  EXPECT_EQ(channel.Treble, 0);
  EXPECT_EQ(channel.Bass, 0);
  EXPECT_EQ(channel.LocalVolumeEnabled, 1);
  EXPECT_EQ(channel.ExtAudioEnabled, 0);
  EXPECT_EQ(channel.Time_Between_Messages, 20);
  EXPECT_EQ(channel.MusicVolume, 10);
  EXPECT_EQ(channel.MessageVolume, 10);
  EXPECT_EQ(channel.Auto_Add_Default_Music, 1);
  EXPECT_EQ(channel.Time_Between_Repeats, 0);
  EXPECT_EQ(channel.LimitLengthEnabled, 0);
  ExpectEmptyFullDayPlaylist(channel.Music);
  ExpectEmptyFullDayPlaylist(channel.Messages);
  EXPECT_TRUE(channel.Scheduled.entries.empty());
  EXPECT_TRUE(channel.Scheduled.PA_ListStartTime.empty());
  EXPECT_TRUE(channel.Scheduled.PA_ActiveDays.empty());
  EXPECT_FALSE(channel.HoldsAnyEntry());
}

TEST(ChannelConfigTest, DefaultConstructedChannelIsAllZero) {
  const ChannelConfig channel;
  EXPECT_EQ(channel.MasterVolume, 0);
  EXPECT_EQ(channel.LocalVolumeEnabled, 0);
  EXPECT_EQ(channel.Time_Between_Messages, 0);
  EXPECT_EQ(channel.MusicVolume, 0);
  EXPECT_EQ(channel.Auto_Add_Default_Music, 0);
  for (const PlaylistRecord* list : {&channel.Music, &channel.Messages}) {
    EXPECT_EQ(list->ListStop_time, 0u);
    EXPECT_EQ(list->ActiveDays, 0u);
    EXPECT_EQ(list->reserved, decltype(list->reserved){});
  }
  EXPECT_EQ(channel.reserved, decltype(channel.reserved){});
  EXPECT_EQ(channel.Scheduled.reserved, decltype(channel.Scheduled.reserved){});
  // A channel that was only default-constructed differs from a reset one.
  EXPECT_NE(channel, FreshChannel());
}

TEST(ChannelConfigTest, PlaylistResetKeepsReservedBytesAndSettings) {
  ChannelConfig channel = FreshChannel();
  channel.MasterVolume = 8;
  channel.reserved[43] = 0x11;
  channel.Music.reserved[0] = 0x22;
  channel.Messages.reserved[47] = 0x33;
  channel.Scheduled.reserved[130] = 0x44;
  channel.Music.entries = {MediaEntry{"00:00:01", "a.ogg"}};
  channel.Music.Media_Duration = 1;
  channel.Music.ListStart_time = 3600;
  channel.Messages.PlaylistShuffleEnabled = 1;
  channel.Messages.ActiveDays = 0x02;
  channel.Scheduled.AddEntry(MediaEntry{"00:00:02", "b.ogg"}, 60, 0x1C011F7F);
  channel.Scheduled.Media_Duration = 2;

  channel.ResetPlaylists();

  ExpectEmptyFullDayPlaylist(channel.Music);
  ExpectEmptyFullDayPlaylist(channel.Messages);
  EXPECT_EQ(channel.Scheduled.EntryCount(), 0u);
  EXPECT_TRUE(channel.Scheduled.IsInStep());
  EXPECT_EQ(channel.Scheduled.Media_Duration, 0u);
  EXPECT_EQ(channel.MasterVolume, 8);
  EXPECT_EQ(channel.reserved[43], 0x11);
  EXPECT_EQ(channel.Music.reserved[0], 0x22);
  EXPECT_EQ(channel.Messages.reserved[47], 0x33);
  EXPECT_EQ(channel.Scheduled.reserved[130], 0x44);
}

TEST(ChannelConfigTest, SettingsResetZeroesOnlyTheSettingsReservedArea) {
  ChannelConfig channel;
  channel.reserved.fill(0xAB);
  channel.Music.reserved[5] = 0x22;
  channel.Music.entries = {MediaEntry{"00:00:01", "a.ogg"}};

  channel.ResetSettings();

  EXPECT_EQ(channel.reserved, decltype(channel.reserved){});
  EXPECT_EQ(channel.Music.reserved[5], 0x22);
  EXPECT_EQ(channel.Music.entries.size(), 1u);
}

TEST(ChannelConfigTest, HoldsAnyEntryLooksAtAllThreePlaylists) {
  ChannelConfig music;
  music.Music.entries = {MediaEntry{"", "x"}};
  ChannelConfig messages;
  messages.Messages.entries = {MediaEntry{"", "x"}};
  ChannelConfig scheduled;
  scheduled.Scheduled.AddEntry({"", "x"});
  EXPECT_TRUE(music.HoldsAnyEntry());
  EXPECT_TRUE(messages.HoldsAnyEntry());
  EXPECT_TRUE(scheduled.HoldsAnyEntry());
  EXPECT_FALSE(ChannelConfig{}.HoldsAnyEntry());
}

TEST(ChannelConfigTest, ScheduledAddAndRemoveKeepTheSequencesInStep) {
  ScheduledRecord scheduled;
  scheduled.AddEntry({"", "first"});
  scheduled.AddEntry({"", "second"}, 3600, 0x36010F22);
  scheduled.AddEntry({"", "third"}, 7200, 0x1C011F7F);

  ASSERT_EQ(scheduled.EntryCount(), 3u);
  ASSERT_TRUE(scheduled.IsInStep());
  EXPECT_EQ(scheduled.PA_ListStartTime[0], 0u);  // a new entry starts at midnight
  EXPECT_EQ(scheduled.PA_ActiveDays[0], 0u);     // with no schedule

  ASSERT_TRUE(scheduled.RemoveEntry(1));
  ASSERT_TRUE(scheduled.IsInStep());
  EXPECT_EQ(scheduled.entries, (std::vector<MediaEntry>{{"", "first"}, {"", "third"}}));
  EXPECT_EQ(scheduled.PA_ListStartTime, (std::vector<std::uint32_t>{0, 7200}));
  EXPECT_EQ(scheduled.PA_ActiveDays, (std::vector<std::uint32_t>{0, 0x1C011F7F}));

  EXPECT_FALSE(scheduled.RemoveEntry(2));
  EXPECT_EQ(scheduled.EntryCount(), 2u);
}

TEST(ChannelConfigTest, RemoveRefusesARecordOutOfStep) {
  ScheduledRecord damaged;
  damaged.entries = {MediaEntry{"", "a"}, MediaEntry{"", "b"}};
  damaged.PA_ListStartTime = {0};
  damaged.PA_ActiveDays = {0, 0};
  EXPECT_FALSE(damaged.IsInStep());
  EXPECT_FALSE(damaged.RemoveEntry(1));
  EXPECT_EQ(damaged.entries.size(), 2u);
}

}  // namespace
}  // namespace corvane
