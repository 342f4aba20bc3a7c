// The help box.
#include <QLabel>
#include <QUrlQuery>
#include <vector>

#include "gui/app/AboutDlg.h"
#include "gui/chrome/ColorButton.h"
#include "support/ScreenDriver.h"

namespace corvane::test {
namespace {

TEST(AboutBox, ShowsTheVersionOnTheBannerAndTheSupportTextUntilOk) {
  CAboutDlg box;
  ShowScreen(box);
  const auto* version = Find<QLabel>(&box, "version");
  EXPECT_EQ(version->text(), "Version: 3.3.4.0");
  EXPECT_EQ(version->palette().color(QPalette::WindowText), QColor(255, 255, 255));
  EXPECT_EQ(Find<QLabel>(&box, "heading")->text(), "Need help?");
  EXPECT_TRUE(Find<QLabel>(&box, "text")
                  ->text()
                  .startsWith("Select the buttons below for more information.\n"));
  EXPECT_EQ(Find<QLabel>(&box, "picture")->pixmap().size(), QSize(125, 125));
  PressEscape(Find(&box, "ok"));  // Escape never closes a screen
  EXPECT_TRUE(box.isVisible());
  Click(Find<CColorButton>(&box, "ok"));
  EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, EachLinkOpensOnceAndClosesTheBoxEvenWhenItFails) {
  struct Press {
    const char* button;
    bool enter;
    bool opens;
  };
  for (const Press press : {Press{"emailUs", false, true}, Press{"ourWebpage", false, false},
                            Press{"ourWebpage", true, true}}) {
    SCOPED_TRACE(press.button);
    std::vector<QUrl> opened;
    CAboutDlg box(nullptr, [&](const QUrl& url) {
      opened.push_back(url);
      return press.opens;
    });
    ShowScreen(box);
    if (press.enter) {
      PressEnter(Find(&box, press.button));  // Enter presses the focused button
    } else {
      Click(Find<CColorButton>(&box, press.button));
    }
    ASSERT_EQ(opened.size(), 1u);
    if (std::string(press.button) == "emailUs") {
      EXPECT_EQ(opened[0].scheme(), "mailto");
      EXPECT_EQ(opened[0].path(), "support@melloway.example");
      EXPECT_EQ(QUrlQuery(opened[0]).queryItemValue("subject", QUrl::FullyDecoded),
                "Corvane Application Help");
    } else {
      EXPECT_EQ(opened[0], QUrl("https://www.melloway.example/"));
    }
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), CAboutDlg::kClosed);
  }
}

}  // namespace
}  // namespace corvane::test
