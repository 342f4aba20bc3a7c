// Fonts, dialog units, pictures, the banner and strip, and the repaint timer.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QImage>
#include <QMoveEvent>

#include "gui/app/AboutDlg.h"
#include "gui/app/LoginDlg.h"
#include "gui/chrome/ChromeLook.h"
#include "gui/chrome/Pictures.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

TEST(ChromeFonts, PointSizesAreFixedAt96DotsPerInch) {
  const std::pair<int, int> sizes[] = {{8, 11}, {10, 13}, {12, 16}, {14, 19},
                                       {15, 20}, {16, 21}, {20, 27}, {27, 36}, {30, 40}};
  for (const auto& [points, pixels] : sizes) EXPECT_EQ(PointsToPixels(points), pixels) << points;

  const QFont bold = ChromeFont(14, Weight::Bold);
  EXPECT_EQ(bold.family(), "Arial");
  EXPECT_TRUE(bold.bold());
  EXPECT_EQ(bold.pixelSize(), 19);
  EXPECT_FALSE(ChromeFont(12, Weight::Regular).bold());
}

TEST(ChromeDialogUnits, MapFromTheBaseUnitsOfTheFont) {
  const DialogUnits units(QSize(6, 13));
  EXPECT_EQ(units.X(4), 6);
  EXPECT_EQ(units.Y(8), 13);
  EXPECT_EQ(units.X(450), 675);
  EXPECT_EQ(units.Y(290), 471);  // 471.25
  EXPECT_EQ(units.Y(7), 11);     // 11.375
  EXPECT_EQ(units.X(1), 2);      // 1.5 rounds up
  // Edges are mapped, so controls that touch in units touch in pixels.
  const QRect left = units.Rect(0, 0, 3, 5);
  const QRect right = units.Rect(3, 0, 3, 5);
  EXPECT_EQ(left.right() + 1, right.left());
  EXPECT_EQ(left.width() + right.width(), units.X(6));

  const DialogUnits screens = DialogUnits::Screens();
  const DialogUnits measured = DialogUnits::ForFont(ChromeFont(8, Weight::Regular));
  EXPECT_EQ(screens.BaseUnits(), measured.BaseUnits());
  // The usual dialog font gives about 6 by 13 pixels.
  EXPECT_GE(screens.BaseUnits().width(), 5);
  EXPECT_LE(screens.BaseUnits().width(), 7);
  EXPECT_GE(screens.BaseUnits().height(), 12);
  EXPECT_LE(screens.BaseUnits().height(), 15);
}

TEST(ChromePictures, EveryPictureIsBuiltInAtItsSize) {
  for (const Picture picture : {Picture::HelpBox, Picture::QuestionMark, Picture::Logo,
                                Picture::Login, Picture::Home, Picture::Settings,
                                Picture::Application}) {
    const QPixmap pixmap = LoadPicture(picture);
    ASSERT_FALSE(pixmap.isNull()) << static_cast<int>(picture);
    EXPECT_EQ(pixmap.size(), PictureSize(picture)) << static_cast<int>(picture);
  }
  EXPECT_EQ(PictureSize(Picture::Logo), QSize(119, 35));
  EXPECT_EQ(PictureSize(Picture::QuestionMark), QSize(30, 30));
}

class ChromeFrame : public ScreenTest {};

// Probes the left edge, where no control sits.
void ExpectBannerAndStrip(QWidget& screen, int bannerUnits, int heightUnits) {
  const DialogUnits& units = DialogUnits::Screens();
  const QImage image = screen.grab().toImage();
  const int bannerBottom = units.Y(bannerUnits) - 1;
  const int stripTop = units.Y(heightUnits - 7);
  EXPECT_EQ(image.pixel(1, 0), kBannerColor);
  EXPECT_EQ(image.pixel(1, bannerBottom), kBannerColor);
  EXPECT_EQ(image.pixel(image.width() - 2, 1), kBannerColor);
  EXPECT_EQ(image.pixel(1, bannerBottom + 2), kFaceColor);
  EXPECT_EQ(image.pixel(1, stripTop - 1), kFaceColor);
  EXPECT_EQ(image.pixel(1, stripTop), kStripColor);
  EXPECT_EQ(image.pixel(image.width() - 2, image.height() - 1), kStripColor);
}

TEST_F(ChromeFrame, LoginBannerIs62UnitsHighAndOtherScreens37) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  ExpectBannerAndStrip(login, 62, 290);

  CAboutDlg help;
  ShowScreen(help);
  ExpectBannerAndStrip(help, 37, 250);
}

TEST_F(ChromeFrame, LogoSitsAtTheLowerLeftAndHelpAtTheLowerRight) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  const QRect logo = Find<QLabel>(&login, "logo")->geometry();
  const QRect help = Find<QWidget>(&login, "help")->geometry();
  const QRect mark = Find<QLabel>(&login, "questionMark")->geometry();
  const int stripTop = DialogUnits::Screens().Y(290 - 7);
  EXPECT_LT(logo.left(), login.width() / 4);
  EXPECT_LT(logo.bottom(), stripTop);
  EXPECT_GT(logo.bottom(), stripTop - 20);
  EXPECT_GT(help.right(), login.width() * 3 / 4);
  EXPECT_LT(help.bottom(), stripTop);
  // The question mark stands beside the button, at its height.
  EXPECT_EQ(mark.size(), QSize(30, 30));
  EXPECT_LT(mark.right(), help.left());
  EXPECT_NEAR(mark.center().y(), help.center().y(), 1);
}

TEST_F(ChromeFrame, MovingOrActivatingStartsTheRepaintTimerAndItsTickStopsIt) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  login.RepaintTick();
  ASSERT_FALSE(login.RepaintPending());
  login.move(login.pos() + QPoint(40, 30));
  QCoreApplication::processEvents();
  EXPECT_TRUE(login.RepaintPending());
  login.RepaintTick();
  EXPECT_FALSE(login.RepaintPending());
}

}  // namespace
}  // namespace corvane::test
