// The help box.
#include <QLabel>
#include <QUrlQuery>
#include <vector>

#include "gui/app/AboutDlg.h"
#include "gui/chrome/ColorButton.h"
#include "support/ScreenDriver.h"

namespace corvane::test {
namespace {

struct LinkRecorder {
  std::vector<QUrl> opened;
  bool succeed = true;
  LinkOpener Opener() {
    return [this](const QUrl& url) {
      opened.push_back(url);
      return succeed;
    };
  }
};

TEST(AboutBox, ShowsTheVersionLineOnTheBannerAndTheSupportText) {
  CAboutDlg box;
  ShowScreen(box);
  const auto* version = Find<QLabel>(&box, "version");
  EXPECT_EQ(version->text(), "Version: 3.3.4.0");
  EXPECT_EQ(version->palette().color(QPalette::WindowText), QColor(kOnColorText));
  // On the banner, at its right.
  EXPECT_LT(version->geometry().bottom(), DialogUnits::Screens().Y(37));
  EXPECT_GT(version->geometry().right(), box.width() * 3 / 4);
  EXPECT_EQ(Find<QLabel>(&box, "heading")->text(), "Need help?");
  EXPECT_TRUE(Find<QLabel>(&box, "text")->text().startsWith(
      "Select the buttons below for more information.\n"));
  EXPECT_EQ(Find<QLabel>(&box, "picture")->pixmap().size(), QSize(125, 125));
}

TEST(AboutBox, EmailUsOpensAMailToSupportWithTheSubjectAndCloses) {
  LinkRecorder links;
  CAboutDlg box(nullptr, links.Opener());
  ShowScreen(box);
  Click(Find<CColorButton>(&box, "emailUs"));

  ASSERT_EQ(links.opened.size(), 1u);
  const QUrl& mail = links.opened[0];
  EXPECT_EQ(mail.scheme(), "mailto");
  EXPECT_EQ(mail.path(), CAboutDlg::kSupportMail);
  EXPECT_EQ(QUrlQuery(mail).queryItemValue("subject", QUrl::FullyDecoded),
            "Corvane Application Help");
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), CAboutDlg::kClosed);
}

TEST(AboutBox, OurWebpageOpensThePageAndAFailureIsSilent) {
  LinkRecorder links;
  links.succeed = false;
  CAboutDlg box(nullptr, links.Opener());
  ShowScreen(box);
  Click(Find<CColorButton>(&box, "ourWebpage"));

  ASSERT_EQ(links.opened.size(), 1u);
  EXPECT_EQ(links.opened[0], QUrl(CAboutDlg::kWebPage));
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), CAboutDlg::kClosed);
}

TEST(AboutBox, EscapeDoesNothingAndOkCloses) {
  LinkRecorder links;
  CAboutDlg box(nullptr, links.Opener());
  ShowScreen(box);
  for (const char* name : {"ok", "emailUs", "ourWebpage"}) {
    PressEscape(Find(&box, name));
    EXPECT_TRUE(box.isVisible()) << name;
  }
  Click(Find<CColorButton>(&box, "ok"));
  EXPECT_FALSE(box.isVisible());
  EXPECT_TRUE(links.opened.empty());
}

TEST(AboutBox, EnterPressesTheFocusedButton) {
  LinkRecorder links;
  CAboutDlg box(nullptr, links.Opener());
  ShowScreen(box);
  PressEnter(Find(&box, "ourWebpage"));
  ASSERT_EQ(links.opened.size(), 1u);
  EXPECT_EQ(links.opened[0], CAboutDlg::WebPageLink());
  EXPECT_FALSE(box.isVisible());
}

}  // namespace
}  // namespace corvane::test
