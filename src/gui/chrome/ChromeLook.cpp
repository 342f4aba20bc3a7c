#include "gui/chrome/ChromeLook.h"

#include <QFontMetrics>
#include <QString>

namespace corvane {
namespace {

// Rounds a * b / c to the nearest integer, halves away from zero.
int ScaleRounded(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  const long long result = product >= 0 ? (product + half) / c : -((-product + half) / c);
  return static_cast<int>(result);
}

}  // namespace

int PointsToPixels(int points) { return ScaleRounded(points, 96, 72); }

QFont ChromeFont(int points, Weight weight) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(PointsToPixels(points));
  font.setBold(weight == Weight::Bold);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

DialogUnits DialogUnits::ForFont(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the Latin letters, as the platform's dialog manager
  // measures it, rounded.
  static const QString kLetters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int width = metrics.horizontalAdvance(kLetters);
  const int letters = static_cast<int>(kLetters.size());
  return DialogUnits(QSize((width + letters / 2) / letters, metrics.height()));
}

const DialogUnits& DialogUnits::Screens() {
  static const DialogUnits units = ForFont(ChromeFont(8, Weight::Regular));
  return units;
}

int DialogUnits::X(int units) const { return ScaleRounded(units, base_.width(), 4); }
int DialogUnits::Y(int units) const { return ScaleRounded(units, base_.height(), 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  // Edges are mapped, not sizes, so controls that touch in dialog units touch
  // in pixels too.
  const int left = X(x);
  const int top = Y(y);
  return {left, top, X(x + width) - left, Y(y + height) - top};
}

}  // namespace corvane
