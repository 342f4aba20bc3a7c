// The login screen: credentials, MOH mode and the keyboard.
#include <QLabel>
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

class LoginScreen : public ScreenTest {
 protected:
  SecuritySettings Stored() const {
    SecuritySettings stored;
    EXPECT_TRUE(LoadSecuritySettings(stored, data.Path())) << "no settings file was written";
    return stored;
  }
  bool SettingsWritten() const { return std::filesystem::exists(SecuritySettingsPath(data.Path())); }

  void LogIn(CLoginDlg& login, const QString& user, const QString& password) {
    Retype(Find(&login, "userName"), user);
    Retype(Find(&login, "password"), password);
    Click(Find<CColorButton>(&login, "ok"));
  }
};

TEST_F(LoginScreen, FreshInstallAcceptsTheBuiltInLoginTypedWithBlanks) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  EXPECT_FALSE(Find<QCheckBox>(&login, "mohMode")->isChecked());

  LogIn(login, "  tavik  ", " tavik   ");

  EXPECT_FALSE(login.isVisible());
  EXPECT_EQ(login.result(), ChromeDialog::kConfirmed);
  EXPECT_FALSE(Stored().MohMode);
}

TEST_F(LoginScreen, WrongCredentialsAreRefusedAsOftenAsTheyAreTried) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  const std::pair<QString, QString> wrong[] = {
      {"TAVIK", "TAVIK"}, {"Tavik", "tavik"}, {"tavik", "Tavik"},
      {"tavik", ""},      {"", "tavik"},      {"ta vik", "tavik"},
  };
  for (const auto& [user, password] : wrong) {
    op.ExpectMessage("Login Failure", "Invalid username and/or password");
    LogIn(login, user, password);
    EXPECT_TRUE(login.isVisible()) << user.toStdString() << "/" << password.toStdString();
  }
  EXPECT_FALSE(SettingsWritten());
  for (const auto& shown : op.History()) EXPECT_EQ(shown.icon, OperatorIcon::Stop);

  LogIn(login, "tavik", "tavik");
  EXPECT_EQ(login.result(), ChromeDialog::kConfirmed);
}

TEST_F(LoginScreen, MohQuestionAnsweredNoLeavesTheBoxUntickedAndStoresModeZero) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  auto* moh = Find<QCheckBox>(&login, "mohMode");

  op.ExpectQuestion("Enable MOH Mode?", CLoginDlg::kMohQuestion, OperatorAnswer::No);
  Click(moh);
  EXPECT_FALSE(moh->isChecked());
  ASSERT_EQ(op.History().size(), 1u);
  EXPECT_EQ(op.History()[0].buttons, OperatorButtons::YesNo);
  EXPECT_EQ(op.History()[0].icon, OperatorIcon::Exclamation);

  LogIn(login, "tavik", "tavik");
  EXPECT_FALSE(session.Security.MohMode);
  EXPECT_FALSE(Stored().MohMode);
}

TEST_F(LoginScreen, MohQuestionTextIsTheWarningWordForWord) {
  EXPECT_EQ(std::string(CLoginDlg::kMohQuestion),
            "\nIMPORTANT!\n\nMusic On Hold mode enables device locks which \nshould ONLY be used "
            "by MOH Service Providers.\nIf you are not an MOH Service Provider you should \nnot "
            "use this functionality as it can permanently lock \nyour device if you lose the key. "
            "\n\nAny locked device would need to return to the factory \nfor reprogramming and "
            "would be subject to a \nreprogramming fee.  Unless you are a MOH Service \nProvider "
            "press NO below. ");
}

TEST_F(LoginScreen, MohModeChangesOnlyWhenTheLoginIsAccepted) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  op.ExpectQuestion("Enable MOH Mode?", CLoginDlg::kMohQuestion, OperatorAnswer::Yes);
  Click(Find<QCheckBox>(&login, "mohMode"));
  EXPECT_TRUE(Find<QCheckBox>(&login, "mohMode")->isChecked());
  EXPECT_FALSE(session.Security.MohMode);  // ticking alone stores nothing

  op.ExpectMessage("Login Failure", "Invalid username and/or password");
  LogIn(login, "tavik", "wrong");
  EXPECT_FALSE(session.Security.MohMode);

  LogIn(login, "tavik", "tavik");
  EXPECT_TRUE(session.Security.MohMode);
  EXPECT_TRUE(Stored().MohMode);
}

TEST_F(LoginScreen, UntickingAsksNothingAndTurnsMohModeOffForThisAndTheNextRun) {
  session.Security.MohMode = true;
  CLoginDlg login(session, op);
  ShowScreen(login);
  auto* moh = Find<QCheckBox>(&login, "mohMode");
  ASSERT_TRUE(moh->isChecked());

  Click(moh);  // no question expected
  EXPECT_FALSE(moh->isChecked());
  LogIn(login, "tavik", "tavik");

  EXPECT_FALSE(session.Security.MohMode);
  EXPECT_FALSE(Stored().MohMode);
}

TEST_F(LoginScreen, CancelEndsWithTheCancelResultAndWritesNothing) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  Type(Find(&login, "userName"), "tavik");
  Type(Find(&login, "password"), "tavik");
  Click(Find<CColorButton>(&login, "cancel"));
  EXPECT_FALSE(login.isVisible());
  EXPECT_EQ(login.result(), ChromeDialog::kCancelled);
  EXPECT_FALSE(SettingsWritten());
}

TEST_F(LoginScreen, FieldsTakeSixteenCharactersAndThePasswordIsMasked) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  auto* user = Find<QLineEdit>(&login, "userName");
  auto* password = Find<QLineEdit>(&login, "password");
  Type(user, "abcdefghijklmnopqrst");
  Type(password, "abcdefghijklmnopqrst");
  EXPECT_EQ(user->text(), "abcdefghijklmnop");
  EXPECT_EQ(password->text(), "abcdefghijklmnop");
  EXPECT_EQ(password->echoMode(), QLineEdit::Password);
  EXPECT_EQ(user->echoMode(), QLineEdit::Normal);
}

TEST_F(LoginScreen, EscapeNeverClosesTheScreen) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  for (const char* name :
       {"userName", "password", "mohMode", "ok", "cancel", "changePassword", "help"}) {
    PressEscape(Find(&login, name));
    EXPECT_TRUE(login.isVisible()) << name;
  }
  login.reject();
  EXPECT_TRUE(login.isVisible());
  EXPECT_EQ(login.result(), ChromeDialog::kCancelled);
}

TEST_F(LoginScreen, ClosingTheWindowCancels) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  login.close();
  EXPECT_FALSE(login.isVisible());
  EXPECT_EQ(login.result(), ChromeDialog::kCancelled);
}

TEST_F(LoginScreen, EnterInEitherFieldOrOnOkLogsIn) {
  for (const char* where : {"userName", "password", "ok"}) {
    CLoginDlg login(session, op);
    ShowScreen(login);
    Type(Find(&login, "userName"), "tavik");
    Type(Find(&login, "password"), "tavik");
    PressEnter(Find(&login, where));
    EXPECT_FALSE(login.isVisible()) << where;
    EXPECT_EQ(login.result(), ChromeDialog::kConfirmed) << where;
  }
}

TEST_F(LoginScreen, EnterOnCancelOrTheCheckboxIsSwallowed) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  Type(Find(&login, "userName"), "tavik");
  Type(Find(&login, "password"), "tavik");
  PressEnter(Find(&login, "cancel"));
  PressEnter(Find(&login, "mohMode"));
  EXPECT_TRUE(login.isVisible());
  EXPECT_FALSE(Find<QCheckBox>(&login, "mohMode")->isChecked());
  EXPECT_TRUE(op.History().empty());
}

TEST_F(LoginScreen, EnterOnNeedHelpOpensTheHelpBox) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  bool helpShown = false;
  WhenScreenOpens([&](QDialog& screen) {
    helpShown = qobject_cast<CAboutDlg*>(&screen) != nullptr;
    Click(Find<CColorButton>(&screen, "ok"));
  });
  PressEnter(Find(&login, "help"));
  EXPECT_TRUE(helpShown);
  EXPECT_TRUE(login.isVisible());
}

TEST_F(LoginScreen, ChangingThePasswordHidesTheLoginAndKeepsWhatWasTyped) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  Type(Find(&login, "userName"), "tavik");
  Type(Find(&login, "password"), "typed");
  bool loginHidden = false;
  WhenScreenOpens([&](QDialog& screen) {
    ASSERT_NE(qobject_cast<CChangePasswordDlg*>(&screen), nullptr);
    loginHidden = !login.isVisible();
    Click(Find<CColorButton>(&screen, "cancel"));
  });
  PressEnter(Find(&login, "changePassword"));  // Enter presses it like a click
  EXPECT_TRUE(ScreenWasDriven());
  EXPECT_TRUE(loginHidden);
  EXPECT_TRUE(login.isVisible());
  EXPECT_EQ(Find<QLineEdit>(&login, "userName")->text(), "tavik");
  EXPECT_EQ(Find<QLineEdit>(&login, "password")->text(), "typed");
}

TEST_F(LoginScreen, AfterAChangeOnlyTheNewPasswordWorks) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  WhenScreenOpens([&](QDialog& screen) {
    Type(Find(&screen, "currentPassword"), "tavik");
    Type(Find(&screen, "newPassword"), "Sunrise-42");
    Type(Find(&screen, "repeatPassword"), "Sunrise-42");
    op.ExpectMessage("Success", "Password updated");
    Click(Find<CColorButton>(&screen, "save"));
  });
  Click(Find<CColorButton>(&login, "changePassword"));
  ASSERT_TRUE(ScreenWasDriven());

  op.ExpectMessage("Login Failure", "Invalid username and/or password");
  LogIn(login, "tavik", "tavik");
  EXPECT_TRUE(login.isVisible());
  LogIn(login, "tavik", "Sunrise-42");
  EXPECT_EQ(login.result(), ChromeDialog::kConfirmed);

  // And so it is at the next start.
  EXPECT_EQ(Stored().Password, "Sunrise-42");
}

TEST_F(LoginScreen, StoredCredentialsAreTheOnesChecked) {
  session.Security.UserName = "ops";
  session.Security.Password = "Pa55word";
  CLoginDlg login(session, op);
  ShowScreen(login);
  op.ExpectMessage("Login Failure", "Invalid username and/or password");
  LogIn(login, "tavik", "tavik");
  LogIn(login, " ops", "Pa55word ");
  EXPECT_EQ(login.result(), ChromeDialog::kConfirmed);
}

}  // namespace
}  // namespace corvane::test
