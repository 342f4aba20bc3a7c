#pragma once
// The help box every screen opens from "Need help?": the version, the support
// telephone number, and buttons that open a mail to support or the web page.

#include <QUrl>
#include <functional>

#include "gui/chrome/ChromeDialog.h"

namespace corvane {

class CColorButton;

// Opens a link with the desktop's handler; false when it could not.
using LinkOpener = std::function<bool(const QUrl&)>;
bool OpenWithDesktop(const QUrl& url);

class CAboutDlg : public ChromeDialog {
  Q_OBJECT

 public:
  static constexpr const char* kVersion = CORVANE_VERSION;
  static constexpr const char* kSupportMail = "support@melloway.example";
  static constexpr const char* kWebPage = "https://www.melloway.example/";
  static constexpr const char* kMailSubject = "Corvane Application Help";
  // What "OK", "Email Us" and "Our Webpage" end the box with.
  static constexpr int kClosed = 1;

  explicit CAboutDlg(QWidget* parent = nullptr, LinkOpener openLink = OpenWithDesktop);

  static QUrl MailLink();
  static QUrl WebPageLink();

 protected:
  QAbstractButton* ButtonForEnter(QWidget* focus) const override;

 private:
  void OpenAndClose(const QUrl& link);

  LinkOpener openLink_;
  CColorButton* ok_ = nullptr;
};

// Runs the help box over the given screen; its result means nothing to callers.
void RunHelpBox(QWidget* parent);

}  // namespace corvane
