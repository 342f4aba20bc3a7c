#pragma once
// A screen test: a project whose folders lie in a fresh temporary folder and
// whose outside world is stand-ins, with the scripted operator answering
// every question the screens ask and recording stand-ins for the screens
// they open.

#include <gtest/gtest.h>

#include "support/RecordingScreens.h"
#include "support/ScreenDriver.h"
#include "support/StandInProject.h"

namespace corvane::test {

class ScreenTest : public ::testing::Test, protected StandInProject {
 protected:
  void TearDown() override { FinishScreenLooks(); }

  RecordingScreens screens;
};

}  // namespace corvane::test
