#pragma once
// The frame every screen shares: the light face, the coloured banner with the
// product name, the thin strip along the bottom, the logo at the lower left
// and "Need help?" with its question mark at the lower right; plus the
// keyboard rules common to all screens: Escape never closes a screen, and
// Enter does what the screen says for the focused control.

#include <QDialog>
#include <QRgb>
#include <QTimer>

#include "gui/chrome/ChromeLook.h"
#include "gui/chrome/Pictures.h"

class QAbstractButton;
class QLabel;
class QScrollBar;

namespace corvane {

class CColorButton;

class ChromeDialog : public QDialog {
  Q_OBJECT

 public:
  // The results a screen ends with.
  static constexpr int kConfirmed = 0;
  static constexpr int kCancelled = 2;

  static constexpr int kStripUnits = 7;
  static constexpr const char* kProductName = "Corvane";

  // Escape, and anything else that would reject the screen behind its back,
  // does nothing: a screen ends only through its own buttons.
  void reject() override;

  // Shows the screen application-modal and waits until it ends; returns its
  // result. Unlike QDialog::exec, the screen may hide itself meanwhile (to
  // let another take its place) without ending. Ends early, as cancelled,
  // when the application is told to exit.
  int RunModal();
  // QDialog::exec would start the result at 0, which is "confirmed" here,
  // and would end when the screen hides itself: screens only run modally
  // through RunModal.
  int exec() override { return RunModal(); }

  // The repaint timer's tick: stops the timer and redraws the whole screen,
  // banner and strip included.
  void RepaintTick();
  bool RepaintPending() const { return repaintTimer_.isActive(); }

  // How far a screen made shorter than its full height is scrolled down, in
  // pixels; null when the screen has its full height.
  QScrollBar* ScrollBar() const { return scrollBar_; }

 protected:
  // A screen of the given size in dialog units whose banner is bannerUnits high.
  ChromeDialog(QSize sizeInUnits, int bannerUnits, QWidget* parent);

  const DialogUnits& Units() const { return DialogUnits::Screens(); }
  QSize SizeInUnits() const { return sizeInUnits_; }

  // Repaints the whole screen shortly, banner and strip included.
  void RepaintSoon() { repaintTimer_.start(); }
  // Lets the operator make the screen shorter, down to minHeightUnits; a
  // shorter screen scrolls. The width stays.
  void AllowShorter(int minHeightUnits);
  // The product name in white on the banner.
  QLabel* AddTitle(int points, const QRect& unitsRect, Qt::Alignment alignment);
  QLabel* AddLabel(const char* name, const QString& text, const QFont& font, QRgb color,
                   const QRect& unitsRect, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
  // A control named by a bold label in the banner colour: the label is its
  // buddy and its accessible name, so keys and screen readers find it. The
  // label's object name is the control's + "Label".
  template <class Control>
  Control* AddLabelled(const char* name, const char* label, int labelPoints, const QRect& labelUnits,
                       Control* control, const QRect& controlUnits) {
    NameControl(name, label, labelPoints, labelUnits, *control, controlUnits);
    return control;
  }
  QLabel* AddPicture(const char* name, Picture picture, QPoint topLeftPixels);
  CColorButton* AddButton(const char* name, const QString& text, const QRect& unitsRect);
  void AddLogo();
  // "Need help?" (objectName "help") with the question mark to its left.
  CColorButton* AddHelpButton();

  // The button Enter presses while the focus is on the given control; none
  // swallows the key. By default a focused coloured button presses itself.
  virtual QAbstractButton* ButtonForEnter(QWidget* focus) const;
  // The close box of the title bar; by default it ends the screen as cancelled.
  virtual void CloseRequested();

  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ScrollTo(int offset);
  void NameControl(const char* name, const char* label, int labelPoints, const QRect& labelUnits,
                   QWidget& control, const QRect& controlUnits);

  QSize sizeInUnits_;
  int bannerUnits_;
  QTimer repaintTimer_;
  QScrollBar* scrollBar_ = nullptr;
  int scrollOffset_ = 0;
};

}  // namespace corvane
