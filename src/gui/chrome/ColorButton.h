#pragma once
// The coloured push button of every screen. It draws itself (ColorButtonPaint)
// in seven colours taken from the system palette and overridable per button;
// screens use one of two schemes.

#include <QPushButton>

#include "gui/chrome/ColorButtonPaint.h"

namespace corvane {

class CColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit CColorButton(const QString& text, QWidget* parent = nullptr);

  const ColorButtonColors& Colors() const { return colors_; }
  void SetTextColor(const QColor& color);
  void SetFaceColor(const QColor& color);
  void SetDisabledFaceColor(const QColor& color);
  void SetFrameColors(const QColor& light, const QColor& highlight, const QColor& shadow,
                      const QColor& darkShadow);

  void SetTextAlignment(Qt::Alignment alignment);
  void SetMultiLine(bool multiLine);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ColorButtonColors colors_;
  Qt::Alignment alignment_ = Qt::AlignCenter;
  bool multiLine_ = false;
};

// "OK", "Cancel", "Save", "Email Us", "Our Webpage": white text on the button
// colour, Arial Bold in the given size.
void UseActionScheme(CColorButton& button, int points);
// "Need help?", "Change your password?": button-colour text on the dialog
// face, Arial Bold 10 pt.
void UseSecondaryScheme(CColorButton& button);

}  // namespace corvane
