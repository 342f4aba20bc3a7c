#pragma once
// Calendar arithmetic on local dates: whether a date exists, day numbers to
// compare and count with, and the long English date the security summary
// shows whatever the system's language.

#include <cstdint>
#include <string>

#include "common/Clock.h"

namespace corvane {

bool IsRealDate(int year, int month, int day);
// Days since 1 January 1970 of a calendar date.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);
// Only the dates count, not the times of day.
bool IsSameDay(const LocalDateTime& a, const LocalDateTime& b);
// "Friday, March 15, 2024".
std::string LongDateText(const LocalDateTime& date);

}  // namespace corvane
