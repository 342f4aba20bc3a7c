#pragma once
// A screen test: a session whose folders lie in a fresh temporary folder, and
// the scripted operator that answers every question the screens ask.

#include <gtest/gtest.h>

#include "session/SessionState.h"
#include "support/ScreenDriver.h"
#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {

class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest() : session(FoldersIn(data.Path())) {}
  void TearDown() override { FinishScreenLooks(); }

  TempFolder data;
  SessionState session;
  ScriptedOperator op;
};

}  // namespace corvane::test
