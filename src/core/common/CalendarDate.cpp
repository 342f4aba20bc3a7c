#include "common/CalendarDate.h"

#include <array>
#include <cstdio>

namespace corvane {

bool IsRealDate(int year, int month, int day) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 0xFFFF || month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[static_cast<std::size_t>(month - 1)] + (month == 2 && leap ? 1 : 0);
}

std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool IsSameDay(const LocalDateTime& a, const LocalDateTime& b) {
  return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day;
}

std::string LongDateText(const LocalDateTime& date) {
  static constexpr std::array<const char*, 7> kWeekdays = {
      "Thursday", "Friday", "Saturday", "Sunday", "Monday", "Tuesday", "Wednesday"};
  static constexpr std::array<const char*, 12> kMonths = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  if (!IsRealDate(date.Year, date.Month, date.Day)) return {};
  // 1 January 1970 was a Thursday.
  const std::int64_t days =
      DaysFromCivil(date.Year, static_cast<unsigned>(date.Month), static_cast<unsigned>(date.Day));
  const auto weekday = static_cast<std::size_t>(((days % 7) + 7) % 7);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %s %02d, %04d", kWeekdays[weekday],
                kMonths[static_cast<std::size_t>(date.Month - 1)], date.Day, date.Year);
  return text;
}

}  // namespace corvane
