#include <gtest/gtest.h>

#include <map>

#include "audio/AudioSettings.h"
#include "package/SecuritySettingsFile.h"
#include "project/SessionRun.h"
#include "project/SessionState.h"
#include "session/InstanceLock.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using test::TempFolder;
using Environment = std::map<std::string, std::string>;

SessionFolders FoldersFrom(Environment environment) {
  return ResolveSessionFolders([&](const char* name) -> const char* {
    const auto it = environment.find(name);
    return it == environment.end() ? nullptr : it->second.c_str();
  });
}

TEST(SessionFolders, DataFolderComesFromTheEnvironment) {
  const struct {
    Environment environment;
    std::string application;
  } cases[] = {
      {{{"CORVANE_DATA_DIR", "/d/app"}, {"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}, "/d/app"},
      {{{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}, "/x/Melloway"},
      // A relative XDG_DATA_HOME is ignored.
      {{{"XDG_DATA_HOME", "relative"}, {"HOME", "/h"}}, "/h/.local/share/Melloway"},
  };
  for (const auto& c : cases) {
    const SessionFolders f = FoldersFrom(c.environment);
    EXPECT_EQ(f.ApplicationFolder, c.application);
    EXPECT_EQ(f.TempFolder, c.application + "/temp/");
  }
  const SessionFolders f = FoldersFrom({{"CORVANE_PROGRAM_DIR", "/opt/corvane"}});
  EXPECT_EQ(f.ProgramFolder, "/opt/corvane");
  EXPECT_EQ(f.SilentFile, "/opt/corvane/null.wav");
}

// The files directly inside are working files, and so are the private
// folders a run killed while it unpacked leaves; nothing else is taken, and
// no link is followed.
TEST(SessionFolders, ClearingTheTemporaryFolderTakesItsFilesAndLeftUnpackingFolders) {
  TempFolder data;
  SessionState session(test::FoldersIn(data / "Melloway"));
  const std::filesystem::path temp = session.Folders.TempFolder;
  const auto outside = data / "outside";
  std::filesystem::create_directories(outside);
  const std::vector<std::uint8_t> byte{1};
  test::WriteWholeFile(outside / "precious.ogg", byte);
  for (const char* name : {".unpacking-a1B2c3", ".unpacking-zzzzzz", "keep", ".unpacking-toolong1",
                           ".unpacking-abc", "unpacking-a1B2c3"}) {
    std::filesystem::create_directories(temp / name);
    test::WriteWholeFile(temp / name / "member.ogg", byte);
  }
  test::WriteWholeFile(temp / "a.ogg", byte);
  std::filesystem::create_symlink(outside / "precious.ogg", temp / "link.ogg");
  std::filesystem::create_directory_symlink(outside, temp / ".unpacking-a1B2c3" / "inner");
  std::filesystem::create_directory_symlink(outside, temp / ".unpacking-LINK00");

  session.ClearTempFolder();

  for (const char* gone :
       {"a.ogg", "link.ogg", ".unpacking-a1B2c3", ".unpacking-zzzzzz", ".unpacking-LINK00"}) {
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temp / gone))) << gone;
  }
  for (const char* kept : {"keep", ".unpacking-toolong1", ".unpacking-abc", "unpacking-a1B2c3"}) {
    EXPECT_TRUE(std::filesystem::exists(temp / kept / "member.ogg")) << kept;
  }
  EXPECT_TRUE(std::filesystem::exists(outside / "precious.ogg"));
  ClearFolderFiles(data / "missing");  // a missing folder is not an error
}

TEST(InstanceLock, OneHolderAtATimeAndFreedOnRelease) {
  TempFolder app;
  InstanceLock first;
  InstanceLock second;
  ASSERT_EQ(first.Acquire(app.Path()), InstanceLock::Result::Acquired);
  EXPECT_EQ(second.Acquire(app.Path()), InstanceLock::Result::HeldElsewhere);
  first.Release();
  EXPECT_EQ(second.Acquire(app.Path()), InstanceLock::Result::Acquired);
  EXPECT_EQ(first.Acquire(app / "missing-folder"), InstanceLock::Result::Unavailable);
}

TEST(Session, StartUpEmptiesTheWorkAndLoadsTheStoredSettings) {
  TempFolder data;
  SessionState session(test::FoldersIn(data / "Melloway"));
  test::WriteWholeFile(session.Folders.TempFolder + "stale.ogg", std::vector<std::uint8_t>{1});
  // Whatever the records held before start-up does not survive it.
  session.ConfigRecord.ntp_time = 77;
  session.Channel1.Music.entries.push_back(MediaEntry{"00:00:01", "old.ogg"});
  session.Security.UserName = "someone";
  session.Security.MohMode = true;
  session.Loudness.normalise = true;

  InstanceLock lock;
  ASSERT_EQ(StartSession(session, lock), StartResult::Started);
  EXPECT_TRUE(std::filesystem::is_directory(session.Folders.TempFolder));
  EXPECT_FALSE(std::filesystem::exists(session.Folders.TempFolder + "stale.ogg"));
  EXPECT_EQ(session.ConfigRecord, DeviceConfigRecord{});
  EXPECT_EQ(session.Channel1, test::FreshChannel());
  EXPECT_EQ(session.Channel2.MasterVolume, 0);  // not loaded at start-up
  EXPECT_EQ(AudioSettingsOf(session.Audio), AudioSettings{});
  EXPECT_EQ(session.Security, SecuritySettings{});  // no file yet: the built-in login
  EXPECT_EQ(session.Loudness, LoudnessPreference{});
  test::WriteWholeFile(session.Folders.TempFolder + "mix.wav", std::vector<std::uint8_t>{1});
  EXPECT_EQ(EndSession(session), 0);
  EXPECT_FALSE(std::filesystem::exists(session.Folders.TempFolder + "mix.wav"));
  lock.Release();

  // The next start loads what is stored: the Tonvex-One audio settings, the login.
  AudioSettings stored;
  stored.ProjectRateText.Set("11025");
  stored.ProjectRate = 11025;
  ASSERT_TRUE(SaveAudioSettings(stored, data / "Melloway", 2));
  ASSERT_TRUE(SaveAudioSettings(AudioSettings{}, data / "Melloway", 1));
  SecuritySettings security;
  security.UserName = "operator";
  security.Password = "n3w-secret";
  security.MohMode = true;
  ASSERT_TRUE(SaveSecuritySettings(security, data / "Melloway", false));
  const LoudnessPreference loudness{true, -18, -14};
  ASSERT_TRUE(SaveLoudnessPreference(loudness, data / "Melloway"));
  SessionState next(test::FoldersIn(data / "Melloway"));
  ASSERT_EQ(StartSession(next, lock), StartResult::Started);
  EXPECT_EQ(next.Audio.ProjectRate, 11025);
  EXPECT_EQ(next.Security, security);
  EXPECT_EQ(next.Loudness, loudness);
}

// Selecting a model with reload reads that model's own file.
TEST(Session, SelectingAModelWithReloadReadsItsOwnAudioSettings) {
  TempFolder data;
  SessionState session(test::FoldersIn(data.Path()));
  AudioSettings mix;
  mix.MaxLength = 2400;
  mix.ProjectRateText.Set("44100");
  mix.ProjectRate = 44100;
  ASSERT_TRUE(SaveAudioSettings(mix, data.Path(), 3));
  session.ApplyModel(3, true);
  EXPECT_EQ(session.Audio.MaxLength, 2400);  // no storage: the loaded maximum stays
  EXPECT_EQ(session.Audio.ConversionRate, 44100);
  session.ApplyModel(2, true);  // no file: defaults, then the capacity at 22050 Hz
  EXPECT_EQ(session.Audio.ConversionRate, 22050);
  EXPECT_EQ(session.Audio.MaxLength, 720);
  session.Audio.MaxLength = 1800;
  session.ApplyModel(1, false);  // without reload, the capacity follows the model
  EXPECT_EQ(session.Audio.MaxLength, 66536);
}

}  // namespace
}  // namespace corvane
