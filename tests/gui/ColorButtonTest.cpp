// How the coloured button draws each of its states, and its two schemes.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "gui/chrome/ChromeLook.h"
#include "gui/chrome/ColorButton.h"

namespace corvane {
namespace {

// Distinct frame colours, so each ring can be told apart.
ColorButtonColors TestColors() {
  ColorButtonColors c;
  c.text = QColor(kOnColorText);
  c.face = QColor(kStripColor);
  c.disabledFace = QColor(200, 200, 200);
  c.light = QColor(220, 220, 220);
  c.highlight = QColor(255, 255, 254);
  c.shadow = QColor(100, 100, 100);
  c.darkShadow = QColor(10, 10, 10);
  return c;
}

constexpr QSize kButton(120, 36);

QImage Paint(const ColorButtonState& state, const ColorButtonText& text,
             const ColorButtonColors& colors = TestColors()) {
  QImage image(kButton, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  painter.setFont(ChromeFont(14, Weight::Bold));
  PaintColorButton(painter, image.rect(), colors, state, text);
  return image;
}

// The box around the pixels of exactly this colour inside the frame rings.
QRect PixelsOf(const QImage& image, QRgb color) {
  QRect box;
  for (int y = 3; y < image.height() - 3; ++y) {
    for (int x = 3; x < image.width() - 3; ++x) {
      if (image.pixel(x, y) == color) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

TEST(ChromeColorButton, RaisedFrameHasTwoRingsLitFromTheTopLeft) {
  const ColorButtonColors c = TestColors();
  const QImage image = Paint({}, {"OK"});
  const int r = kButton.width() - 1;
  const int b = kButton.height() - 1;
  EXPECT_EQ(image.pixel(5, 0), c.highlight.rgb());
  EXPECT_EQ(image.pixel(0, 5), c.highlight.rgb());
  EXPECT_EQ(image.pixel(5, b), c.darkShadow.rgb());
  EXPECT_EQ(image.pixel(r, 5), c.darkShadow.rgb());
  EXPECT_EQ(image.pixel(5, 1), c.light.rgb());
  EXPECT_EQ(image.pixel(5, b - 1), c.shadow.rgb());
  EXPECT_EQ(image.pixel(r - 1, 5), c.shadow.rgb());
  EXPECT_EQ(image.pixel(3, 3), c.face.rgb());
}

TEST(ChromeColorButton, PressedFrameIsSunkenAndTheTextMovesDownRight) {
  const ColorButtonColors c = TestColors();
  const QImage raised = Paint({}, {"OK"});
  const QImage pressed = Paint({.pressed = true}, {"OK"});
  EXPECT_EQ(pressed.pixel(5, 0), c.darkShadow.rgb());
  EXPECT_EQ(pressed.pixel(0, 5), c.darkShadow.rgb());
  EXPECT_EQ(pressed.pixel(5, 1), c.shadow.rgb());
  EXPECT_EQ(pressed.pixel(5, kButton.height() - 2), c.shadow.rgb());
  EXPECT_EQ(pressed.pixel(2, 2), c.face.rgb());

  const QRect up = PixelsOf(raised, c.text.rgb());
  const QRect down = PixelsOf(pressed, c.text.rgb());
  ASSERT_FALSE(up.isEmpty());
  EXPECT_EQ(down.topLeft() - up.topLeft(), QPoint(2, 2));
  EXPECT_EQ(down.size(), up.size());
}

TEST(ChromeColorButton, FocusOrDefaultAddsABlackRingAndFocusADottedMark) {
  const ColorButtonColors c = TestColors();
  for (const ColorButtonState state :
       {ColorButtonState{.focused = true}, ColorButtonState{.isDefault = true}}) {
    const QImage image = Paint(state, {"OK"});
    EXPECT_EQ(image.pixel(5, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(kButton.width() - 1, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(5, 1), c.highlight.rgb());
    EXPECT_EQ(image.pixel(5, 2), c.light.rgb());
  }
  // The focus mark runs 4 pixels in, in the text colour; a default button
  // without focus has none.
  int marked = 0;
  const QImage focused = Paint({.focused = true}, {""});
  const QImage byDefault = Paint({.isDefault = true}, {""});
  for (int x = 4; x < kButton.width() - 4; ++x) {
    if (focused.pixel(x, 4) == c.text.rgb()) ++marked;
    EXPECT_NE(byDefault.pixel(x, 4), c.text.rgb());
  }
  EXPECT_GT(marked, 10);
  EXPECT_LT(marked, kButton.width() - 8);  // dotted, not solid
}

TEST(ChromeColorButton, DisabledShowsGreyTextOverAWhiteCopyOnTheDisabledFace) {
  const ColorButtonColors c = TestColors();
  const QImage image = Paint({.enabled = false}, {"Save"});
  EXPECT_EQ(image.pixel(3, 3), c.disabledFace.rgb());
  const QRect grey = PixelsOf(image, kDisabledText);
  const QRect white = PixelsOf(image, qRgb(255, 255, 255));
  ASSERT_FALSE(grey.isEmpty());
  ASSERT_FALSE(white.isEmpty());
  // The white copy lies two pixels down and right of the grey text.
  EXPECT_EQ(white.bottomRight() - grey.bottomRight(), QPoint(2, 2));
}

TEST(ChromeColorButton, MultiLineTextStacksItsLinesAndAlignmentMovesThem) {
  const ColorButtonColors c = TestColors();
  const QImage one = Paint({}, {"Top", Qt::AlignHCenter | Qt::AlignVCenter, true});
  const QImage two = Paint({}, {"Top\nBottom", Qt::AlignHCenter | Qt::AlignVCenter, true});
  const QRect oneLine = PixelsOf(one, c.text.rgb());
  const QRect twoLines = PixelsOf(two, c.text.rgb());
  EXPECT_GT(twoLines.height(), oneLine.height() + 8);

  const QImage left = Paint({}, {"Go", Qt::AlignLeft | Qt::AlignVCenter, false});
  const QImage right = Paint({}, {"Go", Qt::AlignRight | Qt::AlignVCenter, false});
  const QImage centred = Paint({}, {"Go", {}, false});
  const int l = PixelsOf(left, c.text.rgb()).left();
  const int m = PixelsOf(centred, c.text.rgb()).center().x();
  const int r = PixelsOf(right, c.text.rgb()).right();
  EXPECT_LT(l, 12);
  EXPECT_NEAR(m, kButton.width() / 2, 3);
  EXPECT_GT(r, kButton.width() - 12);

  const QImage top = Paint({}, {"Go", Qt::AlignHCenter | Qt::AlignTop, false});
  const QImage bottom = Paint({}, {"Go", Qt::AlignHCenter | Qt::AlignBottom, false});
  EXPECT_LT(PixelsOf(top, c.text.rgb()).top(), PixelsOf(bottom, c.text.rgb()).top());
}

TEST(ChromeColorButton, SchemesSetColoursAndFontsAndEnterIsLeftToTheScreen) {
  CColorButton action(QStringLiteral("OK"));
  UseActionScheme(action, 14);
  EXPECT_EQ(action.Colors().text, QColor(kOnColorText));
  EXPECT_EQ(action.Colors().face, QColor(kStripColor));
  EXPECT_EQ(action.font().pixelSize(), PointsToPixels(14));
  EXPECT_TRUE(action.font().bold());

  CColorButton secondary(QStringLiteral("Need help?"));
  UseSecondaryScheme(secondary);
  EXPECT_EQ(secondary.Colors().text, QColor(kStripColor));
  EXPECT_EQ(secondary.Colors().face, QColor(kFaceColor));
  EXPECT_EQ(secondary.font().pixelSize(), PointsToPixels(10));
  EXPECT_FALSE(secondary.autoDefault());
  EXPECT_FALSE(secondary.isDefault());

  // The widget draws what the painter draws for its state.
  action.resize(kButton);
  const QImage drawn = action.grab().toImage();
  EXPECT_EQ(drawn.pixel(3, 3), QColor(kStripColor).rgb());
  EXPECT_FALSE(PixelsOf(drawn, kOnColorText).isEmpty());
  action.setEnabled(false);
  EXPECT_FALSE(PixelsOf(action.grab().toImage(), kDisabledText).isEmpty());
}

}  // namespace
}  // namespace corvane
