#pragma once
// What a screen test does to a screen, in the operator's terms: find a control
// by name, click it, type into it, press Enter or Escape, and deal with a
// screen that opens modally on top.

#include <gtest/gtest.h>

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <stdexcept>
#include <string>

class QAbstractButton;

namespace corvane::test {

// The control with the object name; throws (failing the test) when there is none.
template <class Widget = QWidget>
Widget* Find(const QWidget* root, const char* name) {
  Widget* found = root->findChild<Widget*>(QString::fromLatin1(name));
  if (found == nullptr) {
    throw std::runtime_error(std::string("no control named \"") + name + "\" of that kind in " +
                             root->objectName().toStdString());
  }
  return found;
}

// Shows a screen (never exec) and makes it the active window.
void ShowScreen(QWidget& screen);

// A mouse click in the middle of the button.
void Click(QAbstractButton* button);
// Focuses the control and types the text key by key, as the operator would.
void Type(QWidget* control, const QString& text);
// Replaces the text of a line edit by typing.
void Retype(QWidget* lineEdit, const QString& text);
// Focuses the control and presses the key there.
void PressEnter(QWidget* control);
void PressEscape(QWidget* control);

// The object names of the screen's own buttons, boxes, lists and bars that a
// screen reader could not name.
QStringList UnnamedControls(const QWidget& screen);

// Drives the next screen that opens modally: once the code under test has
// shown it, drive(screen) runs inside its modal loop and must end it. A
// screen that never opens, or that the driver leaves open, fails the test
// (and is closed, so the test cannot hang).
void WhenScreenOpens(std::function<void(QDialog& screen)> drive);
// Whether the driver of the last WhenScreenOpens has run.
bool ScreenWasDriven();
// Lets a look that is still going on finish (and fail if no screen opened),
// so it cannot spill into the next test.
void FinishScreenLooks();

}  // namespace corvane::test
