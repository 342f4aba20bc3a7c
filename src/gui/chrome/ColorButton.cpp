#include "gui/chrome/ColorButton.h"

#include <QPainter>
#include <QPalette>

#include "gui/chrome/ChromeLook.h"

namespace corvane {

CColorButton::CColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  const QPalette& system = palette();
  colors_.text = system.color(QPalette::Active, QPalette::ButtonText);
  colors_.face = system.color(QPalette::Active, QPalette::Button);
  colors_.disabledFace = colors_.face;
  colors_.light = system.color(QPalette::Active, QPalette::Midlight);
  colors_.highlight = system.color(QPalette::Active, QPalette::Light);
  colors_.shadow = system.color(QPalette::Active, QPalette::Dark);
  colors_.darkShadow = system.color(QPalette::Active, QPalette::Shadow);
  // Enter is the screen's to decide: a focused button must not press itself
  // behind the screen's back, nor act as the dialog's default.
  setAutoDefault(false);
  setDefault(false);
}

void CColorButton::SetTextColor(const QColor& color) {
  colors_.text = color;
  update();
}

void CColorButton::SetFaceColor(const QColor& color) {
  colors_.face = color;
  update();
}

void CColorButton::SetDisabledFaceColor(const QColor& color) {
  colors_.disabledFace = color;
  update();
}

void CColorButton::SetFrameColors(const QColor& light, const QColor& highlight,
                                  const QColor& shadow, const QColor& darkShadow) {
  colors_.light = light;
  colors_.highlight = highlight;
  colors_.shadow = shadow;
  colors_.darkShadow = darkShadow;
  update();
}

void CColorButton::SetTextAlignment(Qt::Alignment alignment) {
  alignment_ = alignment;
  update();
}

void CColorButton::SetMultiLine(bool multiLine) {
  multiLine_ = multiLine;
  update();
}

void CColorButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setFont(font());
  const ColorButtonState state{isEnabled(), isDown(), hasFocus(), isDefault()};
  PaintColorButton(painter, rect(), colors_, state, {text(), alignment_, multiLine_});
}

void UseActionScheme(CColorButton& button, int points) {
  button.SetTextColor(QColor(kOnColorText));
  button.SetFaceColor(QColor(kStripColor));
  button.setFont(ChromeFont(points, Weight::Bold));
}

void UseSecondaryScheme(CColorButton& button) {
  button.SetTextColor(QColor(kStripColor));
  button.SetFaceColor(QColor(kFaceColor));
  button.setFont(ChromeFont(10, Weight::Bold));
}

}  // namespace corvane
