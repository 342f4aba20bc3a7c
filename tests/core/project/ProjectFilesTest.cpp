#include "project/ProjectFiles.h"

#include <gtest/gtest.h>

#include "audio/AudioSettings.h"
#include "channel/ChannelSettingsFile.h"
#include "package/ConfigRecordFile.h"
#include "package/MediaPackage.h"
#include "package/SecuritySettingsFile.h"
#include "support/StandInProject.h"
#include "support/TestData.h"

namespace corvane {
namespace {

// Runs the work at once, as the dialog's timer would, and keeps the texts
// it was opened with.
struct ImmediateProgressDialog final : PackageProgressDialog {
  int Run(const std::string& text, const ProgressWork& work) override {
    texts.push_back(text);
    NoProgress progress;
    return static_cast<int>(work(progress));
  }
  std::vector<std::string> texts;
};

using test::ReadWholeFile;
using test::StandInProject;
using test::WriteWholeFile;

constexpr const char* kNoKey = "0000000000000000";
constexpr const char* kLobby = "00000000000012AB";

class ProjectFilesTest : public ::testing::Test, protected StandInProject {
 protected:
  ProjectFilesTest() {
    std::filesystem::create_directories(data / "out");
    session.Channel1 = session.Channel2 = test::FreshChannel();
    SelectModel(1);
    session.Security.Devices.push_back({kLobby, "Lobby player", "Europe/Paris"});
  }

  void SelectModel(int model) {
    home.CurrentModel = model;
    session.ApplyModel(model, true);
  }

  // A converted file in the temporary folder and its playlist entry.
  MediaEntry Media(const std::string& name, std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + name.size());
    WriteWholeFile(session.Folders.TempFolder + name, bytes);
    return {"00:01:05", name};
  }

  std::filesystem::path SaveAs(const std::string& chosen) {
    op.ExpectSaveFile(data / "out" / chosen);
    EXPECT_TRUE(RunSaveFlow(context, dialog));
    return data / "out" / chosen;
  }

  ImmediateProgressDialog dialog;
};

TEST_F(ProjectFilesTest, SaveThenOpenGivesBackEveryField) {
  session.Security.MohMode = true;
  session.Security.DeviceId = kLobby;
  session.Security.StaleDate.Value = {2025, 6, 30, 0, 0, 0};
  session.Security.TimeZone = "Europe/Paris";
  home.SecurityModified = home.Channel1Modified = home.Channel2Modified = true;

  ChannelConfig& one = session.Channel1;
  one.MasterVolume = 8;
  one.Treble = -3;
  one.Time_Between_Messages = 95;
  one.Music.entries = {Media("song.ogg", 5000), Media("tune.ogg", 1025)};
  one.Messages.entries = {Media("hello.ogg", 300)};
  one.Scheduled.AddEntry(Media("noon.ogg", 64), 12 * 3600, 0x36010F22);
  one.reserved[3] = 0x5A;
  ChannelConfig& two = session.Channel2;
  two.Bass = 4;
  two.Music.entries = {Media("song.ogg", 5000), Media("jazz.ogg", 777)};
  session.ConfigRecord.server_port = 8080;  // carried from an earlier package
  const ChannelConfig savedOne = one;
  const ChannelConfig savedTwo = two;

  SaveAs("Lobby.ipc");
  const auto package = data / "out" / "Lobby_SU_20240315_00000000000012AB.ipc";
  ASSERT_TRUE(std::filesystem::exists(package));
  EXPECT_EQ(dialog.texts, std::vector<std::string>{"Saving File ..."});
  EXPECT_TRUE(home.FileSaved);
  // Only Tonvex-One carries a mixed production.
  EXPECT_FALSE(std::filesystem::exists(session.Folders.TempFolder + "output.wav"));

  // Another project in between, then open the package back.
  one.ResetPlaylists();
  two.ResetSettings();
  session.ConfigRecord = {};
  session.Security.DeviceId = kNoKey;
  session.Security.TimeZone.clear();
  SelectModel(3);
  op.ExpectOpenFile(package);
  ASSERT_TRUE(RunOpenFlow(context, dialog));

  EXPECT_EQ(session.Channel1, savedOne);
  EXPECT_EQ(session.Channel2, savedTwo);
  EXPECT_EQ(session.ConfigRecord.server_port, 8080);
  EXPECT_EQ(session.ConfigRecord.FileVersion, 1);
  EXPECT_EQ(session.ConfigRecord.stale_date, 0x07E9061Eu);
  EXPECT_EQ(session.ConfigRecord.stale_days, 472);
  EXPECT_EQ(session.Audio.Model, 1);
  EXPECT_FALSE(home.FileSaved || home.Channel1Modified || home.SecurityModified);
  EXPECT_EQ(session.Security.DeviceId, kLobby);
  EXPECT_EQ(session.Security.DeviceDescription, "Lobby player");
  EXPECT_EQ(session.Security.TimeZone, "Europe/Paris");
  EXPECT_EQ(session.Security.StaleDate.Value, (LocalDateTime{2025, 6, 30, 0, 0, 0}));
  for (const char* name : {"song.ogg", "tune.ogg", "hello.ogg", "noon.ogg", "jazz.ogg"}) {
    EXPECT_TRUE(std::filesystem::exists(session.Folders.TempFolder + name)) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(session.Folders.TempFolder + "config.dat"));
  EXPECT_FALSE(std::filesystem::exists(session.Folders.TempFolder + "update.bin"));
}

// Tonvex-SU names, fresh or retagged, are saved under in the replacing test.
TEST_F(ProjectFilesTest, PackageNames) {
  const LocalDateTime day{2024, 3, 15, 9, 0, 0};
  EXPECT_EQ(PackageFileName("Hall_ONE_x.ipc", 2, day, "ACME", false, kLobby),
            "Hall_ONE_20240315_SPK_00000000000012AB.ipc");
  EXPECT_EQ(PackageFileName("Hall.ipc", 4, day, "ACME", true, kLobby),
            "Hall_V5_20240315_uSPK_00000000000012AB.ipc");
  // Tags are cut only from a name with an extension.
  EXPECT_EQ(PackageFileName("CRV", 3, day, kNoKey, false, kNoKey),
            "CRV_MIX_20240315_0000000000000000.ipc");
}

TEST_F(ProjectFilesTest, APackageIsReplacedOnlyByAWholeNewOneAndOnlyWhenTheOperatorAgrees) {
  home.Channel1Modified = home.Channel2Modified = true;
  session.Channel1.Music.entries = {Media("a.ogg", 10), MediaEntry{"00:00:01", "gone.ogg"}};
  session.Channel2.Music.entries = {Media("b.ogg", 10)};
  const auto old = data / "out" / "Lobby_SU_20240101_0000000000000000.ipc";
  const auto today = data / "out" / "Lobby_SU_20240315_0000000000000000.ipc";
  WriteWholeFile(old, std::vector<std::uint8_t>{1, 2, 3});
  // A member that vanished makes the save fail: the old package stays.
  op.ExpectSaveFile(old);
  EXPECT_FALSE(RunSaveFlow(context, dialog));
  EXPECT_TRUE(std::filesystem::exists(old));
  EXPECT_FALSE(home.FileSaved);

  session.Channel1.Music.entries.pop_back();
  op.ExpectSaveFile(old);
  EXPECT_TRUE(RunSaveFlow(context, dialog));
  EXPECT_FALSE(std::filesystem::exists(old));
  const auto saved = ReadWholeFile(today);
  // The name is taken now: declining to replace it asks for another.
  op.ExpectSaveFile(data / "out" / "Lobby.ipc");
  op.ExpectQuestion("Confirm Save As", today.filename().string() +
                                           " already exists.\nDo you want to replace it?",
                    OperatorAnswer::No);
  op.ExpectSaveFile(data / "out" / "Second.ipc");
  ASSERT_TRUE(RunSaveFlow(context, dialog));
  EXPECT_EQ(ReadWholeFile(today), saved);
  EXPECT_TRUE(std::filesystem::exists(data / "out" / "Second_SU_20240315_0000000000000000.ipc"));
}

TEST_F(ProjectFilesTest, MembersAreCollectedOnceInPlaylistOrder) {
  session.Channel1.Music.entries = {MediaEntry{"00:03:52", "default_music.ogg"}, MediaEntry{"00:00:01", "a.ogg"}};
  session.Channel1.Messages.entries = {MediaEntry{"00:00:01", "m.ogg"}, MediaEntry{"00:00:01", "a.ogg"}};
  session.Channel2.Scheduled.AddEntry(MediaEntry{"00:00:01", "s.ogg"});
  auto names = [&](int model) {
    std::vector<std::string> result;
    for (const auto& p : CollectPackageMembers(session, model))
      result.push_back(p.filename().string());
    return result;
  };
  EXPECT_EQ(names(1), (std::vector<std::string>{"a.ogg", "m.ogg", "s.ogg", "config.dat"}));
  EXPECT_EQ(names(2), (std::vector<std::string>{"default_music.ogg", "a.ogg", "m.ogg", "s.ogg",
                                                "config.dat", "output.wav"}));
  EXPECT_EQ(names(3).front(), "default_music.ogg");
}

TEST_F(ProjectFilesTest, SaveQuestionsAndRefusals) {
  session.Security.UnlockDevice = true;
  op.ExpectQuestion("Continue saving file?",
                    "File will reset service provider key and unlock device!", OperatorAnswer::No);
  EXPECT_FALSE(RunSaveFlow(context, dialog));

  session.Security.UnlockDevice = false;
  session.Security.ProviderKey = "ACME";
  op.ExpectMessage("Invalid Security Settings Combination",
                   "Device ID cannot be blank if provider key is selected");
  EXPECT_FALSE(RunSaveFlow(context, dialog));

  session.Security.ProviderKey = kNoKey;
  session.Security.MohMode = true;
  home.Channel1Modified = true;
  op.ExpectQuestion("Continue saving file?", "Security settings not Modified", OperatorAnswer::Yes);
  op.ExpectQuestion("Continue saving file?", "Channel 1 has No Music/Messages",
                    OperatorAnswer::Yes);
  op.ExpectQuestion("Continue saving file?", "Channel 2 not Modified", OperatorAnswer::No);
  EXPECT_FALSE(RunSaveFlow(context, dialog));
  EXPECT_TRUE(dialog.texts.empty());

  // A one-channel player asks about its single list and mixes the production.
  SelectModel(2);
  session.Security.MohMode = false;
  home.Channel1Modified = false;
  op.ExpectQuestion("Continue saving file?", "Music/Messages not Modified", OperatorAnswer::Yes);
  op.ExpectSaveFile(std::nullopt);
  EXPECT_FALSE(RunSaveFlow(context, dialog));
  EXPECT_TRUE(std::filesystem::exists(session.Folders.TempFolder + "output.wav"));
  EXPECT_EQ(session.ConfigRecord.FileVersion, 2);
}

class OpenTest : public ProjectFilesTest {
 protected:
  // A saved package for a device, then a fresh project state.
  std::filesystem::path SavedPackage(const std::string& device, bool scheduled) {
    session.Security.MohMode = true;
    session.Security.DeviceId = device;
    home.SecurityModified = home.Channel1Modified = home.Channel2Modified = true;
    session.Channel1.Music.entries = {Media("a.ogg", 100)};
    session.Channel2.Music.entries = {Media("b.ogg", 100)};
    if (scheduled) session.Channel2.Scheduled.AddEntry(Media("s.ogg", 50), 60, 0x1C011F7F);
    SaveAs("P.ipc");
    const auto path = data / "out" / ("P_SU_20240315_" + device + ".ipc");
    // What is stored: channel settings files and the security file.
    ChannelConfig stored = test::FreshChannel();
    stored.MasterVolume = 9;
    EXPECT_TRUE(
        SaveChannelSettings(session.Folders.ApplicationFolder, 1, 1, ValuesFromChannel(stored)));
    session.Security.DeviceId = kNoKey;
    EXPECT_TRUE(SaveSecuritySettings(session.Security, session.Folders.ApplicationFolder, false));
    home.ClearChangeFlags();
    return path;
  }
};

TEST_F(OpenTest, ThePackageMustNameAListedDeviceAndDecipherUnderIt) {
  const auto package = SavedPackage(kLobby, false);
  const auto audioBefore = AudioSettingsOf(session.Audio);
  home.Channel2Modified = true;  // unsaved changes are not abandoned unasked
  op.ExpectQuestion("Import File", "Abandon current changes?", OperatorAnswer::No);
  EXPECT_FALSE(RunOpenFlow(context, dialog));
  EXPECT_EQ(dialog.texts.size(), 1u);  // only the earlier save ran the dialog
  home.Channel2Modified = false;
  const std::pair<std::string, PackageStatus> cases[] = {
      {"P_SU_20240315_00000000000099AA.ipc", PackageStatus::InvalidDeviceId},
      {"P.ipc", PackageStatus::InvalidFilename},
      // Renamed to another listed device: the header does not decipher.
      {"P_SU_20240315_0000000000000000.ipc", PackageStatus::UpdateFileNotValid},
  };
  for (const auto& [name, status] : cases) {
    std::filesystem::copy_file(package, data / "out" / name);
    op.ExpectOpenFile(data / "out" / name);
    EXPECT_EQ(OpenPackage(context, progress), status) << name;
    op.ExpectOpenFile(data / "out" / name);
    EXPECT_FALSE(RunOpenFlow(context, dialog)) << name;
    EXPECT_EQ(session.Channel1.MasterVolume, 9) << name;  // reloaded from its stored file
    EXPECT_EQ(AudioSettingsOf(session.Audio), audioBefore) << name;
    EXPECT_TRUE(std::filesystem::is_empty(session.Folders.TempFolder)) << name;
    EXPECT_FALSE(session.Channel1.HoldsAnyEntry()) << name;
  }
  op.ExpectOpenFile(std::nullopt);
  EXPECT_EQ(OpenPackage(context, progress), PackageStatus::UserCancelled);
  op.ExpectOpenFile(package);
  EXPECT_EQ(OpenPackage(context, progress), PackageStatus::Ok);
}

// Outside reseller mode a package with scheduled messages is refused, and a
// locked one is opened unlocked.
TEST_F(OpenTest, OutsideResellerModeScheduledMessagesRefuseTheFileAndALockedOneOpensUnlocked) {
  const auto scheduled = SavedPackage(kLobby, true);
  session.Security.MohMode = false;
  op.ExpectOpenFile(scheduled);
  op.ExpectMessage("Incompatible File",
                   "\nThis file was created with Scheduled Messages which \nare not compatible "
                   "with the current operation mode. \n\nTo open this file, restart the "
                   "application, and \nselect the 'Music On Hold Service Resellers Only' "
                   "\ncheckbox to enable the functionality.  Delete all \nscheduled messages "
                   "from the channel pages and \nresave the file.");
  EXPECT_FALSE(RunOpenFlow(context, dialog));
  EXPECT_EQ(session.Channel1.MasterVolume, 9);
  EXPECT_TRUE(session.Channel2.Scheduled.entries.empty());
  EXPECT_TRUE(std::filesystem::is_empty(session.Folders.TempFolder));

  std::filesystem::remove(scheduled);  // the next save takes the same name
  const auto locked = SavedPackage(kLobby, false);
  session.Security.MohMode = false;
  op.ExpectOpenFile(locked);
  op.ExpectMessage("Previously Locked File",
                   "\nThis file was locked with a Service Provider Key  \nor Device Number, "
                   "which is not compatible with the \ncurrent operation mode. \n\nImported "
                   "file has been changed to unlocked to \nsupport the current mode. ");
  EXPECT_TRUE(RunOpenFlow(context, dialog));
  EXPECT_EQ(session.Security.DeviceId, kNoKey);
  EXPECT_EQ(session.Security.ProviderKey, kNoKey);
  EXPECT_EQ(session.Channel1.Music.entries, (std::vector<MediaEntry>{{"00:01:05", "a.ogg"}}));
}

TEST_F(OpenTest, ARecordNamingFilesOutsideTheFolderIsInvalid) {
  session.Channel1.Music.entries = {MediaEntry{"00:00:01", "../../escape.ogg"}};
  WriteWholeFile(session.Folders.TempFolder + "config.dat", std::vector<std::uint8_t>{});
  ASSERT_TRUE(WriteConfigRecordFile(data / "config.dat", session.ConfigRecord, session.Channel1,
                                    session.Channel2));
  PackageContents contents;
  contents.DeviceId = kLobby;
  contents.ProviderKey = kNoKey;
  contents.Members = {data / "config.dat"};
  const auto package = data / "out" / ("Bad_SU_20240315_" + std::string(kLobby) + ".ipc");
  ASSERT_EQ(WritePackage(package, contents, progress), PackageStatus::Ok);
  op.ExpectOpenFile(package);
  EXPECT_EQ(OpenPackage(context, progress), PackageStatus::ConfigurationFileInvalid);
  EXPECT_EQ(session.Security.DeviceId, kNoKey);
}

TEST(StaleDate, WordsAndDays) {
  SecurityDateTime date;
  EXPECT_EQ(StaleDateWord(date), 0x07F40201u);  // the never-date
  date.Value = {2024, 3, 15, 0, 0, 0};
  EXPECT_EQ(StaleDateWord(date), 0x07E8030Fu);
  EXPECT_EQ(StaleDays(date, {2024, 3, 1, 23, 59, 0}), 14);
  EXPECT_EQ(StaleDays(date, {2024, 3, 16, 0, 0, 0}), 0xFFFF);  // yesterday, kept to 16 bits
  date.Value = {2023, 2, 29, 0, 0, 0};
  EXPECT_EQ(StaleDateWord(date), 0xFFFFFFFFu);
  EXPECT_EQ(StaleDays(date, {2023, 1, 1, 0, 0, 0}), 0);
  date.Valid = false;
  date.Value = {2024, 3, 15, 0, 0, 0};
  EXPECT_EQ(StaleDateWord(date), 0xFFFFFFFFu);
  EXPECT_EQ(StaleDateFromWord(0x07E8030F).Value, (LocalDateTime{2024, 3, 15, 0, 0, 0}));
  EXPECT_FALSE(StaleDateFromWord(0xFFFFFFFF).Valid);
  EXPECT_FALSE(StaleDateFromWord(0x07E80D01).Valid);  // month 13
}

}  // namespace
}  // namespace corvane
