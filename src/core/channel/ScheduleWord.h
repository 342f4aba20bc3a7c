#pragma once
// The packed schedule word of a scheduled message: the date window in which
// it plays and the days of the week it plays on.
//   bits 31..28 start month (1..12)   bits 27..24 stop month
//   bits 23..16 start day (1..31)     bits 15..8  stop day
//   bits  7..0  days of week, bit 0 Sunday .. bit 6 Saturday, bit 7 clear

#include <array>
#include <cstdint>

namespace corvane {

enum class Weekday : std::uint8_t {
  Sunday = 0,
  Monday,
  Tuesday,
  Wednesday,
  Thursday,
  Friday,
  Saturday
};

constexpr std::uint8_t WeekdayBit(Weekday day) {
  return static_cast<std::uint8_t>(1u << static_cast<unsigned>(day));
}

inline constexpr std::uint8_t kAllWeekdays = 0x7F;

// Days the editor offers per month. February always has 29 because the window
// is not tied to a year.
inline constexpr std::array<int, 12> kDaysInMonth = {31, 29, 31, 30, 31, 30,
                                                     31, 31, 30, 31, 30, 31};

// Days of month 1..12; 0 for any other month.
constexpr int DaysInMonth(int month) {
  return month >= 1 && month <= 12 ? kDaysInMonth[static_cast<std::size_t>(month - 1)] : 0;
}

struct ScheduleWindow {
  int startMonth = 1;
  int startDay = 1;
  int stopMonth = 12;
  int stopDay = 31;
  std::uint8_t weekdays = 0;

  bool PlaysOn(Weekday day) const { return (weekdays & WeekdayBit(day)) != 0; }
  bool operator==(const ScheduleWindow&) const = default;
};

// Words below this carry days of the week at most, never a date window.
inline constexpr std::uint32_t kFirstWordWithWindow = 256;

// Packs the window; each field is cut to its bit width and bit 7 is cleared.
std::uint32_t PackScheduleWord(const ScheduleWindow& window);

// The fields exactly as packed, even when they make no valid window.
ScheduleWindow UnpackScheduleWord(std::uint32_t word);

// The window the editor shows: a word without a date window (below 256) shows
// as 1 January to 31 December with no days ticked; any other word unpacked.
ScheduleWindow ScheduleWordAsShown(std::uint32_t word);

// The scheduled list's menu commands on the selected message's word.
enum class DayCommand {
  ClearAllDays,
  SetAllDays,
  SetWeekDays,     // Monday to Friday
  SetWeekendDays,  // Sunday and Saturday
  ResetDates,      // 1 January to 31 December, days kept
};
std::uint32_t ApplyDayCommand(std::uint32_t word, DayCommand command);

}  // namespace corvane
