#include "channel/MediaEntry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

TEST(MediaEntryTest, EntryIsADurationLabelOfAtLeastTwoDigitsEachAndTheNameCutToFit) {
  const std::pair<std::int64_t, const char*> cases[] = {
      {0, "00:00:00"},      {232, "00:03:52"},     {45296, "12:34:56"},
      {359999, "99:59:59"}, {360000, "100:00:00"}, {1234 * 3600 + 61, "1234:01:01"},
      {-1, "00:00:00"},     {-100000, "00:00:00"}};
  for (const auto& [seconds, label] : cases) EXPECT_EQ(FormatDurationLabel(seconds), label);
  EXPECT_EQ(FormatEntry(232, "default_music.ogg"), "00:03:52 | default_music.ogg");
  // An entry is cut to the longest line the record holds.
  const std::string line = FormatEntry(5, std::string(3000, 'x'));
  EXPECT_EQ(line.size(), kMaxEntryLength);
  EXPECT_EQ(line.substr(0, 11), "00:00:05 | ");
  EXPECT_EQ(FormatEntry(5, std::string(2047 - 11, 'y')).size(), kMaxEntryLength);
}

TEST(MediaEntryTest, DurationOfShortOrGarbledLines) {
  const std::pair<std::string_view, std::uint32_t> cases[] = {
      {"", 0},
      {"0", 0},
      {"1", 3600},
      {"01:0", 3600},
      {"01:02", 3720},
      {"01:02:0", 3720},
      {"01:02:3", 3723},
      {"ab:cd:ef | x", 0},
      {"1x:2y:3z", 3723},  // leading digits of each group
      {"x1:y2:z3", 0},     // nothing before the digit
      {" 1: 2: 3", 3723},  // atoi skips blanks
      {"-1:00:00", 0},     // never below zero
      {"00:-1:30", 0},
      {"00:01:-5", 55}};
  for (const auto& [line, seconds] : cases) EXPECT_EQ(DurationOfEntry(line), seconds) << line;
  // The view ends before the digits that follow in memory.
  const std::string backing = "00:00:0999";
  EXPECT_EQ(DurationOfEntry(std::string_view(backing).substr(0, 7)), 0u);
  EXPECT_EQ(DurationOfEntry(std::string_view(backing).substr(0, 8)), 9u);
  const std::vector<MediaEntry> entries = {
      {"00:03:52", "a.ogg"}, {"01:00:00", "b.ogg"}, {"garbage", "c.ogg"}};
  EXPECT_EQ(TotalDuration(entries), 232u + 3600);
}

TEST(MediaEntryTest, BaseNameIsTheFileNameWithoutExtensionOrMarker) {
  const std::pair<const char*, const char*> cases[] = {
      {"00:03:52 | default_music.ogg", "default_music"},
      {"00:00:05 | a.b.ogg*", "a.b"},
      {"00:00:05 | noext*", "noext"},
      {"plain.wav", "plain"},  // no separator: the whole line
      {"00:00:05|tight.ogg", "00:00:05|tight"},
      {"00:00:05 | st*ar.ogg", "st"},  // cut at the first marker
      {"00:00:05 | .ogg", ""},
      {"", ""},
      {"00:00:05 | a | b.ogg", "a | b"},  // the first separator starts the name
      {"00:00:05 | Welcome.OGG", "Welcome"},
  };
  for (const auto& [line, base] : cases) EXPECT_EQ(BaseNameOfEntry(line), base) << line;
}

}  // namespace
}  // namespace corvane
