#include "gui/app/ChangePasswordDlg.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "gui/app/AboutDlg.h"
#include "gui/chrome/ColorButton.h"
#include "operator/Operator.h"
#include "package/PasswordRules.h"
#include "package/SecuritySettingsFile.h"
#include "project/SessionState.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 450;
constexpr int kHeightUnits = 290;
constexpr int kBannerUnits = 37;
constexpr int kColumnUnits = 165;

QLineEdit* AddPasswordField(QWidget* parent, const DialogUnits& units, const char* name,
                            int topUnits) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setFont(ChromeFont(16, Weight::Bold));
  field->setMaxLength(kCredentialFieldLimit);
  field->setEchoMode(QLineEdit::Password);
  field->setGeometry(units.Rect(kColumnUnits, topUnits, 200, 17));
  return field;
}

std::string Trimmed(const QLineEdit* field) { return field->text().trimmed().toStdString(); }

}  // namespace

CChangePasswordDlg::CChangePasswordDlg(SessionState& session, Operator& op, QWidget* parent)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      session_(session),
      op_(op) {
  setObjectName(QStringLiteral("CChangePasswordDlg"));
  setWindowTitle(QStringLiteral("Change Password"));

  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  AddPicture("picture", Picture::Settings, QPoint(Units().X(10), Units().Y(48)));

  const QFont labelFont = ChromeFont(16, Weight::Bold);
  AddLabel("currentLabel", QStringLiteral("Current Password"), labelFont, kBannerColor,
           QRect(kColumnUnits, 46, 200, 16));
  current_ = AddPasswordField(this, Units(), "currentPassword", 63);
  AddLabel("newLabel", QStringLiteral("New Password"), labelFont, kBannerColor,
           QRect(kColumnUnits, 86, 200, 16));
  new_ = AddPasswordField(this, Units(), "newPassword", 103);
  AddLabel("repeatLabel", QStringLiteral("Repeat Password"), labelFont, kBannerColor,
           QRect(kColumnUnits, 126, 200, 16));
  repeat_ = AddPasswordField(this, Units(), "repeatPassword", 143);

  // The settings file keeps a password in 16 bytes. Characters outside
  // printable ASCII take more than one byte there, so a password of them
  // would be cut on saving and could never be typed again.
  const QRegularExpression storable(QStringLiteral("[\\x20-\\x7E]*"));
  new_->setValidator(new QRegularExpressionValidator(storable, new_));
  repeat_->setValidator(new QRegularExpressionValidator(storable, repeat_));

  save_ = AddButton("save", QStringLiteral("Save"), QRect(kColumnUnits, 172, 60, 20));
  UseActionScheme(*save_, 14);
  cancel_ = AddButton("cancel", QStringLiteral("Cancel"), QRect(kColumnUnits + 70, 172, 60, 20));
  UseActionScheme(*cancel_, 14);
  AddLogo();
  help_ = AddHelpButton();

  setTabOrder(current_, new_);
  setTabOrder(new_, repeat_);
  setTabOrder(repeat_, save_);
  setTabOrder(save_, cancel_);
  setTabOrder(cancel_, help_);
  current_->setFocus();

  connect(save_, &QAbstractButton::clicked, this, &CChangePasswordDlg::OnSave);
  connect(cancel_, &QAbstractButton::clicked, this, [this] { done(kCancelled); });
  connect(help_, &QAbstractButton::clicked, this, [this] { RunHelpBox(this); });
}

QAbstractButton* CChangePasswordDlg::ButtonForEnter(QWidget* focus) const {
  if (focus == current_ || focus == new_ || focus == repeat_) return save_;
  if (focus == save_ || focus == help_) return static_cast<QAbstractButton*>(focus);
  return nullptr;
}

void CChangePasswordDlg::OnSave() {
  SecuritySettings& security = session_.Security;
  const std::string newPassword = Trimmed(new_);
  if (const auto refusal =
          CheckPasswordChange(security.Password, Trimmed(current_), newPassword, Trimmed(repeat_))) {
    op_.Tell(refusal->title, refusal->text, OperatorIcon::Stop);
    return;
  }
  security.Password = newPassword;
  (void)SaveSecuritySettings(security, session_.Folders.ApplicationFolder, false);
  op_.Tell("Success", "Password updated", OperatorIcon::Information);
  done(kConfirmed);
}

}  // namespace corvane
