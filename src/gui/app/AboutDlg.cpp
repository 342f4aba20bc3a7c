#include "gui/app/AboutDlg.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrlQuery>

#include "gui/chrome/ColorButton.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 430;
constexpr int kHeightUnits = 250;
constexpr int kBannerUnits = 37;

const char* const kPhoneSentence = "Call our support line on +1 555 0100 (weekdays, 9 am to 5 pm).";

}  // namespace

bool OpenWithDesktop(const QUrl& url) { return QDesktopServices::openUrl(url); }

QUrl CAboutDlg::MailLink() {
  QUrl link;
  link.setScheme(QStringLiteral("mailto"));
  link.setPath(QString::fromLatin1(kSupportMail));
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("subject"), QString::fromLatin1(kMailSubject));
  link.setQuery(query);
  return link;
}

QUrl CAboutDlg::WebPageLink() { return QUrl(QString::fromLatin1(kWebPage)); }

CAboutDlg::CAboutDlg(QWidget* parent, LinkOpener openLink)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      openLink_(std::move(openLink)) {
  setObjectName(QStringLiteral("CAboutDlg"));
  setWindowTitle(QStringLiteral("Need help?"));

  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  AddLabel("version", QStringLiteral("Version: ") + QString::fromLatin1(kVersion),
           ChromeFont(12, Weight::Regular), kOnColorText, QRect(260, 12, 160, 14),
           Qt::AlignRight | Qt::AlignVCenter);
  AddPicture("picture", Picture::HelpBox, QPoint(Units().X(10), Units().Y(50)));
  AddLabel("heading", QStringLiteral("Need help?"), ChromeFont(27, Weight::Bold), kBannerColor,
           QRect(110, 48, 300, 28));
  QLabel* text = AddLabel("text",
           QStringLiteral("Select the buttons below for more information.\n") +
               QString::fromLatin1(kPhoneSentence),
           ChromeFont(12, Weight::Regular), kBlackText, QRect(110, 82, 310, 40),
           Qt::AlignLeft | Qt::AlignTop);
  text->setWordWrap(true);
  AddLogo();

  auto* mail = AddButton("emailUs", QStringLiteral("Email Us"), QRect(110, 140, 70, 18));
  UseActionScheme(*mail, 10);
  auto* web = AddButton("ourWebpage", QStringLiteral("Our Webpage"), QRect(190, 140, 70, 18));
  UseActionScheme(*web, 10);
  ok_ = AddButton("ok", QStringLiteral("OK"), QRect(355, 212, 60, 20));
  UseActionScheme(*ok_, 14);

  connect(mail, &QAbstractButton::clicked, this, [this] { OpenAndClose(MailLink()); });
  connect(web, &QAbstractButton::clicked, this, [this] { OpenAndClose(WebPageLink()); });
  connect(ok_, &QAbstractButton::clicked, this, [this] { done(kClosed); });
  ok_->setFocus();
}

void CAboutDlg::OpenAndClose(const QUrl& link) {
  // A desktop without a mail program or browser is not the operator's
  // problem to hear about; the box closes either way.
  (void)openLink_(link);
  done(kClosed);
}

QAbstractButton* CAboutDlg::ButtonForEnter(QWidget* focus) const {
  // The focused button, else "OK".
  if (QAbstractButton* focused = ChromeDialog::ButtonForEnter(focus)) return focused;
  return ok_;
}

void RunHelpBox(QWidget* parent) {
  CAboutDlg box(parent);
  box.RunModal();
}

}  // namespace corvane
