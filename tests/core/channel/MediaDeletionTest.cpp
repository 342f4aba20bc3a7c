#include "channel/MediaDeletion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

constexpr const char* kQuestion =
    "Selected file(s) will be permanently deleted from temporary folder?";

// A channel being edited: its three lists, its stored playlists, the other
// channel's stored ones and the temporary folder with a file for every name.
class MediaDeletionTest : public ::testing::Test {
 protected:
  void Row(MediaList& list, const std::string& line, bool withFile = true) {
    list.Append(line);
    if (!withFile) return;
    const std::string name = SplitEntryLine(StripUnsavedMarker(line)).FileName;
    if (name.find('/') == std::string::npos)
      test::WriteWholeFile(temp / name, std::vector<std::uint8_t>{1});
  }
  std::size_t Delete(MediaListKind kind, const std::filesystem::path& folder) {
    return DeleteSelectedRows(kind, {music, messages, {scheduled, startMinutes, words}}, stored,
                              other, folder, op, [this] { ++stops; });
  }
  std::size_t Delete(MediaListKind kind) { return Delete(kind, temp.Path()); }
  Names Files() const { return test::NamesIn(temp.Path()); }

  test::TempFolder temp;
  test::ScriptedOperator op;
  MediaList music{MediaListKind::Music};
  MediaList messages{MediaListKind::Messages};
  MediaList scheduled{MediaListKind::Scheduled};
  std::vector<std::uint32_t> startMinutes, words;
  ChannelConfig stored, other;
  int stops = 0;
};

TEST_F(MediaDeletionTest, AFileGoesOnlyWhenNothingElseNamesItAndSavedRowsLeaveTheStoredList) {
  Row(music, "00:01:00 | a.ogg");
  Row(music, "00:02:00 | b.ogg*");
  Row(music, "00:03:00 | shared.ogg");
  Row(music, "00:00:30 | dup.ogg");
  Row(music, "00:00:10 | kept.ogg");
  Row(messages, "00:00:30 | DUP.ogg*", false);  // names dup.ogg: letter case is not told apart
  stored.Music.entries = {{"00:01:00", "a.ogg"},
                          {"00:03:00", "shared.ogg"},
                          {"00:00:30", "dup.ogg"},
                          {"00:00:10", "kept.ogg"}};
  stored.Music.Media_Duration = 60 + 180 + 30 + 10;
  other.Messages.entries = {{"00:03:00", "shared.ogg"}};
  music.SelectAll(true);
  music.Click(4, {.control = true});

  op.ExpectQuestion("Delete", kQuestion, OperatorAnswer::No);
  EXPECT_EQ(Delete(MediaListKind::Music), 0u);
  EXPECT_EQ(stops, 0);
  EXPECT_EQ(music.RowCount(), 5u);

  op.ExpectQuestion("Delete", kQuestion, OperatorAnswer::Yes);
  EXPECT_EQ(Delete(MediaListKind::Music), 4u);
  EXPECT_EQ(op.History().back().icon, OperatorIcon::Exclamation);
  EXPECT_EQ(stops, 1);
  EXPECT_EQ(Files(), (Names{"dup.ogg", "kept.ogg", "shared.ogg"}));
  EXPECT_EQ(music.RowCount(), 1u);
  EXPECT_EQ(music.TotalSeconds(), 10);
  EXPECT_EQ(music.Anchor(), -1);
  EXPECT_EQ(stored.Music.entries, (std::vector<MediaEntry>{{"00:00:10", "kept.ogg"}}));
  EXPECT_EQ(stored.Music.Media_Duration, 10u);

  // Nothing selected: not even asked.
  EXPECT_EQ(Delete(MediaListKind::Messages), 0u);
  EXPECT_EQ(op.History().size(), 2u);
}

TEST_F(MediaDeletionTest, ScheduledRowsTakeTheirSchedulesWithThem) {
  std::uint32_t n = 0;
  for (const char* name : {"one", "two", "three"}) {
    Row(scheduled, std::string("00:00:05 | ") + name + ".ogg");
    stored.Scheduled.AddEntry({"00:00:05", std::string(name) + ".ogg"}, 60, n + 1);
    startMinutes.push_back(n);
    words.push_back(n + 100);
    ++n;
  }
  stored.Scheduled.Media_Duration = 4;  // shorter than the rows claim: stays at zero
  scheduled.Click(1, {});
  op.ExpectQuestion("Delete", kQuestion, OperatorAnswer::Yes);
  EXPECT_EQ(Delete(MediaListKind::Scheduled), 1u);
  EXPECT_EQ(startMinutes, (std::vector<std::uint32_t>{0, 2}));
  EXPECT_EQ(words, (std::vector<std::uint32_t>{100, 102}));
  EXPECT_EQ(stored.Scheduled.entries.size(), 2u);
  EXPECT_EQ(stored.Scheduled.PA_ActiveDays, (std::vector<std::uint32_t>{1, 3}));
  EXPECT_TRUE(stored.Scheduled.IsInStep());
  EXPECT_EQ(stored.Scheduled.Media_Duration, 0u);
  EXPECT_EQ(Files(), (Names{"one.ogg", "three.ogg"}));
}

TEST_F(MediaDeletionTest, ANameWithAFolderPartDeletesNothingOutside) {
  test::WriteWholeFile(temp / "outside.ogg", std::vector<std::uint8_t>{1});
  std::filesystem::create_directories(temp / "work");
  Row(messages, "00:00:01 | ../outside.ogg");
  messages.Click(0, {});
  op.ExpectQuestion("Delete", kQuestion, OperatorAnswer::Yes);
  EXPECT_EQ(Delete(MediaListKind::Messages, temp / "work"), 1u);
  EXPECT_TRUE(std::filesystem::exists(temp / "outside.ogg"));
}

}  // namespace
}  // namespace corvane
