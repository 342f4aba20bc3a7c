#pragma once
// The home screen, the one window the operator works from after logging in.
// For now it offers leaving the application; the device, configuration and
// file actions join it as their screens arrive, opened through the nested
// screens seam.

#include "gui/chrome/ChromeDialog.h"

namespace corvane {

class ActionList;
class CColorButton;
class NestedScreens;
struct ProjectContext;

class CMainDlg : public ChromeDialog {
  Q_OBJECT

 public:
  static constexpr const char* kExitAction = "Exit Application";

  // Ends with kConfirmed once the operator confirmed leaving.
  CMainDlg(ProjectContext& context, NestedScreens& screens, QWidget* parent = nullptr);

 protected:
  QAbstractButton* ButtonForEnter(QWidget* focus) const override;
  void CloseRequested() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnFileAction(const QString& action);
  // Asks the exit question; ends the screen on Yes.
  void AskToExit();

  ProjectContext& context_;
  NestedScreens& screens_;
  ActionList* file_ = nullptr;
  CColorButton* help_ = nullptr;
};

}  // namespace corvane
