#include "gui/app/LoginDlg.h"

#include <QCheckBox>
#include <QLineEdit>

#include "gui/app/AboutDlg.h"
#include "gui/app/ChangePasswordDlg.h"
#include "gui/chrome/ColorButton.h"
#include "operator/Operator.h"
#include "package/PasswordRules.h"
#include "package/SecuritySettingsFile.h"
#include "project/SessionState.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 450;
constexpr int kHeightUnits = 290;
constexpr int kBannerUnits = 62;
constexpr int kColumnUnits = 165;

QLineEdit* AddField(QWidget* parent, const DialogUnits& units, const char* name, const QFont& font,
                    int topUnits) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setFont(font);
  field->setMaxLength(kCredentialFieldLimit);
  field->setGeometry(units.Rect(kColumnUnits, topUnits, 200, 17));
  return field;
}

std::string Trimmed(const QLineEdit* field) { return field->text().trimmed().toStdString(); }

}  // namespace

const char* const CLoginDlg::kMohQuestion =
    "\nIMPORTANT!\n"
    "\nMusic On Hold mode enables device locks which "
    "\nshould ONLY be used by MOH Service Providers."
    "\nIf you are not an MOH Service Provider you should "
    "\nnot use this functionality as it can permanently lock "
    "\nyour device if you lose the key. "
    "\n\nAny locked device would need to return to the factory "
    "\nfor reprogramming and would be subject to a "
    "\nreprogramming fee.  Unless you are a MOH Service "
    "\nProvider press NO below. ";

CLoginDlg::CLoginDlg(SessionState& session, Operator& op, QWidget* parent)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      session_(session),
      op_(op) {
  setObjectName(QStringLiteral("CLoginDlg"));
  setWindowTitle(QString::fromLatin1(kProductName));

  AddTitle(30, QRect(200, 12, 240, 38), Qt::AlignRight | Qt::AlignVCenter);
  AddPicture("picture", Picture::Login, QPoint(Units().X(10), Units().Y(70)));

  const QFont labelFont = ChromeFont(16, Weight::Bold);
  AddLabel("userNameLabel", QStringLiteral("Username"), labelFont, kBannerColor,
           QRect(kColumnUnits, 72, 120, 16));
  userName_ = AddField(this, Units(), "userName", ChromeFont(15, Weight::Regular), 89);
  AddLabel("passwordLabel", QStringLiteral("Password"), labelFont, kBannerColor,
           QRect(kColumnUnits, 110, 120, 16));
  password_ = AddField(this, Units(), "password", ChromeFont(16, Weight::Bold), 127);
  password_->setEchoMode(QLineEdit::Password);

  mohMode_ = new QCheckBox(QStringLiteral("Music On Hold Service Resellers Only"), this);
  mohMode_->setObjectName(QStringLiteral("mohMode"));
  mohMode_->setFont(ChromeFont(10, Weight::Regular));
  QPalette stripText = mohMode_->palette();
  stripText.setColor(QPalette::WindowText, QColor(kStripColor));
  mohMode_->setPalette(stripText);
  mohMode_->setGeometry(Units().Rect(kColumnUnits, 149, 230, 12));
  mohMode_->setChecked(session_.Security.MohMode);

  ok_ = AddButton("ok", QStringLiteral("OK"), QRect(kColumnUnits, 168, 60, 20));
  UseActionScheme(*ok_, 14);
  cancel_ = AddButton("cancel", QStringLiteral("Cancel"), QRect(kColumnUnits + 70, 168, 60, 20));
  UseActionScheme(*cancel_, 14);
  changePassword_ = AddButton("changePassword", QStringLiteral("Change your password?"),
                              QRect(kColumnUnits, 197, 110, 14));
  UseSecondaryScheme(*changePassword_);
  AddLogo();
  help_ = AddHelpButton();

  setTabOrder(userName_, password_);
  setTabOrder(password_, mohMode_);
  setTabOrder(mohMode_, ok_);
  setTabOrder(ok_, cancel_);
  setTabOrder(cancel_, changePassword_);
  setTabOrder(changePassword_, help_);
  userName_->setFocus();

  connect(ok_, &QAbstractButton::clicked, this, &CLoginDlg::OnOk);
  connect(cancel_, &QAbstractButton::clicked, this, [this] { done(kCancelled); });
  connect(mohMode_, &QAbstractButton::clicked, this, &CLoginDlg::OnMohClicked);
  connect(changePassword_, &QAbstractButton::clicked, this, &CLoginDlg::OnChangePassword);
  connect(help_, &QAbstractButton::clicked, this, [this] { RunHelpBox(this); });
}

QAbstractButton* CLoginDlg::ButtonForEnter(QWidget* focus) const {
  if (focus == userName_ || focus == password_) return ok_;
  if (focus == ok_ || focus == changePassword_ || focus == help_) {
    return static_cast<QAbstractButton*>(focus);
  }
  return nullptr;
}

void CLoginDlg::OnMohClicked(bool ticked) {
  // Only ticking is risky; unticking needs no question.
  if (!ticked) return;
  const OperatorAnswer answer = op_.Ask(kMohQuestionTitle, kMohQuestion, OperatorButtons::YesNo,
                                        OperatorIcon::Exclamation);
  if (answer != OperatorAnswer::Yes) mohMode_->setChecked(false);
}

void CLoginDlg::OnOk() {
  SecuritySettings& security = session_.Security;
  if (!CredentialsAccepted(security, Trimmed(userName_), Trimmed(password_))) {
    op_.Tell("Login Failure", "Invalid username and/or password", OperatorIcon::Stop);
    return;
  }
  security.MohMode = mohMode_->isChecked();
  // A settings file that cannot be written must not keep the operator out.
  (void)SaveSecuritySettings(security, session_.Folders.ApplicationFolder, false);
  done(kConfirmed);
}

void CLoginDlg::OnChangePassword() {
  hide();
  CChangePasswordDlg changePassword(session_, op_, parentWidget());
  changePassword.RunModal();
  show();
}

}  // namespace corvane
