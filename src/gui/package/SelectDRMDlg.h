#pragma once
// "Media Security": which player the next package is for, the provider key
// that locks it, the media stale date, the device's time zone and the
// unlock order. The boxes edit a draft; the settings change only when OK's
// checks have all passed (SecurityEditing holds the rules).

#include <QTimer>

#include "gui/chrome/ChromeDialog.h"
#include "package/SecurityEditing.h"

class QCalendarWidget;
class QCheckBox;
class QComboBox;

namespace corvane {

class CColorButton;
class NestedScreens;
struct ProjectContext;

class CSelectDRMDlg : public ChromeDialog {
  Q_OBJECT

 public:
  // Results: confirmed with OK, or left (Cancel, or after a restore).
  static constexpr int kStored = 0;
  static constexpr int kLeft = 1;

  CSelectDRMDlg(ProjectContext& context, NestedScreens& screens, QWidget* parent = nullptr);

  // The clock's 100 ms tick: the calendar's range and the day-change warning.
  void ClockTick();
  // After the key box changed: whether the unlock order may be given, and
  // the question when the operator picked a key.
  void KeyCheck(bool picked);

 private:
  void BuildBoxes();
  void BuildButtons();
  void ReadDraft();
  void ShowDraft();
  void ShowStaleDate();
  // The ID and description boxes stay on the same device.
  void PickDevice(int index);
  void RunOnDraft(bool (*rule)(SecurityDraft&, const SecurityModel&, Operator&));
  void OnOk();
  void OnBackup();
  void OnRestore();

  ProjectContext& context_;
  NestedScreens& screens_;
  SecurityModel model_;
  SecurityDraft draft_;
  LocalDateTime lastSeen_;
  QComboBox* key_ = nullptr;
  QComboBox* id_ = nullptr;
  QComboBox* description_ = nullptr;
  QComboBox* zone_ = nullptr;
  QCheckBox* stale_ = nullptr;
  QCalendarWidget* calendar_ = nullptr;
  QLabel* picture_ = nullptr;
  QCheckBox* unlock_ = nullptr;
  CColorButton* assignKey_ = nullptr;
  CColorButton* backup_ = nullptr;
  CColorButton* restore_ = nullptr;
  QTimer clock_;
};

}  // namespace corvane
