// How the coloured button draws its states.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "gui/chrome/ChromeLook.h"
#include "gui/chrome/ColorButton.h"

namespace corvane {
namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kGreyText = qRgb(128, 128, 128);
constexpr QSize kButton(120, 36);

// Distinct colours, so each ring can be told apart: text, face, disabled
// face, light, highlight, shadow, dark shadow.
const ColorButtonColors kColors{QColor(kWhite),        QColor(26, 82, 142),   QColor(200, 200, 200),
                                QColor(220, 220, 220), QColor(255, 255, 254), QColor(100, 100, 100),
                                QColor(10, 10, 10)};

QImage Paint(const ColorButtonState& state, const char* text) {
  QImage image(kButton, QImage::Format_RGB32);
  image.fill(Qt::magenta);
  QPainter painter(&image);
  painter.setFont(ChromeFont(14, Weight::Bold));
  PaintColorButton(painter, image.rect(), kColors, state, {text});
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

TEST(ChromeColorButton, EachStateHasItsFrameAndText) {
  // Outer and inner ring at the top; pressed sinks both, focus or default
  // adds a black ring outside, and focus alone a dotted mark along row 4.
  const struct {
    ColorButtonState state;
    QColor outer, inner;
    bool dotted;
  } cases[] = {{{}, kColors.highlight, kColors.light, false},
               {{.pressed = true}, kColors.darkShadow, kColors.shadow, false},
               {{.focused = true}, Qt::black, kColors.highlight, true},
               {{.isDefault = true}, Qt::black, kColors.highlight, false}};
  for (const auto& c : cases) {
    const QImage image = Paint(c.state, "");
    EXPECT_EQ(image.pixel(5, 0), c.outer.rgb());
    EXPECT_EQ(image.pixel(5, 1), c.inner.rgb());
    int marked = 0;
    for (int x = 4; x < kButton.width() - 4; ++x) marked += image.pixel(x, 4) == kWhite;
    EXPECT_EQ(marked > 10 && marked < kButton.width() - 8, c.dotted) << marked;
  }
  // Pressed, the text moves two pixels down and right.
  const QRect up = PixelsOf(Paint({}, "OK"), kWhite);
  ASSERT_FALSE(up.isEmpty());
  EXPECT_EQ(PixelsOf(Paint({.pressed = true}, "OK"), kWhite), up.translated(2, 2));
  // Disabled: grey text over a white copy two pixels down and right.
  const QImage disabled = Paint({.enabled = false}, "Save");
  EXPECT_EQ(disabled.pixel(3, 3), qRgb(200, 200, 200));
  const QRect grey = PixelsOf(disabled, kGreyText);
  ASSERT_FALSE(grey.isEmpty());
  EXPECT_EQ(PixelsOf(disabled, kWhite).bottomRight() - grey.bottomRight(), QPoint(2, 2));
}

}  // namespace
}  // namespace corvane
