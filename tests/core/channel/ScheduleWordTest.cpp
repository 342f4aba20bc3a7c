#include "channel/ScheduleWord.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ScheduleWordTest, PacksAndUnpacksTheWindow) {
  const auto mondayFriday =
      static_cast<std::uint8_t>(WeekdayBit(Weekday::Monday) | WeekdayBit(Weekday::Friday));
  const std::pair<ScheduleWindow, std::uint32_t> cases[] = {
      {{1, 1, 12, 31, kAllWeekdays}, 0x1C011F7Fu},
      {{3, 1, 6, 15, mondayFriday}, 0x36010F22u},
      // Every field in its own bits.
      {{12, 0, 0, 0, 0}, 0xC0000000u},
      {{0, 0, 12, 0, 0}, 0x0C000000u},
      {{0, 31, 0, 0, 0}, 0x001F0000u},
      {{0, 0, 0, 31, 0}, 0x00001F00u},
      {{0, 0, 0, 0, WeekdayBit(Weekday::Saturday)}, 0x40u},
  };
  for (const auto& [window, word] : cases) {
    EXPECT_EQ(PackScheduleWord(window), word);
    EXPECT_EQ(UnpackScheduleWord(word), window) << std::hex << word;
  }
  const ScheduleWindow back = UnpackScheduleWord(0x36010F22);
  EXPECT_TRUE(back.PlaysOn(Weekday::Monday));
  EXPECT_FALSE(back.PlaysOn(Weekday::Sunday));
  // Bit 7 of the days byte is never set; oversized fields do not spill over.
  EXPECT_EQ(PackScheduleWord({0, 0, 0, 0, 0xFF}), 0x7Fu);
  EXPECT_EQ(PackScheduleWord({0x1F, 0, 0, 0, 0}), 0xF0000000u);
  // A word without a window shows as the whole year with no days.
  for (std::uint32_t word : {0u, 0x7Fu, 0x22u, 255u}) {
    EXPECT_EQ(ScheduleWordAsShown(word), (ScheduleWindow{1, 1, 12, 31, 0})) << word;
  }
  EXPECT_EQ(ScheduleWordAsShown(0x36010F22), UnpackScheduleWord(0x36010F22));
  // 256 is the first word with a window field set, however odd.
  EXPECT_EQ(ScheduleWordAsShown(256), (ScheduleWindow{0, 0, 0, 1, 0}));
}

TEST(ScheduleWordTest, DayCommandsChangeOnlyTheirPartOfTheWord) {
  struct Case {
    std::uint32_t word;
    DayCommand command;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {0x36010F22u, DayCommand::ClearAllDays, 0x36010F00u},
      {0x36010F22u, DayCommand::SetAllDays, 0x36010F7Fu},
      {0x36010F41u, DayCommand::SetWeekDays, 0x36010F3Eu},
      {0x36010F3Eu, DayCommand::SetWeekendDays, 0x36010F41u},
      {0x36010F22u, DayCommand::ResetDates, 0x1C011F22u},
      // A new row's empty word gains a whole-year window.
      {0u, DayCommand::ResetDates, 0x1C011F00u},
      {0u, DayCommand::SetWeekDays, 0x3Eu},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ApplyDayCommand(c.word, c.command), c.expected)
        << std::hex << c.word << " command " << static_cast<int>(c.command);
  }
}

}  // namespace
}  // namespace corvane
