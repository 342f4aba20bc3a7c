#include "gui/chrome/ChromeDialog.h"

#include <algorithm>
#include <string>

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>

#include "gui/chrome/ColorButton.h"

namespace corvane {
namespace {

constexpr int kRepaintDelayMs = 100;
// "Need help?" and its question mark, in dialog units from the lower right.
constexpr int kHelpWidthUnits = 56;
constexpr int kHelpHeightUnits = 14;
constexpr int kMarginUnits = 7;

}  // namespace

ChromeDialog::ChromeDialog(QSize sizeInUnits, int bannerUnits, QWidget* parent)
    : QDialog(parent), sizeInUnits_(sizeInUnits), bannerUnits_(bannerUnits) {
  setFixedSize(Units().Size(sizeInUnits.width(), sizeInUnits.height()));
  setFont(ChromeFont(8, Weight::Regular));
  QPalette face = palette();
  face.setColor(QPalette::Window, QColor(kFaceColor));
  face.setColor(QPalette::WindowText, QColor(kBlackText));
  setPalette(face);
  // A screen ended from outside its own buttons must never look confirmed.
  setResult(kCancelled);

  repaintTimer_.setSingleShot(true);
  repaintTimer_.setInterval(kRepaintDelayMs);
  connect(&repaintTimer_, &QTimer::timeout, this, &ChromeDialog::RepaintTick);
}

void ChromeDialog::reject() {}

int ChromeDialog::RunModal() {
  setResult(kCancelled);
  QEventLoop loop;
  connect(this, &QDialog::finished, &loop, &QEventLoop::exit);
  setWindowModality(Qt::ApplicationModal);
  show();
  loop.exec(QEventLoop::DialogExec);
  if (isVisible()) hide();
  return result();
}

void ChromeDialog::RepaintTick() {
  repaintTimer_.stop();
  update();
}

QLabel* ChromeDialog::AddTitle(int points, const QRect& unitsRect, Qt::Alignment alignment) {
  return AddLabel("title", QString::fromLatin1(kProductName), ChromeFont(points, Weight::Bold),
                  kOnColorText, unitsRect, alignment);
}

void ChromeDialog::NameControl(const char* name, const char* label, int labelPoints,
                               const QRect& labelUnits, QWidget& control, const QRect& controlUnits) {
  QLabel* title = AddLabel((std::string(name) + "Label").c_str(), QString::fromLatin1(label),
                           ChromeFont(labelPoints, Weight::Bold), kBannerColor, labelUnits);
  control.setObjectName(QString::fromLatin1(name));
  control.setAccessibleName(QString::fromLatin1(label));
  control.setGeometry(Units().Rect(controlUnits.x(), controlUnits.y(), controlUnits.width(),
                                   controlUnits.height()));
  title->setBuddy(&control);
}

QLabel* ChromeDialog::AddLabel(const char* name, const QString& text, const QFont& font,
                               QRgb color, const QRect& unitsRect, Qt::Alignment alignment) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString::fromLatin1(name));
  label->setFont(font);
  label->setAlignment(alignment);
  label->setTextFormat(Qt::PlainText);
  QPalette colors = label->palette();
  colors.setColor(QPalette::WindowText, QColor(color));
  label->setPalette(colors);
  label->setGeometry(Units().Rect(unitsRect.x(), unitsRect.y(), unitsRect.width(),
                                  unitsRect.height()));
  return label;
}

QLabel* ChromeDialog::AddPicture(const char* name, Picture picture, QPoint topLeftPixels) {
  auto* label = new QLabel(this);
  label->setObjectName(QString::fromLatin1(name));
  label->setPixmap(LoadPicture(picture));
  label->setGeometry(QRect(topLeftPixels, PictureSize(picture)));
  return label;
}

CColorButton* ChromeDialog::AddButton(const char* name, const QString& text,
                                      const QRect& unitsRect) {
  auto* button = new CColorButton(text, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(Units().Rect(unitsRect.x(), unitsRect.y(), unitsRect.width(),
                                   unitsRect.height()));
  return button;
}

void ChromeDialog::AddLogo() {
  const QSize size = PictureSize(Picture::Logo);
  const int stripTop = Units().Y(sizeInUnits_.height() - kStripUnits);
  AddPicture("logo", Picture::Logo,
             QPoint(Units().X(kMarginUnits), stripTop - Units().Y(4) - size.height()));
}

CColorButton* ChromeDialog::AddHelpButton() {
  const int x = sizeInUnits_.width() - kMarginUnits - kHelpWidthUnits;
  const int y = sizeInUnits_.height() - kStripUnits - 6 - kHelpHeightUnits;
  CColorButton* help = AddButton("help", QStringLiteral("Need help?"),
                                 QRect(x, y, kHelpWidthUnits, kHelpHeightUnits));
  UseSecondaryScheme(*help);
  const QSize mark = PictureSize(Picture::QuestionMark);
  const QRect button = help->geometry();
  AddPicture("questionMark", Picture::QuestionMark,
             QPoint(button.left() - Units().X(2) - mark.width(),
                    button.center().y() - mark.height() / 2));
  return help;
}

QAbstractButton* ChromeDialog::ButtonForEnter(QWidget* focus) const {
  return qobject_cast<CColorButton*>(focus);
}

void ChromeDialog::CloseRequested() { done(kCancelled); }

void ChromeDialog::AllowShorter(int minHeightUnits) {
  const QSize full = Units().Size(sizeInUnits_.width(), sizeInUnits_.height());
  setMinimumSize(full.width(), Units().Y(minHeightUnits));
  setMaximumSize(full);
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setObjectName(QStringLiteral("screenScroll"));
  scrollBar_->setAccessibleName(QStringLiteral("Scroll the screen"));
  scrollBar_->hide();
  connect(scrollBar_, &QScrollBar::valueChanged, this, &ChromeDialog::ScrollTo);
  // A thumb let go close to the end goes all the way.
  connect(scrollBar_, &QScrollBar::sliderReleased, this, [this] {
    const int range = scrollBar_->maximum();
    if (scrollBar_->value() > range - range / 10) scrollBar_->setValue(range);
  });
}

void ChromeDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (scrollBar_ == nullptr) return;
  const int range = std::max(0, Units().Y(sizeInUnits_.height()) - height());
  scrollBar_->setRange(0, range);
  scrollBar_->setSingleStep(std::max(1, range / 10));
  scrollBar_->setPageStep(std::max(1, range / 5));
  const int barWidth = scrollBar_->sizeHint().width();
  scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
  scrollBar_->setVisible(range > 0);
  scrollBar_->raise();
  repaintTimer_.start();
}

void ChromeDialog::ScrollTo(int offset) {
  const int delta = scrollOffset_ - offset;
  scrollOffset_ = offset;
  for (QObject* child : children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget != nullptr && widget != scrollBar_ && !widget->isWindow()) {
      widget->move(widget->pos() + QPoint(0, delta));
    }
  }
  update();
  repaintTimer_.start();
}

void ChromeDialog::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(kFaceColor));
  painter.translate(0, -scrollOffset_);
  painter.fillRect(QRect(0, 0, width(), Units().Y(bannerUnits_)), QColor(kBannerColor));
  const int stripTop = Units().Y(sizeInUnits_.height() - kStripUnits);
  const int fullHeight = std::max(height(), Units().Y(sizeInUnits_.height()));
  painter.fillRect(QRect(0, stripTop, width(), fullHeight - stripTop), QColor(kStripColor));
}

void ChromeDialog::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      event->accept();
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      if (QAbstractButton* button = ButtonForEnter(focusWidget())) button->click();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

void ChromeDialog::closeEvent(QCloseEvent* event) {
  CloseRequested();
  // The window stays unless the screen's own rule ended it.
  if (isVisible()) {
    event->ignore();
  } else {
    event->accept();
  }
}

bool ChromeDialog::event(QEvent* event) {
  // Gaining focus or being moved starts the repaint timer, so the banner and
  // strip are whole again shortly after.
  if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Move) {
    repaintTimer_.start();
  }
  return QDialog::event(event);
}

}  // namespace corvane
