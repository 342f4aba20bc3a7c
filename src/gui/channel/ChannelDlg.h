#pragma once
// The channel editor: the screen on which the operator fills one channel's
// music, message and scheduled-message lists, schedules each scheduled
// message and sets the channel's playback settings. The work itself lives
// in ChannelEditor; this screen lays out its controls, keeps them and the
// editor in step and ticks every 100 ms.

#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "gui/audio/BackgroundConverter.h"
#include "gui/chrome/ChromeDialog.h"
#include "project/ChannelEditor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QSpinBox;

namespace corvane {

class CColorButton;
class COLEDragAndDropListBox;
class NestedScreens;
class SettingSpin;

class CChannelDlg : public ChromeDialog {
  Q_OBJECT

 public:
  // Results: saved (the channel changed), or the editing abandoned.
  static constexpr int kSaved = 0;
  static constexpr int kAbandoned = 1;

  // editedChannelNumber: 0 for a one-list model's single channel, else 1 or 2.
  CChannelDlg(ProjectContext& context, NestedScreens& screens, int editedChannelNumber,
              QWidget* parent = nullptr);
  ~CChannelDlg() override;

  // The 100 ms tick.
  void Tick();
  ChannelEditor& Editor() { return editor_; }
  COLEDragAndDropListBox* ListBox(MediaListKind kind) const;
  // True while a file is being added; the operator's input waits meanwhile.
  bool Adding() const { return background_.Busy(); }

 protected:
  QAbstractButton* ButtonForEnter(QWidget* focus) const override;
  void CloseRequested() override;

 private:
  class AddingProgress;

  void BuildBanner();
  void BuildLists();
  void BuildSettings();
  void BuildSchedule();
  void BuildButtons();
  void BuildLoudness();
  void ShowLoudnessTargets();
  void OnLoudnessChanged();
  void ConnectList(MediaListKind kind);
  void ApplySections();
  void ShowSettings();
  void ReadSettings();
  void ShowSchedule();
  void ReadSchedule();
  void UpdateMusicSection();
  void RefreshLists();
  // Runs an addition with the progress shown and the operator's input held.
  void WhileAdding(const std::function<void()>& work);

  void OnSave();
  void OnCancel();
  void OnSaveSettings();
  void OnLoadDefaults();
  void OnExternalMusic(bool ticked);

  ProjectContext& context_;
  NestedScreens& screens_;
  BackgroundConverter background_;
  std::unique_ptr<AddingProgress> addingProgress_;
  ProjectContext editorContext_;
  ChannelEditor editor_;
  ChannelEditorSections sections_;
  QTimer tick_;

  std::array<COLEDragAndDropListBox*, 3> lists_{};
  struct ListLabels {
    QLabel* title = nullptr;
    QLabel* duration = nullptr;
    QLabel* files = nullptr;
  };
  std::array<ListLabels, 3> listLabels_{};
  QLabel* totalMessagePlay_ = nullptr;
  QCheckBox* musicShuffle_ = nullptr;
  QCheckBox* messageShuffle_ = nullptr;
  std::vector<std::pair<SettingSpin*, int ChannelSettingsValues::*>> spins_;
  std::vector<std::pair<QCheckBox*, bool ChannelSettingsValues::*>> boxes_;
  QCheckBox* externalMusic_ = nullptr;
  QLabel* remainingText_ = nullptr;
  QProgressBar* remainingBar_ = nullptr;
  QLabel* status_ = nullptr;
  QWidget* addingCover_ = nullptr;
  QLabel* addingText_ = nullptr;
  QProgressBar* addingBar_ = nullptr;

  QCheckBox* evenLoudness_ = nullptr;
  std::vector<std::pair<QSpinBox*, double LoudnessPreference::*>> loudnessTargets_;

  std::array<QCheckBox*, 7> days_{};
  SettingSpin* startHours_ = nullptr;
  SettingSpin* startMinutes_ = nullptr;
  std::array<QComboBox*, 4> dates_{};  // start month, start day, stop month, stop day
  std::vector<QWidget*> scheduleControls_;

  CColorButton* save_ = nullptr;
  CColorButton* cancel_ = nullptr;
  CColorButton* saveSettings_ = nullptr;
  CColorButton* loadDefaults_ = nullptr;
  CColorButton* addDefaultMusic_ = nullptr;
  CColorButton* help_ = nullptr;
};

}  // namespace corvane
