#pragma once
// Stand-ins for the screens one screen opens from another: each opening is
// recorded by the screen's name, and the test may give an action that runs
// in the screen's place (to change the records as the real screen would).

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "gui/app/NestedScreens.h"

namespace corvane::test {

class RecordingScreens final : public NestedScreens {
 public:
  void HelpBox(QWidget* parent) override { Open("help", parent); }

  // What runs when the named screen opens.
  void When(const std::string& screen, std::function<void(QWidget*)> action) {
    actions_[screen] = std::move(action);
  }
  const std::vector<std::string>& Opened() const { return opened_; }

 private:
  void Open(const std::string& screen, QWidget* parent) {
    opened_.push_back(screen);
    if (const auto it = actions_.find(screen); it != actions_.end()) it->second(parent);
  }

  std::map<std::string, std::function<void(QWidget*)>> actions_;
  std::vector<std::string> opened_;
};

}  // namespace corvane::test
