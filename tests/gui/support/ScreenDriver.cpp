#include "support/ScreenDriver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QProgressBar>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace corvane::test {

QStringList UnnamedControls(const QWidget& screen) {
  QStringList unnamed;
  for (QWidget* control : screen.findChildren<QWidget*>()) {
    const auto* button = qobject_cast<QAbstractButton*>(control);
    const bool operable = button || qobject_cast<QAbstractSpinBox*>(control) ||
                          qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractItemView*>(control) ||
                          qobject_cast<QProgressBar*>(control);
    if (!operable || control->parentWidget() != &screen) continue;
    const QString name = control->accessibleName().isEmpty() && button ? button->text()
                                                                       : control->accessibleName();
    if (name.isEmpty()) unnamed << control->objectName();
  }
  return unnamed;
}

namespace {

bool gDriven = false;
bool gLooking = false;
// How many times the driver looks for the screen before giving up: the code
// under test may first ask the operator something else.
constexpr int kLooks = 50;
constexpr int kForcedEnd = 2;

void LookForScreen(std::function<void(QDialog&)> drive, int looksLeft) {
  auto* screen = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (screen == nullptr || !screen->isVisible()) {
    if (looksLeft == 0) {
      gLooking = false;
      ADD_FAILURE() << "no screen opened";
    } else {
      QTimer::singleShot(0, [=] { LookForScreen(drive, looksLeft - 1); });
    }
    return;
  }
  gLooking = false;
  gDriven = true;
  screen->activateWindow();
  // Nothing may be thrown through Qt's event handling: a missing control
  // fails the test here instead.
  try {
    drive(*screen);
  } catch (const std::exception& error) {
    ADD_FAILURE() << error.what();
  }
  if (screen->isVisible()) {
    ADD_FAILURE() << "the driver left " << screen->objectName().toStdString() << " open";
    // The screens' cancel result: 0 would read as confirmed.
    screen->done(kForcedEnd);
  }
}

}  // namespace

void ShowScreen(QWidget& screen) {
  screen.show();
  screen.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&screen));
}

void Click(QAbstractButton* button) {
  ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString() << " is not shown";
  QTest::mouseClick(button, Qt::LeftButton);
}

void Type(QWidget* control, const QString& text) {
  control->setFocus();
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(control, c.toLatin1());
    } else {
      // A key with no name of its own, as a keyboard layout delivers it.
      QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

void Retype(QWidget* lineEdit, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(lineEdit);
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  Type(edit, text);
}

void PressEnter(QWidget* control) {
  control->setFocus();
  QTest::keyClick(control, Qt::Key_Return);
}

void PressEscape(QWidget* control) {
  control->setFocus();
  QTest::keyClick(control, Qt::Key_Escape);
}

void WhenScreenOpens(std::function<void(QDialog& screen)> drive) {
  gDriven = false;
  gLooking = true;
  QTimer::singleShot(0, [drive = std::move(drive)] { LookForScreen(drive, kLooks); });
}

bool ScreenWasDriven() { return gDriven; }

void FinishScreenLooks() {
  for (int i = 0; gLooking && i <= kLooks + 1; ++i) QCoreApplication::processEvents();
}

}  // namespace corvane::test
