// The main of the screen tests: one application on the offscreen platform (no
// display is needed), the C locale, and the application's own look.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <clocale>

#include "gui/app/Application.h"

int main(int argc, char** argv) {
  // Set here and not only by CTest, so a test run by hand behaves the same.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt takes the locale from the environment when the application starts.
  qputenv("LC_ALL", "C");
  // No sound server is reachable, even on a desktop with one.
  qputenv("PULSE_SERVER", CORVANE_NO_SOUND_SERVER);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  std::setlocale(LC_ALL, "C");
  QLocale::setDefault(QLocale::c());
  corvane::PrepareApplication(app);
  return RUN_ALL_TESTS();
}
