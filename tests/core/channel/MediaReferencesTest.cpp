#include "channel/MediaReferences.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace corvane {
namespace {

// The editor's three live lists over plain vectors, and a stored other channel.
struct EditorLists {
  std::vector<std::string> music;
  std::vector<std::string> messages;
  std::vector<std::string> scheduled;
  PlaylistLinesView musicView{music};
  PlaylistLinesView messagesView{messages};
  PlaylistLinesView scheduledView{scheduled};
  std::array<const MediaListView*, 3> views{&musicView, &messagesView, &scheduledView};
  ChannelConfig other;

  int Count(std::string_view line) const { return CountReferences(line, views, other); }
  std::optional<std::string> Find(std::string_view base) const {
    return FindByBaseName(base, views, other);
  }
};

TEST(MediaReferencesTest, LiveListsCountOnceEachIgnoringCaseAndOneMarker) {
  EditorLists lists;
  lists.music = {"00:00:05 | Song.ogg", "00:00:05 | song.ogg", "00:00:05 | SONG.OGG*"};
  lists.messages = {"00:00:05 | other.ogg"};
  lists.scheduled = {"00:00:05 | song.ogg"};
  EXPECT_EQ(lists.Count("00:00:05 | song.ogg"), 2);
  EXPECT_EQ(lists.Count("00:00:05 | song.ogg*"), 2);
  EXPECT_EQ(lists.Count("00:00:05 | other.ogg"), 1);
  EXPECT_EQ(lists.Count("00:00:05 | missing.ogg"), 0);
  EXPECT_EQ(lists.Count("00:00:06 | song.ogg"), 0);  // another duration is another line
  // Only one marker is forgiven, and a prefix of the line is not the line.
  lists.music = {"00:00:05 | a.ogg**", "00:00:05 | a.og*"};
  lists.messages = {"00:00:05 | a.ogg"};
  EXPECT_EQ(lists.Count("00:00:05 | a.ogg"), 1);
}

TEST(MediaReferencesTest, OtherChannelEntriesCountEachAndExactly) {
  EditorLists lists;
  lists.other.Music.entries = {MediaEntry{"00:00:05", "a.ogg"}, MediaEntry{"00:00:05", "a.ogg"},
                               MediaEntry{"00:00:05", "A.ogg"}};
  lists.other.Messages.entries = {MediaEntry{"00:00:05", "a.ogg*"}};
  lists.other.Scheduled.AddEntry(MediaEntry{"00:00:05", "a.ogg"});
  EXPECT_EQ(lists.Count("00:00:05 | a.ogg"), 3);
  EXPECT_EQ(lists.Count("00:00:05 | a.ogg*"), 3);  // the asked line loses its marker first
  EXPECT_EQ(lists.Count("00:00:05 | A.ogg"), 1);
  lists.music = {"00:00:05 | a.ogg"};
  EXPECT_EQ(lists.Count("00:00:05 | a.ogg"), 4);

  EXPECT_EQ(OtherChannelNumber(0), 2);  // 0 stands for channel 1
  EXPECT_EQ(OtherChannelNumber(1), 2);
  EXPECT_EQ(OtherChannelNumber(2), 1);
  // Lists the editor does not show are skipped, and a row past the end is empty.
  const std::array<const MediaListView*, 3> onlyMessages{nullptr, &lists.messagesView, nullptr};
  lists.messages = {"00:00:05 | b.ogg"};
  EXPECT_EQ(CountReferences("00:00:05 | b.ogg", onlyMessages, lists.other), 1);
  EXPECT_EQ(CountReferences("00:00:05 | a.ogg", {}, lists.other), 3);
  EXPECT_EQ(FindByBaseName("b", onlyMessages, lists.other), "00:00:05 | b.ogg");
  EXPECT_EQ(lists.messagesView.RowCount(), 1u);
  EXPECT_EQ(lists.messagesView.Row(1), "");
}

TEST(MediaReferencesTest, FindLooksInLiveListsThenTheOtherChannelInListOrderForTheExactBaseName) {
  EditorLists lists;
  lists.other.Scheduled.AddEntry(MediaEntry{"00:00:03", "x.ogg"});
  EXPECT_EQ(lists.Find("x"), "00:00:03 | x.ogg");
  lists.other.Messages.entries = {MediaEntry{"00:00:02", "x.ogg"}};
  EXPECT_EQ(lists.Find("x"), "00:00:02 | x.ogg");
  lists.other.Music.entries = {MediaEntry{"00:00:01", "x.ogg"}};
  EXPECT_EQ(lists.Find("x"), "00:00:01 | x.ogg");
  lists.scheduled = {"00:00:03 | x.wav*"};
  EXPECT_EQ(lists.Find("x"), "00:00:03 | x.wav*");  // returned with its marker
  lists.messages = {"00:00:02 | x.mp3"};
  EXPECT_EQ(lists.Find("x"), "00:00:02 | x.mp3");
  lists.music = {"00:00:09 | intro.ogg", "00:00:04 | x.ogg"};
  EXPECT_EQ(lists.Find("x"), "00:00:04 | x.ogg");
  // The base name matches exactly.
  lists.music = {"00:00:01 | Welcome.ogg", "00:00:02 | welcome2.ogg"};
  EXPECT_EQ(lists.Find("welcome"), std::nullopt);
  EXPECT_EQ(lists.Find("Welcome"), "00:00:01 | Welcome.ogg");
  EXPECT_EQ(lists.Find("welcome2"), "00:00:02 | welcome2.ogg");
  EXPECT_EQ(lists.Find("Welcome.ogg"), std::nullopt);
}

}  // namespace
}  // namespace corvane
