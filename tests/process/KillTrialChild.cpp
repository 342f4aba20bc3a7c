// The work a kill trial interrupts: one save after another until it is
// killed, alternating between two versions so every moment of a write is
// somewhere in the loop. "once" writes one version and ends, which gives the
// trial the two expected results.
//
//   kill_trial_child package|settings|conversion DATA once A|B
//   kill_trial_child package|settings|conversion DATA loop
#include <cstdio>
#include <string>

#include "audio/AudioConversion.h"
#include "package/SecuritySettingsFile.h"
#include "process/KillTrial.h"
#include "project/ProjectFiles.h"
#include "support/FixedClock.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

// Answers every question with Yes and every save dialog with the package's name.
class AgreeingOperator final : public Operator {
  using Path = std::filesystem::path;

 public:
  explicit AgreeingOperator(Path saveAs) : saveAs_(std::move(saveAs)) {}
  OperatorAnswer Ask(const std::string&, const std::string&, OperatorButtons,
                     OperatorIcon) override {
    return OperatorAnswer::Yes;
  }
  void Tell(const std::string& title, const std::string& text, OperatorIcon) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
  std::optional<Path> ChooseFileToOpen(const FileDialogRequest&) override { return {}; }
  std::vector<Path> ChooseFilesToOpen(const FileDialogRequest&) override { return {}; }
  std::optional<Path> ChooseFileToSave(const FileDialogRequest&) override { return saveAs_; }

 private:
  Path saveAs_;
};

class RunAtOnce final : public PackageProgressDialog {
 public:
  int Run(const std::string&, const ProgressWork& work) override {
    NoProgress progress;
    return static_cast<int>(work(progress));
  }
};

bool SavePackage(const std::filesystem::path& data, int version) {
  SessionState session(FoldersIn(data));
  session.ApplyModel(1, false);
  for (ChannelConfig* channel : {&session.Channel1, &session.Channel2}) {
    channel->ResetSettings();
    channel->ResetPlaylists();
  }
  for (const char* name : kKillTrialMedia)
    session.Channel1.Music.entries.push_back({"00:00:10", name});
  session.Channel1.MasterVolume = static_cast<std::uint8_t>(version);
  HomeState home;
  home.CurrentModel = 1;
  home.Channel1Modified = home.Channel2Modified = true;
  AgreeingOperator op(data / "out" / "Lobby.ipc");
  FixedClock clock({2024, 3, 15, 9, 0, 0});
  FfmpegAudioConverter converter;
  NullMediaPlayer player;
  NoProgress progress;
  ProjectContext context{session, home, op, clock, converter, player, progress, TraceLog::Silent()};
  RunAtOnce dialog;
  return RunSaveFlow(context, dialog);
}

bool SaveSettings(const std::filesystem::path& data, int version) {
  SecuritySettings settings;
  for (int i = 1; i < 1000; ++i) {
    char id[17];
    std::snprintf(id, sizeof id, "%016X", i * 7919 + version);
    settings.Devices.push_back(
        {id, "Player " + std::to_string(i) + " of version " + std::to_string(version),
         "Europe/Paris"});
  }
  return SaveSecuritySettings(settings, data, false);
}

bool Convert(const std::filesystem::path& data, int version) {
  ST_AUDIO_TYPE audio;
  audio.CallCodec.Set("libvorbis");
  audio.ConversionRate = version == 1 ? 22050 : 11025;
  NoProgress progress;
  return AudioConversion(data / "source.wav", data / "out" / "song.ogg", audio, kAddingFileCaption,
                         progress)
      .Succeeded();
}

bool Save(const std::string& what, const std::filesystem::path& data, int version) {
  if (what == "package") return SavePackage(data, version);
  if (what == "settings") return SaveSettings(data, version);
  if (what == "conversion") return Convert(data, version);
  return false;
}

}  // namespace
}  // namespace corvane::test

int main(int argc, char** argv) {
  using corvane::test::Save;
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.size() == 4 && words[2] == "once") {
    return Save(words[0], words[1], words[3] == "A" ? 1 : 2) ? 0 : 1;
  }
  if (words.size() != 3 || words[2] != "loop") {
    std::fputs("usage: kill_trial_child package|settings|conversion DATA once A|B | loop\n",
               stderr);
    return 64;
  }
  for (int version = 1;; version = 3 - version) {
    if (!Save(words[0], words[1], version)) return 1;
  }
}
