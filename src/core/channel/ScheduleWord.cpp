#include "channel/ScheduleWord.h"

namespace corvane {

std::uint32_t PackScheduleWord(const ScheduleWindow& window) {
  const auto field = [](int value, unsigned mask) { return static_cast<unsigned>(value) & mask; };
  return (field(window.startMonth, 0xF) << 28) | (field(window.stopMonth, 0xF) << 24) |
         (field(window.startDay, 0xFF) << 16) | (field(window.stopDay, 0xFF) << 8) |
         (window.weekdays & kAllWeekdays);
}

ScheduleWindow UnpackScheduleWord(std::uint32_t word) {
  ScheduleWindow window;
  window.startMonth = static_cast<int>((word >> 28) & 0xF);
  window.stopMonth = static_cast<int>((word >> 24) & 0xF);
  window.startDay = static_cast<int>((word >> 16) & 0xFF);
  window.stopDay = static_cast<int>((word >> 8) & 0xFF);
  window.weekdays = static_cast<std::uint8_t>(word & 0xFF);
  return window;
}

ScheduleWindow ScheduleWordAsShown(std::uint32_t word) {
  if (word < kFirstWordWithWindow) return ScheduleWindow{};
  return UnpackScheduleWord(word);
}

std::uint32_t ApplyDayCommand(std::uint32_t word, DayCommand command) {
  constexpr std::uint32_t kDayBits = 0xFF;
  constexpr std::uint32_t kWeekDays = 0x3E;
  constexpr std::uint32_t kWeekendDays = 0x41;
  const std::uint32_t window = word & ~kDayBits;
  switch (command) {
    case DayCommand::ClearAllDays:
      return window;
    case DayCommand::SetAllDays:
      return window | kAllWeekdays;
    case DayCommand::SetWeekDays:
      return window | kWeekDays;
    case DayCommand::SetWeekendDays:
      return window | kWeekendDays;
    case DayCommand::ResetDates:
      break;
  }
  return PackScheduleWord(ScheduleWindow{}) | (word & kDayBits);
}

}  // namespace corvane
