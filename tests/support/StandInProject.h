#pragma once
// A project whose folders lie in a fresh temporary folder and whose outside
// world is stand-ins: the scripted operator, a fixed clock, the recording
// converter and player. Flows and screens are tested against it.

#include <string>
#include <vector>

#include "project/ProjectContext.h"
#include "support/FakeAudio.h"
#include "support/FixedClock.h"
#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {

struct StandInProject {
  StandInProject();

  TempFolder data;
  SessionState session;
  HomeState home;
  ScriptedOperator op;
  FixedClock clock;
  RecordingConverter converter;
  RecordingPlayer player;
  NoProgress progress;
  ProjectContext context;

  std::filesystem::path Temp() const { return session.Folders.TempFolder; }
};

}  // namespace corvane::test
