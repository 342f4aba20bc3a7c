#pragma once
// The progress dialog of saving and opening a package. The work runs on a
// worker thread while the bar moves and the window repaints; questions and
// file dialogs the work asks go to the UI thread through the operator. The
// dialog cannot be cancelled: it ends with the work's status, after holding
// a success for two seconds or showing a failure until OK.

#include <QTimer>

#include "gui/chrome/ChromeDialog.h"
#include "project/ProjectContext.h"

class QProgressBar;

namespace corvane {

class CColorButton;

class CImportExportDlg : public ChromeDialog {
  Q_OBJECT

 public:
  static constexpr const char* kOpeningText = "Opening File ...";
  static constexpr const char* kSavingText = "Saving File ...";
  static constexpr int kSuccessHoldMs = 2000;

  CImportExportDlg(std::string text, ProgressWork work, QWidget* parent = nullptr);
  ~CImportExportDlg() override;

  // Runs the work once the dialog shows; its result is the work's status.
  int Run();
  // The start timer's tick: the work, off the UI thread, then its result.
  // The work runs once, however often this is called.
  void Start();
  // The end of the two seconds a success stays on screen.
  void HoldTick();
  bool Working() const { return working_; }

 protected:
  QAbstractButton* ButtonForEnter(QWidget* focus) const override;
  void CloseRequested() override {}

 private:
  void Finish(int code);

  std::string text_;
  ProgressWork work_;
  QLabel* line_ = nullptr;
  QProgressBar* bar_ = nullptr;
  CColorButton* ok_ = nullptr;
  QTimer hold_;
  int code_ = 0;
  bool working_ = false;
  bool started_ = false;
};

}  // namespace corvane
