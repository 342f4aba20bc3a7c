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
  PlayTimeFigures f;
  f.capacitySeconds = 720;
  f.musicSeconds = 600;
  f.messageCount = 3;
  f.messageSeconds = 300;
  f.secondsBetween = secondsBetween;
  f.bytesPerSecond = 44100;
  return f;
}

TEST(PlayTime, UsedFigureOfEachListInEachAccounting) {
  PlayTimeFigures gaps;  // two messages of 100 s in all, 20 s apart, under 50 s of music
  gaps.musicSeconds = 50;
  gaps.messageCount = 2;
  gaps.messageSeconds = 100;
  gaps.secondsBetween = 20;
  gaps.bytesPerSecond = 44100;
  gaps.folderBytes = 1000000;
  const struct {
    PlayTimeAccounting accounting;
    PlayTimeList list;
    std::int64_t extra, used;
  } cases[] = {
      {kTime, PlayTimeList::Other, 0, 140},  // the longer of music and messages with gaps
      {kTime, PlayTimeList::Other, 7, 147},
      {kTime, PlayTimeList::Messages, 30, 190},  // a new message brings its own gap
      {kTime, PlayTimeList::Music, 30, 80},
      {kStorage, PlayTimeList::Music, 30, 176},  // 8 x (1,000,000 / 44,100); list and extra unused
      {kStorage, PlayTimeList::Other, 0, 176},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UsedSeconds(c.accounting, gaps, c.extra, c.list), c.used)
        << static_cast<int>(c.list) << " + " << c.extra;
  }
  gaps.bytesPerSecond = 0;  // a damaged rate
  EXPECT_EQ(UsedSeconds(kStorage, gaps, 0, PlayTimeList::Other), 0);
}

TEST(PlayTime, TheDisplayShowsWhatRemainsAndTurnsRedAboveNinetyPercent) {
  const struct {
    std::int64_t used;  // of 720 s, as music alone
    const char* text;
    bool red;
    std::int64_t bar;
  } cases[] = {{600, "00:02", false, 2}, {648, "00:01", false, 1},  // 90% exactly is still green
               {649, "00:01", true, 1},  {660, "00:01", true, 1},   // 60 s left: a minute
               {661, "<1 min", true, 0}, {720, "<1 min", true, 0},  // full is not over
               {0, "00:12", false, 12}};
  for (const auto& c : cases) {
    PlayTimeAccount account(kTime);
    PlayTimeFigures f = OneWithMessages(0);
    f.messageCount = f.messageSeconds = 0;
    f.musicSeconds = c.used;
    EXPECT_FALSE(account.IsOverCapacity(f, 0, PlayTimeList::Other));
    ASSERT_TRUE(account.Display());
    EXPECT_EQ(account.Display()->usedSeconds, c.used);
    EXPECT_EQ(account.Display()->text, c.text) << c.used;
    EXPECT_EQ(account.Display()->red, c.red) << c.used;
    EXPECT_EQ(account.Display()->barPosition, c.bar) << c.used;
  }
  EXPECT_EQ(RemainingBarRange(720), 12);
}

TEST(PlayTime, OnlyTheOverviewRedrawsInTimeAccountingAndAnOverrunDrawsNothing) {
  PlayTimeAccount account(kTime);
  const PlayTimeFigures f = OneWithMessages(100);
  EXPECT_FALSE(account.IsOverCapacity(f, 0, PlayTimeList::Music));
  EXPECT_FALSE(account.IsOverCapacity(f, 0, PlayTimeList::Messages));  // 4 x 100 + 300
  EXPECT_FALSE(account.Display());
  EXPECT_FALSE(account.IsOverCapacity(f, 0, PlayTimeList::Other));
  ASSERT_TRUE(account.Display());
  EXPECT_EQ(account.Display()->usedSeconds, 600);
  EXPECT_TRUE(account.IsOverCapacity(f, 121, PlayTimeList::Other));
  EXPECT_TRUE(account.IsOverCapacity(f, 121, PlayTimeList::Music));
  EXPECT_EQ(account.Display()->usedSeconds, 600);

  // Storage accounting draws from every list.
  PlayTimeAccount storage(kStorage);
  PlayTimeFigures stored = f;
  stored.folderBytes = 44100 * 10;
  EXPECT_FALSE(storage.IsOverCapacity(stored, 0, PlayTimeList::Music));
  ASSERT_TRUE(storage.Display());
  EXPECT_EQ(storage.Display()->usedSeconds, 80);
}

TEST(PlayTime, DurationsAndListLabels) {
  EXPECT_EQ(FormatDuration(3725, true), "01:02:05");
  EXPECT_EQ(FormatDuration(0, true), "00:00:00");
  EXPECT_EQ(FormatDuration(-5, true), "00:00:00");
  EXPECT_EQ(FormatDuration(3725, false), "01:02");
  EXPECT_EQ(FormatDuration(59, false), "<1 min");
  EXPECT_EQ(FormatDuration(60, false), "00:01");
  EXPECT_EQ(FormatDuration(3600, false), "01:00");

  const ChannelListLabels labels = ListLabels(OneWithMessages(100), 4, 1);
  EXPECT_EQ(labels.musicDuration, "Duration: 00:10:00");
  EXPECT_EQ(labels.musicFiles, "Files: 4");
  EXPECT_EQ(labels.messageDuration, "Duration: 00:05:00");
  EXPECT_EQ(labels.messageFiles, "Files: 3");
  EXPECT_EQ(labels.totalMessagePlay, "Total Message Play Duration: 00:10:00");
  EXPECT_EQ(labels.scheduledFiles, "Files: 1");
}

TEST(PlayTime, TheSpacingOfMessagesStopsWhereTheDeviceIsFull) {
  ScriptedOperator op;
  PlayTimeAccount account(kTime);
  const PlayTimeFigures f = OneWithMessages(100);
  EXPECT_TRUE(MaySpaceMessages(account, f, 140, op));  // 3 x 140 + 300 = 720
  EXPECT_EQ(account.Display()->text, "<1 min");
  op.ExpectMessage("Media Length Error", "Message play time exceeds available device time.");
  EXPECT_FALSE(MaySpaceMessages(account, f, 141, op));
  EXPECT_EQ(op.History().back().icon, OperatorIcon::Stop);
  EXPECT_EQ(account.Display()->usedSeconds, 720);
  EXPECT_FALSE(MaySpaceMessages(account, f, -1, op));  // below the spin: put back silently

  PlayTimeAccount storage(kStorage);
  EXPECT_TRUE(MaySpaceMessages(storage, f, 5999, op));
  EXPECT_FALSE(MaySpaceMessages(storage, f, -1, op));
  EXPECT_EQ(op.History().size(), 1u);
}

TEST(PlayTime, LoadDefaultsAndSaveAskOnlyWhereTheMessagesDoNotFit) {
  ScriptedOperator op;
  PlayTimeFigures f = OneWithMessages(100);
  f.messageSeconds = 660;  // + 3 x 20 = 720: fits
  EXPECT_TRUE(DefaultSpacingFits(kTime, f, op));
  f.messageSeconds = 661;
  EXPECT_TRUE(DefaultSpacingFits(kStorage, f, op));
  op.ExpectMessage("Error",
                   "Loading Default Time Between Messages value will exceed device storage.  "
                   "Delete some message files and try again.");
  EXPECT_FALSE(DefaultSpacingFits(kTime, f, op));

  // 600 s of music under 3 x 100 + 300 of messages: not longer, not asked.
  f = OneWithMessages(100);
  EXPECT_TRUE(AcceptMessagesOutlastingMusic(kTime, f, op));
  f.secondsBetween = 101;
  EXPECT_TRUE(AcceptMessagesOutlastingMusic(kStorage, f, op));
  for (const auto answer : {OperatorAnswer::No, OperatorAnswer::Yes}) {
    op.ExpectQuestion("Media Length Mismatch",
                      "Messages will play longer than background music.  Are you sure?", answer);
    EXPECT_EQ(AcceptMessagesOutlastingMusic(kTime, f, op), answer == OperatorAnswer::Yes);
    EXPECT_EQ(op.History().back().buttons, OperatorButtons::YesNo);
  }
  f.musicSeconds = 0;  // no music: nothing to outlast
  EXPECT_TRUE(AcceptMessagesOutlastingMusic(kTime, f, op));
  EXPECT_EQ(op.History().size(), 3u);
}

TEST(PlayTime, TheFolderSizeCountsOnlyFilesDirectlyInside) {
  test::TempFolder folder;
  test::WriteWholeFile(folder / "a.ogg", std::vector<std::uint8_t>(1000, 1));
  test::WriteWholeFile(folder / "b.ogg", std::vector<std::uint8_t>(24, 2));
  std::filesystem::create_directories(folder / "sub");
  test::WriteWholeFile(folder / "sub" / "c.ogg", std::vector<std::uint8_t>(500, 3));
  std::filesystem::create_symlink(folder / "a.ogg", folder / "link.ogg");
  EXPECT_EQ(FolderFileBytes(folder.Path()), 1024u);
  EXPECT_EQ(FolderFileBytes(folder / "missing"), 0u);
}

}  // namespace
}  // namespace corvane
