// Fonts, dialog units, pictures, the banner and strip, and the repaint timer.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include "gui/app/AboutDlg.h"
#include "gui/app/LoginDlg.h"
#include "gui/chrome/ChromeLook.h"
#include "gui/chrome/Pictures.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

TEST(ChromeFonts, PointSizesAreFixedAt96DotsPerInch) {
  const std::pair<int, int> sizes[] = {{8, 11},  {10, 13}, {12, 16}, {14, 19}, {15, 20},
                                       {16, 21}, {20, 27}, {27, 36}, {30, 40}};
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

  // The screens' dialog font, Arial 8 pt, gives about 6 by 13 pixels.
  const DialogUnits screens = DialogUnits::Screens();
  EXPECT_GE(screens.BaseUnits().width(), 5);
  EXPECT_LE(screens.BaseUnits().width(), 7);
  EXPECT_GE(screens.BaseUnits().height(), 12);
  EXPECT_LE(screens.BaseUnits().height(), 15);
}

TEST(ChromePictures, EveryPictureIsBuiltInAtItsSize) {
  for (const Picture picture :
       {Picture::HelpBox, Picture::QuestionMark, Picture::Logo, Picture::Login, Picture::Home,
        Picture::Settings, Picture::Application}) {
    const QPixmap pixmap = LoadPicture(picture);
    ASSERT_FALSE(pixmap.isNull()) << static_cast<int>(picture);
    EXPECT_EQ(pixmap.size(), PictureSize(picture)) << static_cast<int>(picture);
  }
  EXPECT_EQ(PictureSize(Picture::Logo), QSize(119, 35));
}

class ChromeFrame : public ScreenTest {};

// Probes the left edge, where no control sits.
void ExpectBannerAndStrip(QWidget& screen, int bannerUnits, int heightUnits) {
  const DialogUnits& units = DialogUnits::Screens();
  const QImage image = screen.grab().toImage();
  const int bannerBottom = units.Y(bannerUnits) - 1;
  const int stripTop = units.Y(heightUnits - 7);
  const QRgb banner = qRgb(144, 0, 40), face = qRgb(247, 247, 247), strip = qRgb(26, 82, 142);
  EXPECT_EQ(image.pixel(1, 0), banner);
  EXPECT_EQ(image.pixel(1, bannerBottom), banner);
  EXPECT_EQ(image.pixel(image.width() - 2, 1), banner);
  EXPECT_EQ(image.pixel(1, bannerBottom + 2), face);
  EXPECT_EQ(image.pixel(1, stripTop - 1), face);
  EXPECT_EQ(image.pixel(1, stripTop), strip);
  EXPECT_EQ(image.pixel(image.width() - 2, image.height() - 1), strip);
}

TEST_F(ChromeFrame, BannerStripLogoAndHelpSitWhereTheScreensPutThem) {
  CLoginDlg login(session, op);
  ShowScreen(login);
  ExpectBannerAndStrip(login, 62, 290);  // the login banner is higher than the others
  // The logo at the lower left above the strip; Need help? at the lower
  // right with its question mark beside it, at its height.
  const QRect logo = Find<QLabel>(&login, "logo")->geometry();
  const QRect help = Find<QWidget>(&login, "help")->geometry();
  const QRect mark = Find<QLabel>(&login, "questionMark")->geometry();
  const int stripTop = DialogUnits::Screens().Y(290 - 7);
  EXPECT_TRUE(logo.left() < login.width() / 4 && logo.bottom() < stripTop &&
              logo.bottom() > stripTop - 20);
  EXPECT_TRUE(help.right() > login.width() * 3 / 4 && help.bottom() < stripTop);
  EXPECT_EQ(mark.size(), QSize(30, 30));
  EXPECT_TRUE(mark.right() < help.left() && std::abs(mark.center().y() - help.center().y()) <= 1);

  CAboutDlg box;
  ShowScreen(box);
  ExpectBannerAndStrip(box, 37, 250);
}

}  // namespace
}  // namespace corvane::test
