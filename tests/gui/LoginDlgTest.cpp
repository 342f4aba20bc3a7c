// The login screen: credentials, MOH mode and the keyboard.
#include <QCheckBox>
#include <QLineEdit>

#include "gui/app/AboutDlg.h"
#include "gui/app/ChangePasswordDlg.h"
#include "gui/app/LoginDlg.h"
#include "gui/chrome/ColorButton.h"
#include "package/SecuritySettingsFile.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

// The warning word for word.
constexpr const char* kMohWarning =
    "\nIMPORTANT!\n\nMusic On Hold mode enables device locks which \nshould ONLY be used by MOH "
    "Service Providers.\nIf you are not an MOH Service Provider you should \nnot use this "
    "functionality as it can permanently lock \nyour device if you lose the key. \n\nAny locked "
    "device would need to return to the factory \nfor reprogramming and would be subject to a "
    "\nreprogramming fee.  Unless you are a MOH Service \nProvider press NO below. ";

class LoginScreen : public ScreenTest {
 protected:
  SecuritySettings Stored() const {
    SecuritySettings stored;
    EXPECT_TRUE(LoadSecuritySettings(stored, data.Path())) << "no settings file was written";
    return stored;
  }
  bool SettingsWritten() const {
    return std::filesystem::exists(SecuritySettingsPath(data.Path()));
  }

  void LogIn(CLoginDlg& login, const QString& user, const QString& password) {
    Retype(Find(&login, "userName"), user);
    Retype(Find(&login, "password"), password);
    Click(Find<CColorButton>(&login, "ok"));
  }
  void ExpectRefusal() { op.ExpectMessage("Login Failure", "Invalid username and/or password"); }
};

TEST_F(LoginScreen, CredentialsMustMatchExactlyUpToBlanksAround) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  const std::pair<QString, QString> wrong[] = {
      {"TAVIK", "TAVIK"}, {"Tavik", "tavik"}, {"tavik", "Tavik"},
      {"tavik", ""},      {"", "tavik"},      {"ta vik", "tavik"},
  };
  for (const auto& [user, password] : wrong) {
    ExpectRefusal();
    LogIn(login, user, password);
    EXPECT_TRUE(login.isVisible()) << user.toStdString() << "/" << password.toStdString();
  }
  EXPECT_FALSE(SettingsWritten());

  EXPECT_EQ(Find<QLineEdit>(&login, "password")->echoMode(), QLineEdit::Password);
  LogIn(login, "  tavik  ", " tavik   ");
  EXPECT_FALSE(login.isVisible());
  EXPECT_EQ(login.result(), ChromeDialog::kConfirmed);
  EXPECT_FALSE(Stored().MohMode);
}

TEST_F(LoginScreen, TickingMohModeWarnsAndOnlyAnAcceptedLoginStoresIt) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  auto* moh = Find<QCheckBox>(&login, "mohMode");
  EXPECT_FALSE(moh->isChecked());
  op.ExpectQuestion("Enable MOH Mode?", kMohWarning, OperatorAnswer::No);
  Click(moh);
  EXPECT_FALSE(moh->isChecked());

  op.ExpectQuestion("Enable MOH Mode?", kMohWarning, OperatorAnswer::Yes);
  Click(moh);
  EXPECT_TRUE(moh->isChecked());
  EXPECT_FALSE(session.Security.MohMode);  // ticking alone stores nothing
  ExpectRefusal();
  LogIn(login, "tavik", "wrong");
  EXPECT_FALSE(session.Security.MohMode);
  LogIn(login, "tavik", "tavik");
  EXPECT_TRUE(session.Security.MohMode);
  EXPECT_TRUE(Stored().MohMode);

  // Unticking asks nothing and turns MOH mode off for this and the next run.
  CLoginDlg next(session, op);
  ShowScreen(next);
  ASSERT_TRUE(Find<QCheckBox>(&next, "mohMode")->isChecked());
  Click(Find<QCheckBox>(&next, "mohMode"));
  LogIn(next, "tavik", "tavik");
  EXPECT_FALSE(session.Security.MohMode);
  EXPECT_FALSE(Stored().MohMode);
}

TEST_F(LoginScreen, OnlyItsOwnButtonsAndEnterEndItAndACancelWritesNothing) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  Type(Find(&login, "userName"), "tavik");
  Type(Find(&login, "password"), "tavik");
  PressEscape(Find(&login, "password"));
  EXPECT_TRUE(login.isVisible());
  login.reject();
  // Enter on Cancel or on the check box is swallowed; on Need help? it opens the help box.
  PressEnter(Find(&login, "cancel"));
  PressEnter(Find(&login, "mohMode"));
  EXPECT_FALSE(Find<QCheckBox>(&login, "mohMode")->isChecked());
  WhenScreenOpens([](QDialog& screen) {
    EXPECT_NE(qobject_cast<CAboutDlg*>(&screen), nullptr);
    Click(Find<CColorButton>(&screen, "ok"));
  });
  PressEnter(Find(&login, "help"));
  EXPECT_TRUE(login.isVisible());

  for (const char* end : {"cancel", "close", "userName", "password", "ok"}) {
    CLoginDlg fresh(session, op);
    ShowScreen(fresh);
    Type(Find(&fresh, "userName"), "tavik");
    Type(Find(&fresh, "password"), "tavik");
    const bool cancel = std::string(end) == "cancel", close = std::string(end) == "close";
    if (cancel) Click(Find<CColorButton>(&fresh, "cancel"));
    if (close) fresh.close();
    if (!cancel && !close) PressEnter(Find(&fresh, end));
    EXPECT_FALSE(fresh.isVisible()) << end;
    EXPECT_EQ(fresh.result(), cancel || close ? ChromeDialog::kCancelled : ChromeDialog::kConfirmed)
        << end;
    EXPECT_EQ(SettingsWritten(), !cancel && !close) << end;
  }
}

TEST_F(LoginScreen, ChangingThePasswordHidesTheLoginKeepsWhatWasTypedAndOnlyTheNewOneWorks) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  Type(Find(&login, "userName"), "tavik");
  Type(Find(&login, "password"), "typed");
  bool loginHidden = false;
  WhenScreenOpens([&](QDialog& screen) {
    ASSERT_NE(qobject_cast<CChangePasswordDlg*>(&screen), nullptr);
    loginHidden = !login.isVisible();
    Type(Find(&screen, "currentPassword"), "tavik");
    Type(Find(&screen, "newPassword"), "Sunrise-42");
    Type(Find(&screen, "repeatPassword"), "Sunrise-42");
    op.ExpectMessage("Success", "Password updated");
    Click(Find<CColorButton>(&screen, "save"));
  });
  PressEnter(Find(&login, "changePassword"));  // Enter presses it like a click
  ASSERT_TRUE(ScreenWasDriven());
  EXPECT_TRUE(loginHidden);
  EXPECT_TRUE(login.isVisible());
  EXPECT_EQ(Find<QLineEdit>(&login, "userName")->text(), "tavik");
  EXPECT_EQ(Find<QLineEdit>(&login, "password")->text(), "typed");

  ExpectRefusal();
  LogIn(login, "tavik", "tavik");
  LogIn(login, "tavik", "Sunrise-42");
  EXPECT_EQ(login.result(), ChromeDialog::kConfirmed);
  EXPECT_EQ(Stored().Password, "Sunrise-42");  // and so it is at the next start
}

}  // namespace
}  // namespace corvane::test
