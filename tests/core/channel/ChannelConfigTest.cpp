// The factory settings themselves are pinned by the golden settings file and
// configuration record; here, what each reset leaves alone.
#include "channel/ChannelConfig.h"

#include <gtest/gtest.h>

#include "support/TestData.h"

namespace corvane {
namespace {

using test::FreshChannel;

TEST(ChannelConfigTest, PlaylistResetEmptiesTheListsAndKeepsSettingsAndReservedBytes) {
  ChannelConfig channel = FreshChannel();
  channel.MasterVolume = 8;
  channel.reserved[43] = 0x11;
  channel.Music.reserved[0] = 0x22;
  channel.Messages.reserved[47] = 0x33;
  channel.Scheduled.reserved[130] = 0x44;
  ChannelConfig expected = channel;
  channel.Music.entries = {MediaEntry{"00:00:01", "a.ogg"}};
  channel.Music.Media_Duration = 1;
  channel.Music.ListStart_time = 3600;
  channel.Messages.PlaylistShuffleEnabled = 1;
  channel.Messages.ActiveDays = 0x02;
  channel.Messages.ListStop_time = 60;
  channel.Scheduled.AddEntry(MediaEntry{"00:00:02", "b.ogg"}, 60, 0x1C011F7F);
  channel.Scheduled.Media_Duration = 2;
  ASSERT_TRUE(channel.HoldsAnyEntry());

  channel.ResetPlaylists();
  EXPECT_EQ(channel, expected);
  EXPECT_FALSE(channel.HoldsAnyEntry());
}

TEST(ChannelConfigTest, ScheduledAddAndRemoveKeepTheSequencesInStep) {
  ScheduledRecord scheduled;
  scheduled.AddEntry({"", "first"});
  scheduled.AddEntry({"", "second"}, 3600, 0x36010F22);
  scheduled.AddEntry({"", "third"}, 7200, 0x1C011F7F);
  ASSERT_EQ(scheduled.EntryCount(), 3u);
  EXPECT_EQ(scheduled.PA_ListStartTime[0], 0u);  // a new entry starts at midnight
  EXPECT_EQ(scheduled.PA_ActiveDays[0], 0u);     // with no schedule

  ASSERT_TRUE(scheduled.RemoveEntry(1));
  ASSERT_TRUE(scheduled.IsInStep());
  EXPECT_EQ(scheduled.entries, (std::vector<MediaEntry>{{"", "first"}, {"", "third"}}));
  EXPECT_EQ(scheduled.PA_ListStartTime, (std::vector<std::uint32_t>{0, 7200}));
  EXPECT_EQ(scheduled.PA_ActiveDays, (std::vector<std::uint32_t>{0, 0x1C011F7F}));
  EXPECT_FALSE(scheduled.RemoveEntry(2));
  EXPECT_EQ(scheduled.EntryCount(), 2u);

  // A record out of step is not touched.
  scheduled.PA_ListStartTime.pop_back();
  EXPECT_FALSE(scheduled.IsInStep());
  EXPECT_FALSE(scheduled.RemoveEntry(0));
  EXPECT_EQ(scheduled.entries.size(), 2u);
}

}  // namespace
}  // namespace corvane
