// The settings and schedule sections of the channel editor: built from
// tables, and kept in step with the editor's values.

#include "gui/channel/ChannelDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>

#include "gui/channel/ChannelDlgLayout.h"
#include "gui/channel/SettingSpin.h"

namespace corvane {
namespace {

using namespace channel_layout;

// The spins of the settings column, top to bottom.
struct SpinRow {
  const char* name;
  const char* label;
  int minimum;
  int maximum;
  SpinText text;
  int ChannelSettingsValues::*field;
  int top;
  int left = kSpinX;
};
const SpinRow kSpinRows[] = {
    {"masterVolume", "Master Output Volume (%)", 1, 10, SpinText::TimesTen,
     &ChannelSettingsValues::masterVolume, 60},
    {"crossFadeVolume", "Music Cross-Fade Volume (%)", 0, 10, SpinText::TimesTen,
     &ChannelSettingsValues::crossFadeVolume, 74},
    {"bass", "Bass", -5, 5, SpinText::Signed, &ChannelSettingsValues::bass, 88},
    {"treble", "Treble", -5, 5, SpinText::Signed, &ChannelSettingsValues::treble, 102},
    {"musicVolume", "Music Input Level (%)", 1, 10, SpinText::TimesTen,
     &ChannelSettingsValues::musicVolume, 128},
    {"messageVolume", "Message Input Level (%)", 1, 10, SpinText::TimesTen,
     &ChannelSettingsValues::messageVolume, 142},
    {"messageMinutes", "Time Between Messages (MM:SS)", 0, 99, SpinText::TwoDigits,
     &ChannelSettingsValues::messageMinutes, 158, kSpinX - 36},
    {"messageSeconds", nullptr, 0, 59, SpinText::TwoDigits,
     &ChannelSettingsValues::messageSeconds, 158},
    {"repeatMinutes", "Time Between Repeats (MM:SS)", 0, 99, SpinText::TwoDigits,
     &ChannelSettingsValues::repeatMinutes, 172, kSpinX - 36},
    {"repeatSeconds", nullptr, 0, 59, SpinText::TwoDigits,
     &ChannelSettingsValues::repeatSeconds, 172},
};

struct BoxRow {
  const char* name;
  const char* text;
  bool ChannelSettingsValues::*field;
  int top;
};
const BoxRow kBoxRows[] = {
    {"localVolume", "Enable Local Volume Control", &ChannelSettingsValues::localVolumeEnabled, 186},
    {"externalMusic", "Enable External Music", &ChannelSettingsValues::externalAudioEnabled, 196},
    {"autoAddDefaultMusic", "Auto-Add Default Music", &ChannelSettingsValues::autoAddDefaultMusic,
     206},
    {"endMusicAfterLastMessage", "End Music After Last Message",
     &ChannelSettingsValues::limitLengthEnabled, 216},
};


const char* const kDayNames[] = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
const char* const kMonthNames[] = {"January", "February", "March",     "April",
                                   "May",     "June",     "July",      "August",
                                   "September", "October", "November", "December"};


}  // namespace

void CChannelDlg::BuildSettings() {
  const QFont font = ChromeFont(10, Weight::Bold);
  AddLabel("audioBalance", QStringLiteral("Audio Balance"), ChromeFont(12, Weight::Bold),
           kBannerColor, QRect(kRight, 116, 200, 11));
  for (const SpinRow& row : kSpinRows) {
    auto* spin = new SettingSpin(row.text, row.minimum, row.maximum, this);
    spin->setObjectName(QString::fromLatin1(row.name));
    spin->setFont(font);
    spin->setGeometry(Units().Rect(row.left, row.top, 34, 12));
    if (row.label != nullptr) {
      QLabel* label = AddLabel((std::string(row.name) + "Label").c_str(), QString::fromLatin1(row.label),
                               font, kBannerColor, QRect(kRight, row.top, 170, 12));
      label->setBuddy(spin);
      spin->setAccessibleName(QString::fromLatin1(row.label));
    } else {
      spins_.back().first->setAccessibleName(spins_.back().first->accessibleName() + " minutes");
      spin->setAccessibleName(spins_.back().first->accessibleName().replace(" minutes", " seconds"));
      AddLabel((std::string(row.name) + "Colon").c_str(), QStringLiteral(":"),
               ChromeFont(12, Weight::Bold), kBannerColor, QRect(row.left - 3, row.top, 3, 12));
    }
    connect(spin, &QSpinBox::valueChanged, this, &CChannelDlg::ReadSettings);
    spins_.emplace_back(spin, row.field);
  }
  // The spacing of messages may not outgrow the device.
  auto* minutes = findChild<SettingSpin*>(QStringLiteral("messageMinutes"));
  auto* seconds = findChild<SettingSpin*>(QStringLiteral("messageSeconds"));
  minutes->SetGuard([this, seconds](int m) { return editor_.MaySpaceMessages(m, seconds->value()); });
  seconds->SetGuard([this, minutes](int s) { return editor_.MaySpaceMessages(minutes->value(), s); });

  for (const BoxRow& row : kBoxRows) {
    auto* box = new QCheckBox(QString::fromLatin1(row.text), this);
    box->setObjectName(QString::fromLatin1(row.name));
    box->setFont(font);
    box->setGeometry(Units().Rect(kRight, row.top, 200, 11));
    boxes_.emplace_back(box, row.field);
    if (row.field == &ChannelSettingsValues::externalAudioEnabled) {
      externalMusic_ = box;
      connect(box, &QAbstractButton::clicked, this, &CChannelDlg::OnExternalMusic);
    } else {
      connect(box, &QCheckBox::toggled, this, &CChannelDlg::ReadSettings);
    }
  }
  AddLabel("timeRemainingLabel", QStringLiteral("Time Remaining (HH:MM)"),
           ChromeFont(12, Weight::Bold), kBannerColor, QRect(kRight, 244, 150, 12));
  remainingText_ = AddLabel("timeRemaining", QString(), font, kBlackText,
                            QRect(kRight + 150, 245, 60, 11));
  remainingBar_ = new QProgressBar(this);
  remainingBar_->setObjectName(QStringLiteral("timeRemainingBar"));
  remainingBar_->setAccessibleName(QStringLiteral("Time Remaining (HH:MM)"));
  remainingBar_->setTextVisible(false);
  remainingBar_->setRange(0, static_cast<int>(RemainingBarRange(editor_.Audio().MaxLength)));
  remainingBar_->setGeometry(Units().Rect(kRight, 257, 260, 6));
}

void CChannelDlg::BuildSchedule() {
  const int left = kRight + 118;
  for (int day = 0; day < 7; ++day) {
    const int x = left + day * 19;
    QLabel* name = AddLabel("dayName", QString::fromLatin1(kDayNames[day]), ChromeFont(8, Weight::Regular),
                            kBannerColor, QRect(x, 276, 18, 8), Qt::AlignCenter);
    auto* box = new QCheckBox(this);
    box->setObjectName(QStringLiteral("day%1").arg(day));
    box->setAccessibleName(QString::fromLatin1(kDayNames[day]));
    box->setGeometry(Units().Rect(x + 5, 285, 12, 10));
    name->setBuddy(box);
    days_[static_cast<std::size_t>(day)] = box;
    scheduleControls_.insert(scheduleControls_.end(), {name, box});
  }
  const QFont font = ChromeFont(10, Weight::Bold);
  QLabel* time = AddLabel("startTimeLabel", QStringLiteral("Start Time (HH:MM)"), font,
                          kBannerColor, QRect(left, 302, 80, 12));
  startHours_ = new SettingSpin(SpinText::TwoDigits, 0, 23, this);
  startHours_->setObjectName(QStringLiteral("startHours"));
  startHours_->setAccessibleName(QStringLiteral("Start Time (HH:MM) hours"));
  startHours_->setGeometry(Units().Rect(left + 82, 302, 24, 12));
  startMinutes_ = new SettingSpin(SpinText::TwoDigits, 0, 59, this);
  startMinutes_->setObjectName(QStringLiteral("startMinutes"));
  startMinutes_->setAccessibleName(QStringLiteral("Start Time (HH:MM) minutes"));
  startMinutes_->setGeometry(Units().Rect(left + 110, 302, 24, 12));
  time->setBuddy(startHours_);
  scheduleControls_.insert(scheduleControls_.end(), {time, startHours_, startMinutes_});

  const char* const names[] = {"startMonth", "startDay", "stopMonth", "stopDay"};
  const char* const labels[] = {"Start Date", "Stop Date"};
  for (std::size_t i = 0; i < dates_.size(); ++i) {
    const int top = i < 2 ? 320 : 338;
    if (i % 2 == 0) {
      QLabel* label = AddLabel(i < 2 ? "startDateLabel" : "stopDateLabel",
                               QString::fromLatin1(labels[i / 2]), font, kBannerColor,
                               QRect(left, top, 45, 12));
      scheduleControls_.push_back(label);
    }
    auto* combo = new QComboBox(this);
    combo->setObjectName(QString::fromLatin1(names[i]));
    combo->setFont(font);
    combo->setAccessibleName(QString::fromLatin1(labels[i / 2]) +
                             (i % 2 == 0 ? QStringLiteral(" month") : QStringLiteral(" day")));
    combo->setGeometry(i % 2 == 0 ? Units().Rect(left + 46, top, 64, 13) : Units().Rect(left + 112, top, 28, 13));
    if (i % 2 == 0) {
      for (const char* month : kMonthNames) combo->addItem(QString::fromLatin1(month));
    }
    dates_[i] = combo;
    scheduleControls_.push_back(combo);
  }
  ScheduleControls& schedule = editor_.Schedule();
  const std::array<std::function<void(int)>, 4> picks = {
      [this, &schedule](int v) { schedule.PickStartMonth(v, context_.op); },
      [this, &schedule](int v) { schedule.PickStartDay(v, context_.op); },
      [this, &schedule](int v) { schedule.PickStopMonth(v, context_.op); },
      [this, &schedule](int v) { schedule.PickStopDay(v, context_.op); },
  };
  for (std::size_t i = 0; i < dates_.size(); ++i) {
    connect(dates_[i], &QComboBox::activated, this, [this, pick = picks[i]](int index) {
      ReadSchedule();
      pick(index);
      ShowSchedule();
    });
  }
}

void CChannelDlg::ShowSettings() {
  const ChannelControls& controls = editor_.Controls();
  for (auto& [spin, field] : spins_) spin->Show(controls.settings.*field);
  for (auto& [box, field] : boxes_) {
    const QSignalBlocker quiet(box);
    box->setChecked(controls.settings.*field);
  }
  const QSignalBlocker quietMusic(musicShuffle_);
  const QSignalBlocker quietMessages(messageShuffle_);
  musicShuffle_->setChecked(controls.musicShuffle);
  messageShuffle_->setChecked(controls.messageShuffle);
}

void CChannelDlg::ReadSettings() {
  ChannelControls& controls = editor_.Controls();
  for (auto& [spin, field] : spins_) controls.settings.*field = spin->value();
  for (auto& [box, field] : boxes_) controls.settings.*field = box->isChecked();
  controls.musicShuffle = musicShuffle_->isChecked();
  controls.messageShuffle = messageShuffle_->isChecked();
}

void CChannelDlg::ReadSchedule() {
  ScheduleControlValues& values = editor_.Schedule().Edit();
  values.hours = startHours_->value();
  values.minutes = startMinutes_->value();
  values.days = 0;
  for (std::size_t i = 0; i < days_.size(); ++i) {
    if (days_[i]->isChecked()) values.days = static_cast<std::uint8_t>(values.days | (1u << i));
  }
}

void CChannelDlg::ShowSchedule() {
  const ScheduleControls& schedule = editor_.Schedule();
  const ScheduleControlValues& values = schedule.Values();
  startHours_->Show(values.hours);
  startMinutes_->Show(values.minutes);
  for (std::size_t i = 0; i < days_.size(); ++i) days_[i]->setChecked((values.days >> i) & 1u);
  const int shown[] = {values.startMonth, values.startDay, values.stopMonth, values.stopDay};
  const int dayCounts[] = {schedule.StartDayCount(), schedule.StopDayCount()};
  for (std::size_t i = 0; i < dates_.size(); ++i) {
    QComboBox* combo = dates_[i];
    const QSignalBlocker quiet(combo);
    if (i % 2 == 1 && combo->count() != dayCounts[i / 2]) {
      combo->clear();
      for (int day = 1; day <= dayCounts[i / 2]; ++day) combo->addItem(QString::number(day));
    }
    combo->setCurrentIndex(shown[i]);
  }
  const bool enabled = sections_.scheduledMessages && schedule.Enabled();
  for (QWidget* control : scheduleControls_) control->setEnabled(enabled);
}

}  // namespace corvane
