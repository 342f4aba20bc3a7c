#pragma once
// How the home screen opens the screens it leads to, so a screen test can
// put a recording stand-in where the real screen would open. Each screen that
// is opened from another joins this seam: the desktop's set opens the real
// one, the tests' set records the call and answers as scripted.

class QWidget;

namespace corvane {

class NestedScreens {
 public:
  virtual ~NestedScreens() = default;
  // "Need help?": the help box, modal over parent.
  virtual void HelpBox(QWidget* parent) = 0;
};

// The real screens.
class DesktopScreens final : public NestedScreens {
 public:
  void HelpBox(QWidget* parent) override;
};

}  // namespace corvane
