#pragma once
// The login screen: one user name and password guard the application, and
// the MOH (service reseller) mode for the run is chosen here.

#include "gui/chrome/ChromeDialog.h"

class QCheckBox;
class QLineEdit;

namespace corvane {

class CColorButton;
class Operator;
class SessionState;

class CLoginDlg : public ChromeDialog {
  Q_OBJECT

 public:
  static constexpr const char* kMohQuestionTitle = "Enable MOH Mode?";
  static const char* const kMohQuestion;

  // Ends with kConfirmed when the login was accepted, kCancelled otherwise.
  CLoginDlg(SessionState& session, Operator& op, QWidget* parent = nullptr);

 protected:
  QAbstractButton* ButtonForEnter(QWidget* focus) const override;

 private:
  void OnOk();
  void OnMohClicked(bool ticked);
  void OnChangePassword();

  SessionState& session_;
  Operator& op_;
  QLineEdit* userName_ = nullptr;
  QLineEdit* password_ = nullptr;
  QCheckBox* mohMode_ = nullptr;
  CColorButton* ok_ = nullptr;
  CColorButton* cancel_ = nullptr;
  CColorButton* changePassword_ = nullptr;
  CColorButton* help_ = nullptr;
};

}  // namespace corvane
