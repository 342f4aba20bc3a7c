#include "channel/MediaEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

TEST(MediaEntryTest, FormatsDurationAndFileName) {
  EXPECT_EQ(FormatEntry(232, "default_music.ogg"), "00:03:52 | default_music.ogg");
  EXPECT_EQ(FormatEntry(0, "a.ogg"), "00:00:00 | a.ogg");
  EXPECT_EQ(FormatEntry(3600 * 12 + 60 * 34 + 56, "b.ogg"), "12:34:56 | b.ogg");
  EXPECT_EQ(FormatDurationLabel(99 * 3600 + 59 * 60 + 59), "99:59:59");
}

TEST(MediaEntryTest, LongAndNegativeDurations) {
  EXPECT_EQ(FormatDurationLabel(100 * 3600), "100:00:00");
  EXPECT_EQ(FormatDurationLabel(1234 * 3600 + 61), "1234:01:01");
  EXPECT_EQ(FormatDurationLabel(-1), "00:00:00");
  EXPECT_EQ(FormatDurationLabel(-100000), "00:00:00");
}

TEST(MediaEntryTest, EntryIsCutToTheLongestLineTheRecordHolds) {
  const std::string line = FormatEntry(5, std::string(3000, 'x'));
  EXPECT_EQ(line.size(), kMaxEntryLength);
  EXPECT_EQ(line.substr(0, 11), "00:00:05 | ");
  EXPECT_EQ(FormatEntry(5, std::string(2047 - 11, 'y')).size(), kMaxEntryLength);
}

TEST(MediaEntryTest, DurationReadsBackWhatWasFormatted) {
  for (std::int64_t seconds : {0, 1, 59, 60, 232, 3599, 3600, 45296, 99 * 3600 + 3599}) {
    EXPECT_EQ(DurationOfEntry(FormatEntry(seconds, "f.ogg")), seconds) << seconds;
  }
  // Only two hour digits are read: 100 hours comes back as "10" hours.
  EXPECT_EQ(DurationOfEntry(FormatEntry(100 * 3600, "f.ogg")), 10u * 3600);
}

TEST(MediaEntryTest, DurationOfShortOrGarbledLines) {
  EXPECT_EQ(DurationOfEntry(""), 0u);
  EXPECT_EQ(DurationOfEntry("0"), 0u);
  EXPECT_EQ(DurationOfEntry("1"), 3600u);
  EXPECT_EQ(DurationOfEntry("01:0"), 3600u);
  EXPECT_EQ(DurationOfEntry("01:02"), 3600u + 120);
  EXPECT_EQ(DurationOfEntry("01:02:0"), 3600u + 120);
  EXPECT_EQ(DurationOfEntry("01:02:3"), 3600u + 120 + 3);
  EXPECT_EQ(DurationOfEntry("ab:cd:ef | x"), 0u);
  EXPECT_EQ(DurationOfEntry("1x:2y:3z"), 3600u + 120 + 3);   // leading digits of each group
  EXPECT_EQ(DurationOfEntry("x1:y2:z3"), 0u);                // nothing before the digit
  EXPECT_EQ(DurationOfEntry(" 1: 2: 3"), 3600u + 120 + 3);   // atoi skips blanks
  EXPECT_EQ(DurationOfEntry("-1:00:00"), 0u);                // never below zero
  EXPECT_EQ(DurationOfEntry("00:-1:30"), 0u);
  EXPECT_EQ(DurationOfEntry("00:01:-5"), 55u);
}

TEST(MediaEntryTest, DurationNeverReadsPastTheView) {
  // The view ends before the digits that follow in memory.
  const std::string backing = "00:00:0999";
  EXPECT_EQ(DurationOfEntry(std::string_view(backing).substr(0, 7)), 0u);
  EXPECT_EQ(DurationOfEntry(std::string_view(backing).substr(0, 8)), 9u);
  EXPECT_EQ(DurationOfEntry(std::string_view(backing).substr(0, 2)), 0u);
}

TEST(MediaEntryTest, TotalDurationAddsEveryLine) {
  const std::vector<MediaEntry> entries = {{"00:03:52", "a.ogg"}, {"01:00:00", "b.ogg"}, {"garbage", "c.ogg"}};
  EXPECT_EQ(TotalDuration(entries), 232u + 3600);
  EXPECT_EQ(TotalDuration({}), 0u);
}

TEST(MediaEntryTest, UnsavedMarker) {
  EXPECT_TRUE(HasUnsavedMarker("00:00:01 | a.ogg*"));
  EXPECT_FALSE(HasUnsavedMarker("00:00:01 | a.ogg"));
  EXPECT_FALSE(HasUnsavedMarker(""));
  EXPECT_EQ(StripUnsavedMarker("00:00:01 | a.ogg*"), "00:00:01 | a.ogg");
  EXPECT_EQ(StripUnsavedMarker("00:00:01 | a.ogg"), "00:00:01 | a.ogg");
  EXPECT_EQ(StripUnsavedMarker("a**"), "a*");  // one marker at a time
  EXPECT_EQ(StripUnsavedMarker("*"), "");
  EXPECT_EQ(StripUnsavedMarker(""), "");
}

TEST(MediaEntryTest, BaseName) {
  EXPECT_EQ(BaseNameOfEntry("00:03:52 | default_music.ogg"), "default_music");
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | a.b.ogg*"), "a.b");
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | noext"), "noext");
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | noext*"), "noext");
  EXPECT_EQ(BaseNameOfEntry("plain.wav"), "plain");  // no separator: the whole line
  EXPECT_EQ(BaseNameOfEntry("00:00:05|tight.ogg"), "00:00:05|tight");
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | st*ar.ogg"), "st");  // cut at the first marker
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | .ogg"), "");
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | "), "");
  EXPECT_EQ(BaseNameOfEntry(""), "");
  // The first separator starts the name; a later one belongs to it.
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | a | b.ogg"), "a | b");
  // Case is kept.
  EXPECT_EQ(BaseNameOfEntry("00:00:05 | Welcome.OGG"), "Welcome");
}

}  // namespace
}  // namespace corvane
