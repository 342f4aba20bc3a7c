#pragma once
// A screen test: a project whose folders lie in a fresh temporary folder and
// whose outside world is stand-ins, with the scripted operator answering
// every question the screens ask. The screens one screen opens from another
// are only recorded, by name and with the screen they were opened over.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "gui/app/NestedScreens.h"
#include "support/ScreenDriver.h"
#include "support/StandInProject.h"

namespace corvane::test {

class RecordingScreens final : public NestedScreens {
 public:
  void HelpBox(QWidget* parent) override { opened.emplace_back("help", parent); }
  int ChannelEditor(QWidget* parent, ProjectContext& /*context*/, int channelNumber) override {
    opened.emplace_back("channel " + std::to_string(channelNumber), parent);
    return 0;
  }
  std::optional<std::filesystem::path> RecordAudioFile(QWidget* parent, ProjectContext& /*context*/) override {
    opened.emplace_back("recorder", parent);
    return recording;
  }

  int MediaSecurity(QWidget* parent, ProjectContext& /*context*/) override {
    opened.emplace_back("security", parent);
    return 0;
  }
  void SamplingRates(QWidget* parent, ProjectContext& /*context*/, bool /*holdsEntries*/) override {
    opened.emplace_back("sampling rates", parent);
  }
  // Runs the work at once, as the dialog's timer would.
  int PackageProgress(QWidget* parent, const std::string& text, const ProgressWork& work) override {
    opened.emplace_back(text, parent);
    NoProgress progress;
    return static_cast<int>(work(progress));
  }

  std::vector<std::pair<std::string, QWidget*>> opened;
  std::optional<std::filesystem::path> recording;
};

class ScreenTest : public ::testing::Test, protected StandInProject {
 protected:
  void TearDown() override { FinishScreenLooks(); }

  RecordingScreens screens;
};

}  // namespace corvane::test
