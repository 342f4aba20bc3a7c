#pragma once
// The colours and typefaces every screen shares, and the mapping from dialog
// units (the units the screens are laid out in) to pixels.

#include <QFont>
#include <QRect>
#include <QRgb>
#include <QSize>

namespace corvane {

// Banner and label texts.
inline constexpr QRgb kBannerColor = qRgb(144, 0, 40);
// Bottom strip, coloured buttons and a few headings.
inline constexpr QRgb kStripColor = qRgb(26, 82, 142);
// The light grey face of every screen.
inline constexpr QRgb kFaceColor = qRgb(247, 247, 247);
// Text on the banner and on coloured buttons.
inline constexpr QRgb kOnColorText = qRgb(255, 255, 255);
// Text of a disabled coloured button, drawn over a white copy.
inline constexpr QRgb kDisabledText = qRgb(128, 128, 128);
inline constexpr QRgb kBlackText = qRgb(0, 0, 0);

enum class Weight { Regular, Bold };

// "Arial" (regular) or "Arial Bold" at a point size, fixed at 96 dots per
// inch so a screen looks the same whatever the display reports. Debian maps
// Arial to Liberation Sans, which has the same metrics.
QFont ChromeFont(int points, Weight weight);

// Pixel size of a point size at 96 dots per inch, rounded.
int PointsToPixels(int points);

// Dialog units: a horizontal unit is a quarter of the dialog font's average
// character width, a vertical unit an eighth of its height.
class DialogUnits {
 public:
  explicit DialogUnits(QSize baseUnits) : base_(baseUnits) {}
  // Base units measured from a font, as the platform measures its dialog font.
  static DialogUnits ForFont(const QFont& font);
  // The units of the screens' dialog font (Arial 8 pt).
  static const DialogUnits& Screens();

  QSize BaseUnits() const { return base_; }
  int X(int units) const;
  int Y(int units) const;
  QSize Size(int width, int height) const { return {X(width), Y(height)}; }
  // The rectangle whose edges are the mapped edges of the given one.
  QRect Rect(int x, int y, int width, int height) const;

 private:
  QSize base_;
};

}  // namespace corvane
