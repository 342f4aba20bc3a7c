// The change-password screen: the order of its checks, the length rule and
// the keyboard.
#include <QLineEdit>

#include "gui/app/AboutDlg.h"
#include "gui/app/ChangePasswordDlg.h"
#include "gui/chrome/ColorButton.h"
#include "package/SecuritySettingsFile.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

class ChangePasswordScreen : public ScreenTest {
 protected:
  void Fill(CChangePasswordDlg& screen, const QString& current, const QString& newPassword,
            const QString& repeat) {
    Retype(Find(&screen, "currentPassword"), current);
    Retype(Find(&screen, "newPassword"), newPassword);
    Retype(Find(&screen, "repeatPassword"), repeat);
  }
  std::string StoredPassword() const {
    SecuritySettings stored;
    if (!LoadSecuritySettings(stored, data.Path())) return "(no file)";
    return stored.Password;
  }
};

TEST_F(ChangePasswordScreen, RefusesInTheGivenOrderAndChangesNothing) {
  const struct {
    const char* stored;
    QString current, newPassword, repeat;
    const char* title;
    const char* text;
  } refusals[] = {
      {"tavik", "TAVIK", "abcdefg", "abcdefg", "Invalid Password", "Current password invalid"},
      // A wrong current password is reported before a mismatch.
      {"tavik", "nope", "abcdefg", "abcdefh", "Invalid Password", "Current password invalid"},
      {"tavik", "tavik", "abcdefg", "abcdefh", "Password Mismatch", "Passwords do not match"},
      // The unchanged check comes before the blank and the length checks.
      {"", "", "", "", "Invalid Password", "New password matches current password"},
      {"abc", "abc", "abc", "abc", "Invalid Password", "New password matches current password"},
      {"tavik", " tavik ", "    ", "  ", "Invalid Password", "Password cannot be blank"},
      {"tavik", "tavik", "abcd", "abcd", "Password Length Invalid",
       "Password length must be\nbetween 5 and 17 characters."},
      {"tavik", "tavik", " ab c ", "ab c", "Password Length Invalid",
       "Password length must be\nbetween 5 and 17 characters."},
  };
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.text);
    session.Security.Password = r.stored;
    CChangePasswordDlg screen(session, op);
    ShowScreen(screen);
    Fill(screen, r.current, r.newPassword, r.repeat);
    op.ExpectMessage(r.title, r.text);
    Click(Find<CColorButton>(&screen, "save"));
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(session.Security.Password, r.stored);
  }
  EXPECT_EQ(StoredPassword(), "(no file)");
}

// The settings file keeps a password in 16 bytes: the fields take no more,
// and no character that would take more than one byte there.
TEST_F(ChangePasswordScreen, FiveToSixteenCharactersAreStoredTrimmedAndConfirmed) {
  for (const auto& [typed, stored] : {std::pair<QString, std::string>{" 5char  ", "5char"},
                                      {QString::fromUtf8("gr\xC3\xBC\xC3\x9F"
                                                         "e 1!"),
                                       "gre 1!"},
                                      {"0123456789abcdefX", "0123456789abcdef"}}) {
    const std::string current = session.Security.Password;
    CChangePasswordDlg screen(session, op);
    ShowScreen(screen);
    Fill(screen, " " + QString::fromStdString(current), typed, typed.trimmed());
    EXPECT_EQ(Find<QLineEdit>(&screen, "newPassword")->echoMode(), QLineEdit::Password);
    op.ExpectMessage("Success", "Password updated");
    Click(Find<CColorButton>(&screen, "save"));
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(screen.result(), ChromeDialog::kConfirmed);
    EXPECT_EQ(session.Security.Password, stored);
    EXPECT_EQ(StoredPassword(), stored);
  }
}

TEST_F(ChangePasswordScreen, EnterPressesSaveFromTheFieldsCancelChangesNothing) {
  for (const char* where : {"currentPassword", "newPassword", "repeatPassword", "save"}) {
    CChangePasswordDlg screen(session, op);
    ShowScreen(screen);
    op.ExpectMessage("Invalid Password", "Current password invalid");
    PressEnter(Find(&screen, where));
    EXPECT_TRUE(op.AllAnswered()) << where;
  }
  CChangePasswordDlg screen(session, op);
  ShowScreen(screen);
  Fill(screen, "tavik", "abcdefg", "abcdefg");
  PressEnter(Find(&screen, "cancel"));  // swallowed
  EXPECT_TRUE(screen.isVisible());
  WhenScreenOpens([](QDialog& help) {
    EXPECT_NE(qobject_cast<CAboutDlg*>(&help), nullptr);
    Click(Find<CColorButton>(&help, "ok"));
  });
  PressEnter(Find(&screen, "help"));
  EXPECT_TRUE(screen.isVisible());
  Click(Find<CColorButton>(&screen, "cancel"));
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(screen.result(), ChromeDialog::kCancelled);
  EXPECT_EQ(session.Security.Password, "tavik");
  EXPECT_EQ(StoredPassword(), "(no file)");
}

}  // namespace
}  // namespace corvane::test
