#pragma once
// A stand-in for the screens one screen opens from another: each opening is
// recorded by the screen's name, with the screen it was opened over.

#include <string>
#include <utility>
#include <vector>

#include "gui/app/NestedScreens.h"

namespace corvane::test {

class RecordingScreens final : public NestedScreens {
 public:
  void HelpBox(QWidget* parent) override { opened.emplace_back("help", parent); }

  std::vector<std::pair<std::string, QWidget*>> opened;
};

}  // namespace corvane::test
