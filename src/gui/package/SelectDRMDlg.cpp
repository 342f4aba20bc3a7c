#include "gui/package/SelectDRMDlg.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <string>

#include "common/CalendarDate.h"
#include "gui/app/NestedScreens.h"
#include "gui/chrome/ColorButton.h"
#include "package/KeyText.h"
#include "package/SecuritySettingsFile.h"
#include "package/TimeZones.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 450;
constexpr int kHeightUnits = 330;
constexpr int kBannerUnits = 37;
constexpr int kColumnUnits = 175;
constexpr int kTickMs = 100;
const QDate kLastStaleDay(2036, 1, 31);

QString Text(const std::string& text) { return QString::fromStdString(text); }
std::string TextOf(const QComboBox* box) { return box->currentText().toStdString(); }
QDate DateOf(const LocalDateTime& d) { return QDate(d.Year, d.Month, d.Day); }

}  // namespace

CSelectDRMDlg::CSelectDRMDlg(ProjectContext& context, NestedScreens& screens, QWidget* parent)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      context_(context),
      screens_(screens),
      model_{context.session.Audio.HasStaleDate != 0, context.session.Audio.ExactStaleDate != 0,
             context.session.Audio.HasTimeZone != 0},
      draft_(DraftOf(context.session.Security, context.clock.Now())),
      lastSeen_(context.session.Security.LastConfirmedDate.Value) {
  setObjectName(QStringLiteral("CSelectDRMDlg"));
  setWindowTitle(QString::fromLatin1(kProductName));
  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  picture_ = AddPicture("picture", Picture::Settings, QPoint(Units().X(10), Units().Y(62)));
  BuildBoxes();
  BuildButtons();
  AddLogo();
  CColorButton* help = AddHelpButton();
  connect(help, &QAbstractButton::clicked, this, [this] { screens_.HelpBox(this); });
  ShowDraft();
  clock_.setInterval(kTickMs);
  clock_.setSingleShot(true);
  connect(&clock_, &QTimer::timeout, this, &CSelectDRMDlg::ClockTick);
  KeyCheck(false);
  ClockTick();
}

void CSelectDRMDlg::BuildBoxes() {
  const QFont labelFont = ChromeFont(12, Weight::Bold);
  const QFont boxFont = ChromeFont(11, Weight::Regular);
  const auto addBox = [&](const char* name, const char* label, int top, int width, bool editable) {
    auto* box = new QComboBox(this);
    box->setEditable(editable);
    box->setFont(boxFont);
    return AddLabelled(name, label, 12, QRect(kColumnUnits, top, 200, 12), box,
                       QRect(kColumnUnits, top + 12, width, 14));
  };
  key_ = addBox("providerKey", "Service Provider Key", 42, 170, true);
  key_->lineEdit()->setMaxLength(16);
  id_ = addBox("deviceId", "Device ID", 72, 170, true);
  id_->lineEdit()->setMaxLength(16);
  description_ = addBox("description", "Device Description", 102, 170, true);
  description_->lineEdit()->setMaxLength(24);
  zone_ = addBox("timeZone", "Device Time Zone (Region/City)", 132, 255, false);
  for (const std::string_view zone : TimeZoneNames()) {
    zone_->addItem(QString::fromLatin1(zone.data(), static_cast<qsizetype>(zone.size())));
  }
  zone_->setEnabled(model_.hasTimeZone);
  findChild<QLabel*>(QStringLiteral("timeZoneLabel"))->setEnabled(model_.hasTimeZone);

  stale_ = new QCheckBox(QStringLiteral("Enable Media Stale Date"), this);
  stale_->setObjectName(QStringLiteral("staleDate"));
  stale_->setFont(labelFont);
  stale_->setGeometry(Units().Rect(10, 44, 160, 12));
  stale_->setEnabled(model_.hasStaleDate);
  calendar_ = new QCalendarWidget(this);
  calendar_->setObjectName(QStringLiteral("calendar"));
  calendar_->setAccessibleName(QStringLiteral("Media stale date"));
  calendar_->setGeometry(Units().Rect(10, 60, 155, 110));
  unlock_ = new QCheckBox(QStringLiteral("Service Provider Key Reset"), this);
  unlock_->setObjectName(QStringLiteral("unlock"));
  unlock_->setFont(labelFont);
  unlock_->setGeometry(Units().Rect(kColumnUnits, 182, 200, 12));

  connect(stale_, &QCheckBox::toggled, this, [this] {
    ReadDraft();
    ShowStaleDate();
  });
  connect(key_, &QComboBox::activated, this, [this] { KeyCheck(true); });
  connect(key_, &QComboBox::editTextChanged, this, [this] {
    // With a key assigned the box offers only it and "none": typing snaps back.
    if (key_->count() == 2 && key_->findText(key_->currentText()) < 0) {
      const QSignalBlocker quiet(key_);
      key_->setCurrentIndex(0);
    }
    KeyCheck(false);
  });
  for (QComboBox* box : {id_, description_}) {
    connect(box, &QComboBox::activated, this, &CSelectDRMDlg::PickDevice);
    connect(box->lineEdit(), &QLineEdit::editingFinished, this, [this, box] {
      const int index = box->findText(box->currentText());
      if (index >= 0) PickDevice(index);
    });
  }
}

void CSelectDRMDlg::BuildButtons() {
  struct ButtonRow {
    const char* name;
    const char* text;
    QRect units;
    int points;
    std::function<void()> action;
  };
  const ButtonRow rows[] = {
      {"assignKey", "Assign Key", QRect(kColumnUnits + 176, 54, 70, 14), 10, [this] {
         ReadDraft();
         AssignKey(draft_, context_.op);
         ShowDraft();
         KeyCheck(false);
       }},
      {"addDevice", "Add Device", QRect(kColumnUnits, 162, 78, 14), 10,
       [this] { RunOnDraft(&AddDevice); }},
      {"deleteDevice", "Delete Device", QRect(kColumnUnits + 84, 162, 78, 14), 10,
       [this] { RunOnDraft(&DeleteDevice); }},
      {"updateDevice", "Update Desc./Zone", QRect(kColumnUnits + 168, 162, 88, 14), 10,
       [this] { RunOnDraft(&UpdateDevice); }},
      {"backup", "Backup Data", QRect(kColumnUnits, 202, 80, 14), 10, [this] { OnBackup(); }},
      {"restore", "Restore Data", QRect(kColumnUnits, 202, 80, 14), 10, [this] { OnRestore(); }},
      {"ok", "OK", QRect(kColumnUnits, 228, 60, 20), 14, [this] { OnOk(); }},
      {"cancel", "Cancel", QRect(kColumnUnits + 70, 228, 60, 20), 14, [this] {
         if (AbandonChanges(context_.op)) done(kLeft);
       }},
  };
  for (const ButtonRow& row : rows) {
    CColorButton* button = AddButton(row.name, QString::fromLatin1(row.text), row.units);
    UseActionScheme(*button, row.points);
    connect(button, &QAbstractButton::clicked, this, row.action);
  }
  assignKey_ = findChild<CColorButton*>(QStringLiteral("assignKey"));
  backup_ = findChild<CColorButton*>(QStringLiteral("backup"));
  restore_ = findChild<CColorButton*>(QStringLiteral("restore"));
  const bool offerRestore = context_.session.Security.RestoreOffered;
  backup_->setVisible(!offerRestore);
  restore_->setVisible(offerRestore);
}

void CSelectDRMDlg::ReadDraft() {
  draft_.keyText = TextOf(key_);
  draft_.idText = TextOf(id_);
  draft_.descriptionText = TextOf(description_);
  draft_.zoneText = TextOf(zone_);
  draft_.staleEnabled = stale_->isChecked();
  const QDate day = calendar_->selectedDate();
  draft_.staleDay = {day.year(), day.month(), day.day()};
  draft_.unlock = unlock_->isChecked();
}

void CSelectDRMDlg::ShowDraft() {
  const QSignalBlocker quietKey(key_);
  const QSignalBlocker quietId(id_);
  const QSignalBlocker quietDescription(description_);
  key_->clear();
  for (const std::string& key : draft_.keys) key_->addItem(Text(key));
  key_->setCurrentText(Text(draft_.keyText));
  assignKey_->setVisible(!KeyAssigned(draft_));
  id_->clear();
  description_->clear();
  for (const DeviceEntry& device : draft_.devices) {
    id_->addItem(Text(device.Id));
    description_->addItem(Text(device.Description));
  }
  id_->setCurrentText(Text(draft_.idText));
  description_->setCurrentText(Text(draft_.descriptionText));
  zone_->setCurrentText(Text(draft_.zoneText));
  calendar_->setSelectedDate(DateOf(draft_.staleDay));
  // Ticking from here is no operator's choice to read back.
  const QSignalBlocker quietStale(stale_);
  stale_->setChecked(draft_.staleEnabled);
  unlock_->setChecked(draft_.unlock);
  ShowStaleDate();
}

void CSelectDRMDlg::ShowStaleDate() {
  // The calendar shows exactly while the box is ticked, the picture otherwise.
  const bool shown = model_.hasStaleDate && stale_->isChecked();
  calendar_->setVisible(shown);
  picture_->setVisible(!shown);
}

void CSelectDRMDlg::PickDevice(int index) {
  ReadDraft();
  SelectDevice(draft_, static_cast<std::size_t>(std::max(index, 0)));
  ShowDraft();
}

void CSelectDRMDlg::RunOnDraft(bool (*rule)(SecurityDraft&, const SecurityModel&, Operator&)) {
  ReadDraft();
  rule(draft_, model_, context_.op);
  ShowDraft();
}

void CSelectDRMDlg::KeyCheck(bool picked) {
  const bool noKey = key_->currentText() == QString::fromLatin1(kAllZeroKey) || !KeyAssigned(draft_);
  if (noKey) {
    unlock_->setChecked(false);
    unlock_->setEnabled(false);
    return;
  }
  if (picked && context_.op.Ask("Use Provider Key?", UseProviderKeyQuestion(), OperatorButtons::YesNo,
                                OperatorIcon::Exclamation) == OperatorAnswer::No) {
    key_->setCurrentText(QString::fromLatin1(kAllZeroKey));
    KeyCheck(false);
    return;
  }
  unlock_->setEnabled(true);
}

void CSelectDRMDlg::ClockTick() {
  clock_.stop();
  const LocalDateTime now = context_.clock.Now();
  calendar_->setDateRange(DateOf(now), kLastStaleDay);
  if (stale_->isChecked() && !IsSameDay(now, lastSeen_)) {
    context_.op.Tell("Day Changed", "Confirm stale date setting is correct.",
                     OperatorIcon::Exclamation);
  }
  lastSeen_ = now;
  clock_.start();
}

void CSelectDRMDlg::OnOk() {
  ReadDraft();
  SecuritySettings& settings = context_.session.Security;
  if (!ConfirmSecurity(draft_, model_, context_.clock.Now(), Confirmation::Asked, context_.op,
                       settings)) {
    return;
  }
  SaveSecuritySettings(settings, context_.session.Folders.ApplicationFolder, true);
  clock_.stop();
  done(kStored);
}

void CSelectDRMDlg::OnBackup() {
  ReadDraft();
  SecuritySettings& settings = context_.session.Security;
  const auto& folder = context_.session.Folders.ApplicationFolder;
  if (context_.op.Ask("Backup Data", "Save devices and security before backing up data?",
                      OperatorButtons::YesNo, OperatorIcon::Information) == OperatorAnswer::Yes) {
    if (!ConfirmSecurity(draft_, model_, context_.clock.Now(), Confirmation::ForBackup,
                         context_.op, settings)) {
      return;
    }
    SaveSecuritySettings(settings, folder, true);
  }
  BackUpSecuritySettings(context_.op, folder);
}

void CSelectDRMDlg::OnRestore() {
  if (!RestoreSecuritySettings(context_.op, context_.session.Security,
                               context_.session.Folders.ApplicationFolder)) {
    return;
  }
  clock_.stop();
  done(kLeft);
}

}  // namespace corvane
