// The help box.
#include <vector>

#include "gui/app/AboutDlg.h"
#include "gui/chrome/ColorButton.h"
#include "support/ScreenDriver.h"

namespace corvane::test {
namespace {

// A link that fails to open must still close the box, or the operator is
// left with a box that seems to do nothing.
TEST(AboutBox, EscapeKeepsItOpenOkClosesItAndEachLinkOpensOnceAndClosesItEvenWhenItFails) {
  const struct {
    const char* button;
    bool enter;  // Enter presses the focused button
    bool opens;
    QUrl link;
  } presses[] = {{"ok", false, true, QUrl()},
                 {"emailUs", false, true, CAboutDlg::MailLink()},
                 {"ourWebpage", false, false, CAboutDlg::WebPageLink()},
                 {"ourWebpage", true, true, CAboutDlg::WebPageLink()}};
  for (const auto& press : presses) {
    SCOPED_TRACE(press.button);
    std::vector<QUrl> opened;
    CAboutDlg box(nullptr, [&](const QUrl& url) {
      opened.push_back(url);
      return press.opens;
    });
    ShowScreen(box);
    PressEscape(Find(&box, press.button));
    EXPECT_TRUE(box.isVisible());
    if (press.enter) {
      PressEnter(Find(&box, press.button));
    } else {
      Click(Find<CColorButton>(&box, press.button));
    }
    EXPECT_EQ(opened, press.link.isEmpty() ? std::vector<QUrl>{} : std::vector{press.link});
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), CAboutDlg::kClosed);
  }
}

}  // namespace
}  // namespace corvane::test
