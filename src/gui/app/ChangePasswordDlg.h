#pragma once
// The change-password screen, reached from the login screen: replaces the one
// stored password after checking the current one.

#include "gui/chrome/ChromeDialog.h"

class QLineEdit;

namespace corvane {

class CColorButton;
class Operator;
class SessionState;

class CChangePasswordDlg : public ChromeDialog {
  Q_OBJECT

 public:
  // Ends with kConfirmed when the password was changed and stored,
  // kCancelled when nothing changed.
  CChangePasswordDlg(SessionState& session, Operator& op, QWidget* parent = nullptr);

 protected:
  QAbstractButton* ButtonForEnter(QWidget* focus) const override;

 private:
  void OnSave();

  SessionState& session_;
  Operator& op_;
  QLineEdit* current_ = nullptr;
  QLineEdit* new_ = nullptr;
  QLineEdit* repeat_ = nullptr;
  CColorButton* save_ = nullptr;
  CColorButton* cancel_ = nullptr;
  CColorButton* help_ = nullptr;
};

}  // namespace corvane
