#include "channel/PlayTime.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"

namespace corvane {
namespace {

using test::ScriptedOperator;
constexpr auto kTime = PlayTimeAccounting::Time;
constexpr auto kStorage = PlayTimeAccounting::Storage;

// Tonvex-One's 720 s, 600 s of music and three messages of 300 s in all.
PlayTimeFigures OneWithMessages(std::int64_t secondsBetween) {
  return {600, 300, 3, secondsBetween, 720, 44100, 1000000};
}

TEST(PlayTime, UsedFigureOfEachListInEachAccounting) {
  const struct {
    PlayTimeAccounting accounting;
    PlayTimeList list;
    std::int64_t extra, used;
  } cases[] = {
      {kTime, PlayTimeList::Other, 7, 607},      // the longer of music and messages with gaps
      {kTime, PlayTimeList::Messages, 30, 730},  // a new message brings its own gap
      {kTime, PlayTimeList::Music, 30, 630},
      {kStorage, PlayTimeList::Music, 30, 176},  // 8 x (1,000,000 / 44,100); list and extra unused
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsedSeconds(c.accounting, OneWithMessages(100), c.extra, c.list), c.used) << c.used;
  }
  PlayTimeFigures damaged = OneWithMessages(100);
  damaged.bytesPerSecond = 0;
  EXPECT_EQ(UsedSeconds(kStorage, damaged, 0, PlayTimeList::Other), 0);
}

TEST(PlayTime, TheDisplayShowsWhatRemainsAndTurnsRedAboveNinetyPercent) {
  const struct {
    std::int64_t used;  // of 720 s, as music alone
    const char* text;
    bool red;
    std::int64_t bar;
  } cases[] = {{600, "00:02", false, 2}, {648, "00:01", false, 1}, {649, "00:01", true, 1},
               {660, "00:01", true, 1},  {661, "<1 min", true, 0}, {720, "<1 min", true, 0}};
  for (const auto& c : cases) {
    PlayTimeAccount account(kTime);
    EXPECT_FALSE(account.IsOverCapacity({c.used, 0, 0, 0, 720, 44100, 0}, 0, PlayTimeList::Other));
    ASSERT_TRUE(account.Display());
    EXPECT_EQ(account.Display()->text, c.text) << c.used;
    EXPECT_EQ(account.Display()->red, c.red) << c.used;
    EXPECT_EQ(account.Display()->barPosition, c.bar) << c.used;
  }
  EXPECT_EQ(RemainingBarRange(720), 12);
  EXPECT_EQ(FormatDuration(3725, true), "01:02:05");
  EXPECT_EQ(FormatDuration(3725, false), "01:02");
  const ChannelListLabels labels = ListLabels(OneWithMessages(100), 4, 1);
  EXPECT_EQ(labels.musicFiles, "Files: 4");
  EXPECT_EQ(labels.totalMessagePlay, "Total Message Play Duration: 00:10:00");
}

TEST(PlayTime, OnlyTheOverviewRedrawsInTimeAccountingAndAnOverrunDrawsNothing) {
  PlayTimeAccount account(kTime);
  const PlayTimeFigures f = OneWithMessages(100);
  EXPECT_FALSE(account.IsOverCapacity(f, 0, PlayTimeList::Music));
  EXPECT_FALSE(account.IsOverCapacity(f, 0, PlayTimeList::Messages));  // 4 x 100 + 300
  EXPECT_FALSE(account.Display());
  EXPECT_FALSE(account.IsOverCapacity(f, 0, PlayTimeList::Other));
  EXPECT_TRUE(account.IsOverCapacity(f, 121, PlayTimeList::Other));
  EXPECT_EQ(account.Display()->usedSeconds, 600);
}

TEST(PlayTime, SpacingLoadDefaultsAndSaveRefuseOrAskOnlyWhereTheMessagesDoNotFit) {
  ScriptedOperator op;
  PlayTimeAccount account(kTime);
  PlayTimeFigures f = OneWithMessages(100);
  EXPECT_TRUE(MaySpaceMessages(account, f, 140, op));  // 3 x 140 + 300 = 720
  op.ExpectMessage("Media Length Error", "Message play time exceeds available device time.");
  EXPECT_FALSE(MaySpaceMessages(account, f, 141, op));
  EXPECT_FALSE(MaySpaceMessages(account, f, -1, op));  // below the spin: put back silently
  PlayTimeAccount storage(kStorage);
  EXPECT_TRUE(MaySpaceMessages(storage, f, 5999, op));

  f.messageSeconds = 661;  // + 3 x 20 > 720
  EXPECT_TRUE(DefaultSpacingFits(kStorage, f, op));
  op.ExpectMessage("Error",
                   "Loading Default Time Between Messages value will exceed device storage.  "
                   "Delete some message files and try again.");
  EXPECT_FALSE(DefaultSpacingFits(kTime, f, op));

  // Where the messages outlast the music, the editor's test asks.
  f = OneWithMessages(100);  // 600 s of messages beside 600 of music: not asked
  EXPECT_TRUE(AcceptMessagesOutlastingMusic(kTime, f, op));
  f.secondsBetween = 101;
  EXPECT_TRUE(AcceptMessagesOutlastingMusic(kStorage, f, op));
}

TEST(PlayTime, TheFolderSizeCountsOnlyFilesDirectlyInside) {
  test::TempFolder folder;
  test::WriteWholeFile(folder / "a.ogg", std::vector<std::uint8_t>(1000, 1));
  std::filesystem::create_directories(folder / "sub");
  test::WriteWholeFile(folder / "sub" / "c.ogg", std::vector<std::uint8_t>(500, 3));
  std::filesystem::create_symlink(folder / "a.ogg", folder / "link.ogg");
  EXPECT_EQ(FolderFileBytes(folder.Path()), 1000u);
  EXPECT_EQ(FolderFileBytes(folder / "missing"), 0u);
}

}  // namespace
}  // namespace corvane
