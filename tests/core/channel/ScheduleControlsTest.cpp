#include "channel/ScheduleControls.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/ScriptedOperator.h"

namespace corvane {
namespace {

using test::ScriptedOperator;

// The scheduled list of an editor with its two per-row values.
struct Schedule {
  explicit Schedule(std::size_t rows) {
    for (std::size_t i = 0; i < rows; ++i) Add(0, 0);
  }
  void Add(std::uint32_t start, std::uint32_t word) {
    list.Append("00:00:05 | tick.ogg");
    startMinutes.push_back(start);
    words.push_back(word);
  }
  ScheduledRows Rows() { return {list, startMinutes, words}; }

  MediaList list{MediaListKind::Scheduled};
  std::vector<std::uint32_t> startMinutes;
  std::vector<std::uint32_t> words;
};

// A date window shown at 00:00 with no days ticked; months and days are list positions.
ScheduleControlValues Window(int startMonth, int startDay, int stopMonth, int stopDay) {
  return {0, 0, 0, startMonth, startDay, stopMonth, stopDay};
}

TEST(ScheduleControls, ANewRowShowsTheWholeYearAndTakesItOneTickLater) {
  Schedule schedule(1);
  ScheduleControls controls;
  controls.Sync(schedule.Rows());
  EXPECT_TRUE(controls.Enabled());
  EXPECT_TRUE(schedule.list.IsSelected(0));  // the first row is chosen for the operator
  EXPECT_EQ(controls.Values(), Window(0, 0, 11, 30));
  EXPECT_EQ(schedule.words[0], 0u);
  controls.Sync(schedule.Rows());
  EXPECT_EQ(schedule.words[0], 0x1C011F00u);
  EXPECT_EQ(schedule.startMinutes[0], 0u);

  // The controls edit the row live.
  controls.Edit().hours = 13;
  controls.Edit().minutes = 5;
  controls.Edit().days = 0x3E;
  controls.Sync(schedule.Rows());
  EXPECT_EQ(schedule.startMinutes[0], 13u * 60 + 5);
  EXPECT_EQ(schedule.words[0], 0x1C011F3Eu);
}

TEST(ScheduleControls, TheFirstSelectedRowIsShownAndAChangeFromOutsideShowsAgain) {
  Schedule schedule(0);
  schedule.Add(9 * 60 + 30, 0x5A0A140Au);  // 10 May to 20 October, Monday and Wednesday
  schedule.Add(0, 0);
  schedule.Add(60, 0x1C011F7Fu);
  ScheduleControls controls;
  schedule.list.SelectAll(true);
  controls.Sync(schedule.Rows());
  EXPECT_EQ(controls.Values(), (ScheduleControlValues{9, 30, 0x0A, 4, 9, 9, 19}));

  schedule.words[0] = (schedule.words[0] & ~0xFFu) | 0x3E;  // "Set Week Days" from the menu
  controls.ShowAgain();
  controls.Sync(schedule.Rows());
  EXPECT_EQ(controls.Values().days, 0x3E);
  controls.Sync(schedule.Rows());  // a tick that stores what is shown
  EXPECT_EQ(schedule.words, (std::vector<std::uint32_t>{0x5A0A143Eu, 0, 0x1C011F7Fu}));

  schedule.list.Click(2, {});
  controls.Sync(schedule.Rows());
  EXPECT_EQ(controls.Values().hours, 1);
  EXPECT_EQ(controls.Values().days, 0x7F);
  EXPECT_EQ(schedule.words[0], 0x5A0A143Eu);  // the row left behind kept its schedule
}

TEST(ScheduleControls, WordsNoListHoldsShowTheNearestDate) {
  Schedule schedule(0);
  schedule.Add(5000, 0xF21F0001u);  // month 15 from the 31st, stop month 2 day 0
  ScheduleControls controls;
  controls.Sync(schedule.Rows());
  EXPECT_EQ(controls.Values(), (ScheduleControlValues{23, 5000 % 60, 0x01, 11, 30, 1, 0}));
}

TEST(ScheduleControls, DateRulesKeepTheWindowForwardAndSaySo) {
  const struct {
    ScheduleControlValues before;
    void (ScheduleControls::*pick)(int, Operator&);
    int picked;
    ScheduleControlValues after;
    const char* warning;  // none when null
  } cases[] = {
      {Window(4, 9, 4, 19), &ScheduleControls::PickStopDay, 4, Window(4, 4, 4, 4),
       "Start day changed"},
      {Window(4, 9, 4, 19), &ScheduleControls::PickStartDay, 24, Window(4, 24, 4, 24),
       "Stop day changed"},
      {Window(2, 9, 2, 19), &ScheduleControls::PickStartMonth, 5, Window(5, 0, 5, 29),
       "Stop month changed"},
      {Window(5, 9, 7, 19), &ScheduleControls::PickStopMonth, 1, Window(1, 0, 1, 28),
       "Start month changed"},
      {Window(4, 9, 7, 19), &ScheduleControls::PickStartMonth, 6, Window(6, 0, 7, 19), nullptr},
      {Window(4, 9, 7, 19), &ScheduleControls::PickStopDay, 2, Window(4, 9, 7, 2), nullptr},
  };
  for (const auto& c : cases) {
    ScheduleControls controls;
    controls.Edit() = c.before;
    ScriptedOperator op;
    if (c.warning != nullptr) op.ExpectMessage("Invalid Date Window", c.warning);
    (controls.*c.pick)(c.picked, op);
    EXPECT_EQ(controls.Values(), c.after) << c.picked;
    ASSERT_EQ(op.History().size(), c.warning != nullptr ? 1u : 0u) << c.picked;
    for (const auto& shown : op.History()) EXPECT_EQ(shown.icon, OperatorIcon::Exclamation);
  }
}

}  // namespace
}  // namespace corvane
