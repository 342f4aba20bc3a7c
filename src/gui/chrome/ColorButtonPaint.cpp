#include "gui/chrome/ColorButtonPaint.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QStringList>

#include "gui/chrome/ChromeLook.h"

namespace corvane {
namespace {

// One pixel wide: top and left in one colour, bottom and right in another.
void DrawRing(QPainter& painter, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
  painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
  painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
  painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
}

QRect Inside(const QRect& r) { return r.adjusted(1, 1, -1, -1); }

void DrawFrame(QPainter& painter, QRect r, const ColorButtonColors& c, const ColorButtonState& s) {
  if (s.pressed) {
    DrawRing(painter, r, c.darkShadow, c.darkShadow);
    DrawRing(painter, Inside(r), c.shadow, c.shadow);
    return;
  }
  if (s.focused || s.isDefault) {
    DrawRing(painter, r, Qt::black, Qt::black);
    r = Inside(r);
  }
  DrawRing(painter, r, c.highlight, c.darkShadow);
  DrawRing(painter, Inside(r), c.light, c.shadow);
}

// Draws the lines in the rectangle with the alignment; several lines stack
// one line height apart, narrowed by 3 pixels at each side.
void DrawLines(QPainter& painter, const QRect& r, const ColorButtonText& text) {
  const Qt::Alignment horizontal = text.alignment & Qt::AlignHorizontal_Mask;
  const Qt::Alignment vertical = text.alignment & Qt::AlignVertical_Mask;
  if (!text.multiLine || horizontal == 0) {
    // One line; without a horizontal style it is centred both ways.
    QRect area = r;
    Qt::Alignment flags = horizontal == 0 ? Qt::AlignCenter : horizontal;
    if (horizontal != 0) {
      if (vertical & Qt::AlignTop) {
        area.setTop(r.top() + 2);
        flags |= Qt::AlignTop;
      } else if (vertical & Qt::AlignBottom) {
        area.setBottom(r.bottom() - 2);
        flags |= Qt::AlignBottom;
      } else {
        flags |= Qt::AlignVCenter;
      }
    }
    QString single = text.text;
    single.replace(QLatin1Char('\n'), QLatin1Char(' '));
    painter.drawText(area, static_cast<int>(flags | Qt::TextSingleLine), single);
    return;
  }
  const QStringList lines = text.text.split(QLatin1Char('\n'));
  const int lineHeight = QFontMetrics(painter.font()).height();
  const int block = lineHeight * static_cast<int>(lines.size());
  int top = r.top() + (r.height() - block) / 2;
  if (vertical & Qt::AlignTop) top = r.top() + 2;
  if (vertical & Qt::AlignBottom) top = r.bottom() - 2 - block + 1;
  for (const QString& line : lines) {
    const QRect lineRect(r.left() + 3, top, r.width() - 6, lineHeight);
    painter.drawText(lineRect, static_cast<int>(horizontal | Qt::AlignVCenter | Qt::TextSingleLine),
                     line);
    top += lineHeight;
  }
}

}  // namespace

void PaintColorButton(QPainter& painter, const QRect& itemRect, const ColorButtonColors& colors,
                      const ColorButtonState& state, const ColorButtonText& text) {
  painter.save();
  painter.fillRect(itemRect, state.enabled ? colors.face : colors.disabledFace);
  DrawFrame(painter, itemRect, colors, state);

  if (!state.enabled) {
    // Embossed: a white copy one pixel down and right under the grey text.
    painter.setPen(QColor(kOnColorText));
    DrawLines(painter, itemRect.translated(1, 1), text);
    painter.setPen(QColor(kDisabledText));
    DrawLines(painter, itemRect.translated(-1, -1), text);
  } else {
    painter.setPen(colors.text);
    DrawLines(painter, itemRect.translated(state.pressed ? QPoint(1, 1) : QPoint(-1, -1)), text);
  }

  if (state.focused) {
    QPen dots(colors.text);
    dots.setStyle(Qt::DotLine);
    painter.setPen(dots);
    painter.setBrush(Qt::NoBrush);
    // A pen rectangle covers one pixel more to the right and below.
    painter.drawRect(itemRect.adjusted(4, 4, -5, -5));
  }
  painter.restore();
}

}  // namespace corvane
