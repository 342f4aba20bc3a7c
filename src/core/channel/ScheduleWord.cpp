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

}  // namespace corvane
