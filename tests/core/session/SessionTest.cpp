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

SessionFolders FoldersIn(const std::filesystem::path& data) {
  return ResolveSessionFolders([&](const char* name) -> const char* {
    static std::string value;
    if (std::string_view(name) == "CORVANE_DATA_DIR") {
      value = data.string();
      return value.c_str();
    }
    return nullptr;
  });
}

TEST(SessionFolders, DataFolderComesFromTheEnvironment) {
  auto lookup = [](std::map<std::string, std::string> env) {
    return [env = std::move(env)](const char* name) -> const char* {
      auto it = env.find(name);
      return it == env.end() ? nullptr : it->second.c_str();
    };
  };
  auto f = ResolveSessionFolders(lookup({{"CORVANE_DATA_DIR", "/d/app"}, {"HOME", "/h"}}));
  EXPECT_EQ(f.ApplicationFolder, "/d/app");
  EXPECT_EQ(f.TempFolder, "/d/app/temp/");

  f = ResolveSessionFolders(lookup({{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}}));
  EXPECT_EQ(f.ApplicationFolder, "/x/Melloway");
  EXPECT_EQ(f.TempFolder, "/x/Melloway/temp/");

  // An empty or relative XDG_DATA_HOME is ignored.
  for (const char* xdg : {"", "relative"}) {
    f = ResolveSessionFolders(lookup({{"XDG_DATA_HOME", xdg}, {"HOME", "/h"}}));
    EXPECT_EQ(f.ApplicationFolder, "/h/.local/share/Melloway") << xdg;
  }

  f = ResolveSessionFolders(lookup({{"CORVANE_PROGRAM_DIR", "/opt/corvane"}}));
  EXPECT_EQ(f.ProgramFolder, "/opt/corvane");
  EXPECT_EQ(f.SilentFile, "/opt/corvane/null.wav");
}

TEST(SessionFolders, ClearingRemovesOnlyFilesDirectlyInside) {
  TempFolder base;
  const auto folder = base / "temp";
  std::filesystem::create_directories(folder / "sub");
  test::WriteWholeFile(folder / "a.ogg", std::vector<std::uint8_t>{1});
  test::WriteWholeFile(folder / "sub" / "b.ogg", std::vector<std::uint8_t>{1});
  test::WriteWholeFile(base / "outside.ogg", std::vector<std::uint8_t>{1});
  std::filesystem::create_symlink(base / "outside.ogg", folder / "link.ogg");

  ClearFolderFiles(folder);

  EXPECT_FALSE(std::filesystem::exists(folder / "a.ogg"));
  EXPECT_FALSE(std::filesystem::is_symlink(folder / "link.ogg"));
  EXPECT_TRUE(std::filesystem::exists(base / "outside.ogg"));
  EXPECT_TRUE(std::filesystem::exists(folder / "sub" / "b.ogg"));
  ClearFolderFiles(base / "missing");  // a missing folder is not an error
}

// A run killed while it unpacked leaves its private folder; the temporary
// folder's clearing takes those too, and nothing else, and goes through no link.
TEST(SessionFolders, ClearingTheTemporaryFolderTakesLeftUnpackingFolders) {
  TempFolder data;
  SessionState session(FoldersIn(data / "Melloway"));
  const std::filesystem::path temp = session.Folders.TempFolder;
  const auto outside = data / "outside";
  std::filesystem::create_directories(outside);
  test::WriteWholeFile(outside / "precious.ogg", std::vector<std::uint8_t>{1});
  for (const char* name : {".unpacking-a1B2c3", ".unpacking-zzzzzz", "keep", ".unpacking-toolong1",
                           ".unpacking-abc", "unpacking-a1B2c3"}) {
    std::filesystem::create_directories(temp / name);
    test::WriteWholeFile(temp / name / "member.ogg", std::vector<std::uint8_t>{2});
  }
  std::filesystem::create_directory_symlink(outside, temp / ".unpacking-a1B2c3" / "inner");
  std::filesystem::create_directory_symlink(outside, temp / ".unpacking-LINK00");

  session.ClearTempFolder();

  for (const char* gone : {".unpacking-a1B2c3", ".unpacking-zzzzzz", ".unpacking-LINK00"}) {
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(temp / gone))) << gone;
  }
  for (const char* kept : {"keep", ".unpacking-toolong1", ".unpacking-abc", "unpacking-a1B2c3"}) {
    EXPECT_TRUE(std::filesystem::exists(temp / kept / "member.ogg")) << kept;
  }
  EXPECT_TRUE(std::filesystem::exists(outside / "precious.ogg"));
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
  SessionState session(FoldersIn(data / "Melloway"));
  std::filesystem::create_directories(session.Folders.TempFolder);
  test::WriteWholeFile(session.Folders.TempFolder + "stale.ogg", std::vector<std::uint8_t>{1});
  session.ConfigRecord.ntp_time = 77;
  session.Channel1.Music.entries.push_back(MediaEntry{"00:00:01", "old.ogg"});
  // Whatever the records held before start-up does not survive it.
  session.Security.UserName = "someone";
  session.Security.MohMode = true;

  InstanceLock lock;
  ASSERT_EQ(StartSession(session, lock), StartResult::Started);
  EXPECT_TRUE(std::filesystem::is_directory(session.Folders.TempFolder));
  EXPECT_EQ(session.Folders.TempFolder.back(), '/');
  EXPECT_FALSE(std::filesystem::exists(session.Folders.TempFolder + "stale.ogg"));
  EXPECT_EQ(session.ConfigRecord, DeviceConfigRecord{});
  EXPECT_EQ(session.Channel1, test::FreshChannel());
  EXPECT_EQ(session.Channel2.MasterVolume, 0);  // not loaded at start-up
  EXPECT_EQ(AudioSettingsOf(session.Audio), AudioSettings{});
  // No security settings yet: the built-in login.
  EXPECT_EQ(session.Security.UserName, "tavik");
  EXPECT_EQ(session.Security.Password, "tavik");
  EXPECT_FALSE(session.Security.MohMode);

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
  SessionState next(FoldersIn(data / "Melloway"));
  ASSERT_EQ(StartSession(next, lock), StartResult::Started);
  EXPECT_EQ(next.Audio.ProjectRate, 11025);
  EXPECT_EQ(next.Security.UserName, "operator");
  EXPECT_EQ(next.Security.Password, "n3w-secret");
  EXPECT_TRUE(next.Security.MohMode);
}

// Which properties each model carries is checked with the model table; here,
// the capacity that follows from them and from the stored audio settings.
TEST(Session, SelectingAModelSetsTheCapacityOrKeepsTheLoadedOne) {
  TempFolder data;
  SessionState session(FoldersIn(data.Path()));
  ApplyAudioSettings(session.Audio, AudioSettings{});
  session.ApplyModel(2, false);
  EXPECT_EQ(session.Audio.ConversionRate, 22050);
  EXPECT_EQ(session.Audio.MaxLength, 720);
  session.ApplyModel(1, false);
  EXPECT_EQ(session.Audio.MaxLength, 66536);
  // Without storage the loaded maximum stays.
  session.Audio.MaxLength = 1800;
  session.ApplyModel(3, false);
  EXPECT_EQ(session.Audio.MaxLength, 1800);

  // With reload, the model's own file.
  AudioSettings mix;
  mix.MaxLength = 2400;
  mix.ProjectRateText.Set("44100");
  mix.ProjectRate = 44100;
  ASSERT_TRUE(SaveAudioSettings(mix, data.Path(), 3));
  session.ApplyModel(3, true);
  EXPECT_EQ(session.Audio.MaxLength, 2400);
  EXPECT_EQ(session.Audio.ConversionRate, 44100);
  EXPECT_EQ(session.Audio.BytesPerSecond, 88200);
  session.ApplyModel(2, true);  // no file: defaults, then the capacity at 22050 Hz
  EXPECT_EQ(session.Audio.MaxLength, 720);
}

}  // namespace
}  // namespace corvane
