#pragma once
// A screen test: a session whose folders lie in a fresh temporary folder, and
// the scripted operator that answers every question the screens ask.

#include <gtest/gtest.h>

#include "project/SessionState.h"
#include "support/ScreenDriver.h"
#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"

namespace corvane::test {

inline SessionFolders FoldersIn(const std::filesystem::path& data) {
  SessionFolders folders;
  folders.ApplicationFolder = data;
  folders.TempFolder = (data / "temp").string() + "/";
  folders.ProgramFolder = data / "program";
  folders.SilentFile = folders.ProgramFolder / "null.wav";
  return folders;
}

class ScreenTest : public ::testing::Test {
 protected:
  ScreenTest() : session(FoldersIn(data.Path())) { CreateSessionFolders(session.Folders); }
  void TearDown() override { FinishScreenLooks(); }

  TempFolder data;
  SessionState session;
  ScriptedOperator op;
};

}  // namespace corvane::test
