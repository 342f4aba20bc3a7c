#pragma once
// The home screen, the one window the operator works from after logging in:
// the device model the project is for, a summary of what changed, and the
// Device, Configure and File lists from which every other screen and file
// action is reached. Other screens open through the nested screens seam;
// the rules live in HomeScreen.

#include <QTimer>
#include <array>
#include <filesystem>
#include <functional>

#include "gui/chrome/ChromeDialog.h"

class QCheckBox;
class QComboBox;
class QProgressBar;

namespace corvane {

class ActionList;
class CColorButton;
class NestedScreens;
class PackageProgressDialog;
struct ProjectContext;

class CMainDlg : public ChromeDialog {
  Q_OBJECT

 public:
  static constexpr const char* kExitAction = "Exit Application";

  // Ends with kConfirmed once the operator confirmed leaving.
  CMainDlg(ProjectContext& context, NestedScreens& screens, QWidget* parent = nullptr);

  // The day-change check, every 100 ms.
  void DayTick();
  // Opens the package as "Open Existing File" does, its dialog answered with
  // it, once the screen shows: the file the desktop started Corvane with.
  void OpenWhenShown(const std::filesystem::path& package);

 protected:
  QAbstractButton* ButtonForEnter(QWidget* focus) const override;
  void CloseRequested() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildSummary();
  // The lists and summary lines for the current model and MOH mode.
  void ShowModel();
  void RefreshStatus();
  void OnDevice();
  void OnConfigure(const QString& entry);
  void OnFileAction(const QString& action);
  // "Open Existing File" in this context, whose operator chooses the file.
  void OpenPackage(ProjectContext& context);
  // Runs work off the UI thread while the lists and the day check wait.
  void WhileListsWait(const std::function<void()>& work);
  // The save or open flow runs off the UI thread: a Tonvex-One save mixes
  // the production first. Its questions, file dialogs and progress dialog
  // come to the UI thread; the lists wait meanwhile.
  void RunFileFlow(const std::function<void(PackageProgressDialog&)>& flow);
  // A mix for the production runs off the UI thread, its progress shown
  // under the lists, which wait meanwhile.
  void RunProduction(const std::function<void(ProjectContext&)>& work);
  // Asks the exit question; ends the screen on Yes.
  void AskToExit();

  ProjectContext& context_;
  NestedScreens& screens_;
  QComboBox* device_ = nullptr;
  ActionList* configure_ = nullptr;
  ActionList* file_ = nullptr;
  CColorButton* help_ = nullptr;
  // Label and value of each summary line, top to bottom.
  std::array<std::pair<QLabel*, QLabel*>, 7> summary_{};
  QLabel* workCaption_ = nullptr;
  QProgressBar* workBar_ = nullptr;
  QCheckBox* telephone_ = nullptr;
  QTimer dayTimer_;
};

}  // namespace corvane
