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

}  // namespace
}  // namespace corvane
