#pragma once
// How a coloured push button draws itself: fill, 3-D frame, text and focus
// mark. Kept apart from the widget so every state can be drawn and checked
// without having to press or focus a real button.

#include <QColor>
#include <QString>
#include <Qt>

class QPainter;
class QRect;

namespace corvane {

// The seven colours of a coloured button.
struct ColorButtonColors {
  QColor text;
  QColor face;
  QColor disabledFace;
  QColor light;       // inner ring, top and left
  QColor highlight;   // outer ring, top and left
  QColor shadow;      // inner ring, bottom and right
  QColor darkShadow;  // outer ring, bottom and right
};

struct ColorButtonState {
  bool enabled = true;
  bool pressed = false;
  bool focused = false;
  bool isDefault = false;
};

struct ColorButtonText {
  QString text;
  // Horizontal: left, right or centre; vertical: top, bottom or centre. No
  // horizontal flag means one centred line, vertically centred.
  Qt::Alignment alignment = Qt::AlignCenter;
  bool multiLine = false;  // split at each line feed
};

void PaintColorButton(QPainter& painter, const QRect& itemRect, const ColorButtonColors& colors,
                      const ColorButtonState& state, const ColorButtonText& text);

}  // namespace corvane
