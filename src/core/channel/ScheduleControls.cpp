#include "channel/ScheduleControls.h"

#include <algorithm>

#include "channel/ScheduleWord.h"

namespace corvane {
namespace {

constexpr const char* kDateWarning = "Invalid Date Window";

int DaysOf(int month) { return DaysInMonth(month + 1); }

// A word read from a package may name a month or day no list holds; the
// controls show the nearest one instead of none.
int MonthPosition(int month) { return std::clamp(month - 1, 0, 11); }
int DayPosition(int day, int month) { return std::clamp(day - 1, 0, DaysOf(month) - 1); }

void Warn(Operator& op, const char* text) {
  op.Tell(kDateWarning, text, OperatorIcon::Exclamation);
}

}  // namespace

int ScheduleControls::StartDayCount() const { return DaysOf(values_.startMonth); }
int ScheduleControls::StopDayCount() const { return DaysOf(values_.stopMonth); }

void ScheduleControls::StartMonthRule(Operator& op) {
  values_.startDay = 0;
  if (values_.stopMonth < values_.startMonth) {
    values_.stopMonth = values_.startMonth;
    StopMonthRule(op);
    Warn(op, "Stop month changed");
  }
}

void ScheduleControls::StopMonthRule(Operator& op) {
  values_.stopDay = DaysOf(values_.stopMonth) - 1;
  if (values_.stopMonth < values_.startMonth) {
    values_.startMonth = values_.stopMonth;
    StartMonthRule(op);
    Warn(op, "Start month changed");
  }
}

void ScheduleControls::PickStartMonth(int month, Operator& op) {
  values_.startMonth = std::clamp(month, 0, 11);
  StartMonthRule(op);
}

void ScheduleControls::PickStopMonth(int month, Operator& op) {
  values_.stopMonth = std::clamp(month, 0, 11);
  StopMonthRule(op);
}

void ScheduleControls::PickStartDay(int day, Operator& op) {
  values_.startDay = std::clamp(day, 0, StartDayCount() - 1);
  if (values_.startMonth == values_.stopMonth && values_.stopDay < values_.startDay) {
    values_.stopDay = values_.startDay;
    Warn(op, "Stop day changed");
  }
}

void ScheduleControls::PickStopDay(int day, Operator& op) {
  values_.stopDay = std::clamp(day, 0, StopDayCount() - 1);
  if (values_.startMonth == values_.stopMonth && values_.stopDay < values_.startDay) {
    values_.startDay = values_.stopDay;
    Warn(op, "Start day changed");
  }
}

void ScheduleControls::Sync(ScheduledRows rows) {
  if (!Refresh(rows)) Store(rows);
}

bool ScheduleControls::Refresh(ScheduledRows rows) {
  std::optional<std::size_t> row;
  if (rows.list.RowCount() > 0) {
    const std::vector<std::size_t> selected = rows.list.Selected();
    if (selected.empty()) rows.list.Click(0, {});
    row = selected.empty() ? 0 : selected.front();
  }
  if (row == lastShown_ && !refresh_) return false;
  refresh_ = false;
  enabled_ = row.has_value();

  const bool held = row && *row < rows.startMinutes.size() && *row < rows.words.size();
  const std::uint32_t start = held ? rows.startMinutes[*row] : 0;
  const std::uint32_t word = held ? rows.words[*row] : 0;
  values_.hours = static_cast<int>(std::min<std::uint32_t>(start / 60, 23));
  values_.minutes = static_cast<int>(start % 60);
  values_.days = static_cast<std::uint8_t>(word & kAllWeekdays);
  // Without a window of its own (a new row) the row shows the whole year.
  const ScheduleWindow window = ScheduleWordAsShown(word);
  values_.startMonth = MonthPosition(window.startMonth);
  values_.stopMonth = MonthPosition(window.stopMonth);
  values_.startDay = DayPosition(window.startDay, values_.startMonth);
  values_.stopDay = DayPosition(window.stopDay, values_.stopMonth);
  lastShown_ = row;
  return true;
}

void ScheduleControls::Store(ScheduledRows rows) const {
  const std::vector<std::size_t> selected = rows.list.Selected();
  if (selected.empty()) return;
  const std::size_t row = selected.front();
  if (row >= rows.startMinutes.size() || row >= rows.words.size()) return;
  rows.startMinutes[row] =
      static_cast<std::uint32_t>((values_.hours & 0xFF) * 60 + (values_.minutes & 0xFF));
  rows.words[row] = PackScheduleWord({values_.startMonth + 1, values_.startDay + 1,
                                      values_.stopMonth + 1, values_.stopDay + 1,
                                      static_cast<std::uint8_t>(values_.days & kAllWeekdays)});
}

}  // namespace corvane
