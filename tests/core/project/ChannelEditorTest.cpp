#include "project/ChannelEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channel/ChannelSettingsFile.h"
#include "session/DeviceModel.h"
#include "support/StandInProject.h"

namespace corvane::test {
namespace {

using Names = std::vector<std::string>;

// The editor of channel 1 on a model, with conversions that write a
// one-second file, and both channels fresh.
class ChannelEditorTest : public ::testing::Test, protected StandInProject {
 protected:
  ChannelEditor& Open(DeviceModel model, int channel = 1) {
    session.ApplyModel(ModelNumber(model), true);
    session.Channel1 = FreshChannel();
    session.Channel2 = FreshChannel();
    converter.replyBytes = std::vector<std::uint8_t>(10, 1);
    editor_.emplace(context, channel);
    editor_->Open();
    return *editor_;
  }
  // Opens again on the channels as they are now.
  ChannelEditor& Reopen(int channel = 1) {
    editor_.emplace(context, channel);
    editor_->Open();
    return *editor_;
  }
  void PutFile(const std::string& name) { WriteWholeFile(Temp() / name, std::vector<std::uint8_t>(4, 7)); }
  static Names Lines(const std::vector<MediaEntry>& entries) {
    Names lines;
    for (const auto& entry : entries) lines.push_back(entry.Line());
    return lines;
  }
  std::optional<ChannelEditor> editor_;
};

TEST_F(ChannelEditorTest, AnUntouchedEmptyChannelGetsTheDefaultMusicOnceUntilItIsSaved) {
  const struct {
    DeviceModel model;
    std::string row;
    bool fileMade;
  } cases[] = {
      // The player holds the track; only its row is listed.
      {DeviceModel::TonvexSU, "00:03:52 | default_music.ogg*", false},
      // The track travels in the package, copied as it is.
      {DeviceModel::TonvexOne, "00:00:01 | default_music.ogg*", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ModelName(ModelNumber(c.model)));
    home.Channel1Modified = false;
    ChannelEditor& editor = Open(c.model);
    converter.calls.clear();
    editor.Tick();
    editor.Tick();
    EXPECT_EQ(Rows(editor.List(MediaListKind::Music)), Names{c.row});
    EXPECT_EQ(NamesIn(Temp()), c.fileMade ? Names{"default_music.ogg"} : Names{});
    if (c.fileMade) {
      ASSERT_EQ(converter.calls.size(), 1u);
      EXPECT_EQ(converter.calls[0].codec, "copy");
      EXPECT_EQ(converter.calls[0].source, session.Folders.ProgramFolder / "default_music.ogg");
    }
    // Abandoned, it goes again with its file; the next opening adds it again.
    op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
    EXPECT_TRUE(editor.Cancel());
    EXPECT_TRUE(NamesIn(Temp()).empty());
    ChannelEditor& again = Reopen();
    again.Tick();
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(Lines(session.Channel1.Music.entries), Names{c.row.substr(0, c.row.size() - 1)});
    // Saved from the editor, the channel counts as modified: nothing more.
    home.Channel1Modified = true;
    session.Channel1.ResetPlaylists();
    Reopen().Tick();
    EXPECT_EQ(editor_->List(MediaListKind::Music).RowCount(), 0u);
    // Nor is a channel that holds rows, saved or not.
    home.Channel1Modified = false;
    session.Channel1.Messages.entries = {{"00:00:05", "hello.ogg"}};
    Reopen().Tick();
    EXPECT_EQ(editor_->List(MediaListKind::Music).RowCount(), 0u);
    session.ClearTempFolder();
  }
}

TEST_F(ChannelEditorTest, SaveWritesListsWithoutMarkersSchedulesTotalsAndSettings) {
  ChannelEditor& editor = Open(DeviceModel::TonvexSU);
  editor.Controls().settings.autoAddDefaultMusic = false;
  const std::vector<std::filesystem::path> one = {"/sources/song.wav"};
  const std::vector<std::filesystem::path> two = {"/sources/hello.wav", "/sources/bye.mp3"};
  EXPECT_EQ(editor.AddFiles(MediaListKind::Music, one), 1u);
  EXPECT_EQ(editor.AddFiles(MediaListKind::Scheduled, two), 2u);
  // A new row shows the whole year with no days, and holds it one tick later.
  editor.Tick();
  EXPECT_EQ(editor.Schedule().Values(), ScheduleControlValues{});
  editor.Tick();
  editor.Schedule().Edit().hours = 7;
  editor.Schedule().Edit().minutes = 30;
  editor.Schedule().Edit().days = 0x3E;
  editor.Tick();
  ChannelSettingsValues& settings = editor.Controls().settings;
  settings.masterVolume = 7;
  settings.treble = -3;
  settings.messageMinutes = 1;
  settings.messageSeconds = 5;
  editor.Controls().messageShuffle = true;
  ASSERT_TRUE(editor.Save());

  const ChannelConfig& stored = session.Channel1;
  EXPECT_EQ(Lines(stored.Music.entries), Names{"00:00:01 | song.ogg"});
  EXPECT_EQ(Lines(stored.Scheduled.entries), (Names{"00:00:01 | hello.ogg", "00:00:01 | bye.ogg"}));
  EXPECT_EQ(stored.Scheduled.PA_ListStartTime, (std::vector<std::uint32_t>{450 * 60, 0}));
  EXPECT_EQ(stored.Scheduled.PA_ActiveDays, (std::vector<std::uint32_t>{0x1C011F3E, 0}));
  EXPECT_EQ(stored.Music.Media_Duration, 1u);
  EXPECT_EQ(stored.Scheduled.Media_Duration, 2u);
  EXPECT_EQ(stored.MasterVolume, 7);
  EXPECT_EQ(stored.Treble, -3);
  EXPECT_EQ(stored.Time_Between_Messages, 65);
  EXPECT_EQ(stored.Messages.PlaylistShuffleEnabled, 1);
  EXPECT_EQ(player.log.back(), "stop");
}

TEST_F(ChannelEditorTest, CancelDeletesOnlyFilesThatNothingElseNames) {
  Open(DeviceModel::TonvexSU);
  session.Channel1.Music.entries = {{"00:00:01", "kept.ogg"}};
  session.Channel1.Scheduled.AddEntry({"00:00:01", "timed.ogg"}, 60, 0x1C011F00);
  session.Channel2.Messages.entries = {{"00:00:01", "other.ogg"}};
  for (const char* name : {"kept.ogg", "timed.ogg", "other.ogg", "shared.ogg", "lone.ogg"}) {
    PutFile(name);
  }
  const ChannelConfig before = session.Channel1;
  ChannelEditor& editor = Reopen();
  editor.List(MediaListKind::Music).Append("00:00:01 | shared.ogg*");
  editor.List(MediaListKind::Messages).Append("00:00:01 | shared.ogg*");
  editor.List(MediaListKind::Messages).Append("00:00:01 | lone.ogg*");
  editor.List(MediaListKind::Messages).Append("00:00:01 | kept.ogg*");
  editor.List(MediaListKind::Messages).Append("00:00:01 | other.ogg*");
  // A new scheduled row reusing the stored message's file.
  op.ExpectQuestion("Duplicate File Already In List",
                    "Using previously converted file:timed.ogg\nDuration:00:00:01",
                    OperatorAnswer::Ok);
  EXPECT_EQ(editor.AddFiles(MediaListKind::Scheduled,
                            std::vector<std::filesystem::path>{"timed.wav"}), 1u);

  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::No);
  EXPECT_FALSE(editor.Cancel());
  EXPECT_EQ(NamesIn(Temp()).size(), 5u);
  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
  EXPECT_TRUE(editor.Cancel());
  EXPECT_EQ(NamesIn(Temp()), (Names{"kept.ogg", "other.ogg", "timed.ogg"}));
  EXPECT_EQ(session.Channel1, before);
}

TEST_F(ChannelEditorTest, SavedSettingsOutliveACancelAndAFailedWriteKeepsTheEditorOpen) {
  ChannelEditor& editor = Open(DeviceModel::TonvexSU);
  editor.Controls().settings.masterVolume = 9;
  op.ExpectQuestion("Save Settings", "Save application settings?", OperatorAnswer::No);
  EXPECT_FALSE(editor.SaveSettings());
  EXPECT_EQ(session.Channel1.MasterVolume, 5);
  op.ExpectQuestion("Save Settings", "Save application settings?", OperatorAnswer::Yes);
  EXPECT_TRUE(editor.SaveSettings());
  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
  EXPECT_TRUE(editor.Cancel());
  EXPECT_EQ(session.Channel1.MasterVolume, 9);
  ChannelConfig loaded;
  EXPECT_EQ(LoadChannelSettings(loaded, 1, 1, session.Folders.ApplicationFolder), 1);
  EXPECT_EQ(loaded.MasterVolume, 9);

  // A folder where the file belongs makes the write fail.
  const auto path = ChannelSettingsPathForSave(session.Folders.ApplicationFolder, 1, 1);
  std::filesystem::remove(path);
  std::filesystem::create_directories(path / "in-the-way");
  editor.Controls().settings.masterVolume = 3;
  op.ExpectQuestion("Save Settings", "Save application settings?", OperatorAnswer::Yes)
      .ExpectMessage("Write Error", "Failed to save settings.");
  EXPECT_TRUE(editor.SaveSettings());
  EXPECT_EQ(session.Channel1.MasterVolume, 3);
}

TEST_F(ChannelEditorTest, ExternalMusicPurgesTheMusicButKeepsFilesTheMessagesName) {
  Open(DeviceModel::TonvexSU);
  session.Channel1.Music.entries = {{"00:00:01", "both.ogg"}, {"00:00:01", "music.ogg"}};
  session.Channel1.Music.Media_Duration = 2;
  session.Channel1.Messages.entries = {{"00:00:01", "both.ogg"}};
  for (const char* name : {"both.ogg", "music.ogg", "new.ogg"}) PutFile(name);
  ChannelEditor& editor = Reopen();
  editor.List(MediaListKind::Music).Append("00:00:01 | new.ogg*");

  const char* purge = "Permanently delete unused music files from temporary folder?";
  op.ExpectQuestion("External Music Selected", purge, OperatorAnswer::No);
  editor.ExternalMusicClicked(true);
  EXPECT_EQ(editor.List(MediaListKind::Music).RowCount(), 3u);
  editor.ExternalMusicClicked(false);  // unticking asks nothing
  op.ExpectQuestion("External Music Selected", purge, OperatorAnswer::Yes);
  editor.ExternalMusicClicked(true);
  EXPECT_EQ(editor.List(MediaListKind::Music).RowCount(), 0u);
  EXPECT_EQ(editor.List(MediaListKind::Music).TotalSeconds(), 0);
  EXPECT_TRUE(session.Channel1.Music.entries.empty());
  EXPECT_EQ(session.Channel1.Music.Media_Duration, 0u);
  EXPECT_EQ(NamesIn(Temp()), Names{"both.ogg"});
  EXPECT_TRUE(editor.Controls().settings.externalAudioEnabled);
}

TEST_F(ChannelEditorTest, LoadDefaultsIsRefusedWhenTheDefaultSpacingWouldNotFit) {
  // Tonvex-One counts gaps: 720 seconds. 30 messages of 20 s need 1200.
  ChannelEditor& editor = Open(DeviceModel::TonvexOne);
  editor.Controls().settings.masterVolume = 8;
  op.ExpectQuestion("Load Defaults", "Load application default settings?", OperatorAnswer::No);
  EXPECT_FALSE(editor.LoadDefaults());
  op.ExpectQuestion("Load Defaults", "Load application default settings?", OperatorAnswer::Yes);
  EXPECT_TRUE(editor.LoadDefaults());
  EXPECT_EQ(editor.Controls().settings, ValuesFromChannel(FreshChannel()));

  for (int i = 0; i < 30; ++i) editor.List(MediaListKind::Messages).Append("00:00:20 | m.ogg");
  editor.Controls().settings.masterVolume = 8;
  op.ExpectQuestion("Load Defaults", "Load application default settings?", OperatorAnswer::Yes)
      .ExpectMessage("Error",
                     "Loading Default Time Between Messages value will exceed device storage.  "
                     "Delete some message files and try again.");
  EXPECT_FALSE(editor.LoadDefaults());
  EXPECT_EQ(editor.Controls().settings.masterVolume, 8);
}

TEST_F(ChannelEditorTest, SaveAsksFirstWhenTheMessagesWouldOutlastTheMusic) {
  ChannelEditor& editor = Open(DeviceModel::TonvexOne);
  editor.List(MediaListKind::Music).Append("00:01:00 | music.ogg*");
  editor.List(MediaListKind::Messages).Append("00:00:50 | message.ogg*");
  editor.Controls().settings.messageSeconds = 20;
  const char* question = "Messages will play longer than background music.  Are you sure?";
  op.ExpectQuestion("Media Length Mismatch", question, OperatorAnswer::No);
  EXPECT_FALSE(editor.Save());
  EXPECT_TRUE(session.Channel1.Music.entries.empty());
  op.ExpectQuestion("Media Length Mismatch", question, OperatorAnswer::Yes);
  EXPECT_TRUE(editor.Save());
  EXPECT_EQ(session.Channel1.Messages.entries.size(), 1u);
}

TEST_F(ChannelEditorTest, PlayingARowPlaysItsFileAndTheDefaultMusicFromTheProgramFolder) {
  ChannelEditor& editor = Open(DeviceModel::TonvexSU);
  MediaList& music = editor.List(MediaListKind::Music);
  music.Append("00:03:52 | default_music.ogg*");
  music.Append("00:00:01 | song.ogg");
  music.Append("00:00:01 | ../outside.ogg");
  editor.PlayRow(MediaListKind::Music, 0);
  editor.PlayRow(MediaListKind::Music, 2);  // never a path out of the folder
  music.Select(0, true);
  music.Select(1, true);
  editor.PlaySelected(MediaListKind::Music);  // the last selected
  EXPECT_EQ(player.log, (Names{"play " + (session.Folders.ProgramFolder / "default_music.ogg").string(),
                               "play " + (Temp() / "song.ogg").string()}));
}

TEST_F(ChannelEditorTest, DayCommandsAndScheduledDeletionsMarkTheChannelAndShowAgain) {
  ChannelEditor& editor = Open(DeviceModel::TonvexSU, 2);
  editor.Controls().settings.autoAddDefaultMusic = false;
  editor.AddFiles(MediaListKind::Scheduled, std::vector<std::filesystem::path>{"a.wav", "b.wav"});
  editor.Tick();
  editor.Tick();
  editor.ApplyDayCommand(DayCommand::SetWeekDays);
  EXPECT_TRUE(home.Channel2Modified);
  EXPECT_FALSE(home.Channel1Modified);
  editor.Tick();
  EXPECT_EQ(editor.Schedule().Values().days, 0x3E);
  editor.List(MediaListKind::Scheduled).Click(1, {});
  editor.Tick();
  EXPECT_EQ(editor.Schedule().Values().days, 0);
  home.Channel2Modified = false;
  op.ExpectQuestion("Delete", "Selected file(s) will be permanently deleted from temporary folder?",
                    OperatorAnswer::Yes);
  editor.DeleteSelected(MediaListKind::Scheduled, true);
  EXPECT_TRUE(home.Channel2Modified);
  editor.Tick();
  EXPECT_EQ(editor.Schedule().Values().days, 0x3E);
  EXPECT_EQ(NamesIn(Temp()), Names{"a.ogg"});
}

TEST_F(ChannelEditorTest, FilesChosenInTheDialogAreAddedInOrderAndAnnounced) {
  ChannelEditor& editor = Open(DeviceModel::TonvexSU);
  std::vector<std::string> notices;
  editor.OnAddingFile([&](std::size_t n, std::size_t count, const std::filesystem::path& file) {
    notices.push_back(std::to_string(n) + "/" + std::to_string(count) + " " + file.filename().string());
  });
  editor.List(MediaListKind::Messages).Append("00:00:01 | old.ogg");
  editor.List(MediaListKind::Messages).Select(0, true);
  op.ExpectOpenFiles({"/in/a.wav", "/in/b.flac"});
  EXPECT_EQ(editor.AddFilesFromDialog(MediaListKind::Messages), 2u);
  EXPECT_EQ(Rows(editor.List(MediaListKind::Messages)),
            (Names{"00:00:01 | old.ogg", "00:00:01 | a.ogg*", "00:00:01 | b.ogg*"}));
  EXPECT_TRUE(editor.List(MediaListKind::Messages).Selected().empty());
  EXPECT_EQ(notices, (Names{"1/2 a.wav", "2/2 b.flac"}));
  op.ExpectOpenFiles({});
  EXPECT_EQ(editor.AddFilesFromDialog(MediaListKind::Messages), 0u);
}

TEST_F(ChannelEditorTest, EachModelOffersItsOwnParts) {
  // shuffle, repeat, messages, tone, end music, scheduled, security, player, total
  const struct {
    DeviceModel model;
    bool moh;
    ChannelEditorSections expected;
  } cases[] = {
      {DeviceModel::TonvexSU, true, {true, false, true, true, false, true, true, true, false}},
      {DeviceModel::TonvexSU, false, {true, false, true, true, false, false, false, true, false}},
      {DeviceModel::TonvexOne, true, {false, true, true, false, true, false, true, true, true}},
      {DeviceModel::TonvexMix, true, {false, false, true, false, true, false, false, false, true}},
  };
  for (const auto& c : cases) {
    session.ApplyModel(ModelNumber(c.model), false);
    EXPECT_EQ(SectionsFor(session.Audio, c.moh), c.expected)
        << ModelName(ModelNumber(c.model)) << (c.moh ? " in MOH mode" : "");
  }
}

}  // namespace
}  // namespace corvane::test
