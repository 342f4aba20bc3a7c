#pragma once
// The one set of schedule controls of the channel editor: the days of the
// week, the start time and the date window of the selected scheduled
// message. The controls always show one row of the scheduled list and edit
// it live; the date rules keep a window from running backwards or over the
// turn of the year, and say so when they change the operator's choice.

#include <cstdint>
#include <optional>
#include <vector>

#include "channel/MediaList.h"
#include "operator/Operator.h"

namespace corvane {

// What the controls show. Months and days are list positions: 0 is January,
// and the first day of the month.
struct ScheduleControlValues {
  int hours = 0;
  int minutes = 0;
  std::uint8_t days = 0;  // bit 0 Sunday .. bit 6 Saturday
  int startMonth = 0;
  int startDay = 0;
  int stopMonth = 11;
  int stopDay = 30;
  bool operator==(const ScheduleControlValues&) const = default;
};

class ScheduleControls {
 public:
  const ScheduleControlValues& Values() const { return values_; }
  // The spins and day boxes, as the operator sets them.
  ScheduleControlValues& Edit() { return values_; }
  // Whether the controls can be used: only while the list has rows.
  bool Enabled() const { return enabled_; }
  // The number of days the start or stop day list offers.
  int StartDayCount() const;
  int StopDayCount() const;

  // The operator picked in one of the four date lists.
  void PickStartMonth(int month, Operator& op);
  void PickStopMonth(int month, Operator& op);
  void PickStartDay(int day, Operator& op);
  void PickStopDay(int day, Operator& op);

  // The row's schedule changed from outside (a list command, a deletion,
  // the editor opening): the next sync shows it again.
  void ShowAgain() { refresh_ = true; }

  // Once per editor tick: shows the selected row when the selection moved
  // or a refresh is due, otherwise writes the controls into that row.
  void Sync(ScheduledRows rows);

 private:
  bool Refresh(ScheduledRows rows);
  void Store(ScheduledRows rows) const;
  void StartMonthRule(Operator& op);
  void StopMonthRule(Operator& op);

  ScheduleControlValues values_;
  bool enabled_ = false;
  bool refresh_ = true;
  std::optional<std::size_t> lastShown_;
};

}  // namespace corvane
