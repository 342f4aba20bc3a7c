#include "channel/ScheduleWord.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ScheduleWordTest, WholeYearEveryDay) {
  const ScheduleWindow window{1, 1, 12, 31, kAllWeekdays};
  EXPECT_EQ(PackScheduleWord(window), 0x1C011F7Fu);
  EXPECT_EQ(UnpackScheduleWord(0x1C011F7F), window);
}

TEST(ScheduleWordTest, SpringOnMondayAndFriday) {
  const auto days =
      static_cast<std::uint8_t>(WeekdayBit(Weekday::Monday) | WeekdayBit(Weekday::Friday));
  const ScheduleWindow window{3, 1, 6, 15, days};
  EXPECT_EQ(PackScheduleWord(window), 0x36010F22u);

  const ScheduleWindow back = UnpackScheduleWord(0x36010F22);
  EXPECT_EQ(back.startMonth, 3);
  EXPECT_EQ(back.startDay, 1);
  EXPECT_EQ(back.stopMonth, 6);
  EXPECT_EQ(back.stopDay, 15);
  EXPECT_TRUE(back.PlaysOn(Weekday::Monday));
  EXPECT_TRUE(back.PlaysOn(Weekday::Friday));
  EXPECT_FALSE(back.PlaysOn(Weekday::Sunday));
  EXPECT_FALSE(back.PlaysOn(Weekday::Saturday));
}

TEST(ScheduleWordTest, EveryFieldLandsInItsOwnBits) {
  EXPECT_EQ(PackScheduleWord({12, 0, 0, 0, 0}), 0xC0000000u);
  EXPECT_EQ(PackScheduleWord({0, 0, 12, 0, 0}), 0x0C000000u);
  EXPECT_EQ(PackScheduleWord({0, 31, 0, 0, 0}), 0x001F0000u);
  EXPECT_EQ(PackScheduleWord({0, 0, 0, 31, 0}), 0x00001F00u);
  EXPECT_EQ(PackScheduleWord({0, 0, 0, 0, WeekdayBit(Weekday::Saturday)}), 0x40u);
  // Bit 7 of the days byte is never set; oversized fields do not spill over.
  EXPECT_EQ(PackScheduleWord({0, 0, 0, 0, 0xFF}), 0x7Fu);
  EXPECT_EQ(PackScheduleWord({0x1F, 0, 0, 0, 0}), 0xF0000000u);
}

TEST(ScheduleWordTest, WordWithoutWindowShowsAsWholeYearWithNoDays) {
  for (std::uint32_t word : {0u, 0x7Fu, 0x22u, 255u}) {
    const ScheduleWindow shown = ScheduleWordAsShown(word);
    EXPECT_EQ(shown.startMonth, 1) << word;
    EXPECT_EQ(shown.startDay, 1) << word;
    EXPECT_EQ(shown.stopMonth, 12) << word;
    EXPECT_EQ(shown.stopDay, 31) << word;
    EXPECT_EQ(shown.weekdays, 0) << word;
  }
  EXPECT_EQ(ScheduleWordAsShown(0x36010F22), UnpackScheduleWord(0x36010F22));
  // 256 is the first word with a window field set, however odd.
  EXPECT_EQ(ScheduleWordAsShown(256).stopDay, 1);
  EXPECT_EQ(ScheduleWordAsShown(256).startMonth, 0);
}

TEST(ScheduleWordTest, DaysInMonth) {
  const int expected[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(DaysInMonth(month), expected[month - 1]) << month;
  }
  EXPECT_EQ(DaysInMonth(0), 0);
  EXPECT_EQ(DaysInMonth(13), 0);
  EXPECT_EQ(DaysInMonth(-1), 0);
}

TEST(ScheduleWordTest, WindowRunsForwardWithinOneYear) {
  EXPECT_TRUE(IsValidWindow({1, 1, 12, 31, kAllWeekdays}));
  EXPECT_TRUE(IsValidWindow({3, 1, 6, 15, 0}));
  EXPECT_TRUE(IsValidWindow({5, 10, 5, 10, 0}));  // a single day
  EXPECT_TRUE(IsValidWindow({2, 29, 2, 29, 0}));
  EXPECT_FALSE(IsValidWindow({5, 11, 5, 10, 0}));  // stop before start
  EXPECT_FALSE(IsValidWindow({11, 1, 2, 1, 0}));   // would wrap past new year
  EXPECT_FALSE(IsValidWindow({4, 31, 5, 1, 0}));   // April has 30 days
  EXPECT_FALSE(IsValidWindow({2, 30, 3, 1, 0}));
  EXPECT_FALSE(IsValidWindow({0, 1, 12, 31, 0}));
  EXPECT_FALSE(IsValidWindow({1, 1, 13, 1, 0}));
  EXPECT_FALSE(IsValidWindow({1, 0, 12, 31, 0}));
  EXPECT_FALSE(IsValidWindow({1, 1, 12, 31, 0x80}));
}

}  // namespace
}  // namespace corvane
