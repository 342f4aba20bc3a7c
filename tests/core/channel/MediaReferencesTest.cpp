#include "channel/MediaReferences.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "channel/MediaList.h"

namespace corvane {
namespace {

// The editor's three live lists and a stored other channel.
struct EditorLists {
  MediaList music{MediaListKind::Music};
  MediaList messages{MediaListKind::Messages};
  MediaList scheduled{MediaListKind::Scheduled};
  std::array<const MediaListView*, 3> views{&music, &messages, &scheduled};
  ChannelConfig other;

  int Count(std::string_view line) const { return CountReferences(line, views, other); }
  std::optional<std::string> Find(std::string_view base) const {
    return FindByBaseName(base, views, other);
  }
};

TEST(MediaReferencesTest,
     LiveListsCountOnceEachIgnoringCaseAndOneMarkerTheOtherChannelEachExactly) {
  EditorLists lists;
  for (const char* line : {"00:00:05 | Song.ogg", "00:00:05 | SONG.OGG*", "00:00:05 | a.ogg**"}) {
    lists.music.Append(line);
  }
  lists.scheduled.Append("00:00:05 | song.ogg");
  EXPECT_EQ(lists.Count("00:00:05 | song.ogg*"), 2);
  EXPECT_EQ(lists.Count("00:00:06 | song.ogg"), 0);  // another duration is another line
  EXPECT_EQ(lists.Count("00:00:05 | a.ogg"), 0);     // only one marker is forgiven
  lists.other.Music.entries = {{"00:00:05", "a.ogg"}, {"00:00:05", "a.ogg"}, {"00:00:05", "A.ogg"}};
  lists.other.Scheduled.AddEntry({"00:00:05", "a.ogg"});
  EXPECT_EQ(lists.Count("00:00:05 | a.ogg*"), 3);
  EXPECT_EQ(OtherChannelNumber(0), 2);  // 0 stands for channel 1
  EXPECT_EQ(OtherChannelNumber(2), 1);
}

TEST(MediaReferencesTest, FindLooksInLiveListsThenTheOtherChannelInListOrderForTheExactBaseName) {
  EditorLists lists;
  lists.other.Scheduled.AddEntry(MediaEntry{"00:00:03", "x.ogg"});
  EXPECT_EQ(lists.Find("x"), "00:00:03 | x.ogg");
  lists.other.Music.entries = {MediaEntry{"00:00:01", "x.ogg"}};
  EXPECT_EQ(lists.Find("x"), "00:00:01 | x.ogg");
  lists.scheduled.Append("00:00:03 | x.wav*");
  EXPECT_EQ(lists.Find("x"), "00:00:03 | x.wav*");  // returned with its marker
  lists.music.Append("00:00:01 | Welcome.ogg");
  lists.music.Append("00:00:04 | x.ogg");
  EXPECT_EQ(lists.Find("x"), "00:00:04 | x.ogg");
  EXPECT_EQ(lists.Find("welcome"), std::nullopt);
  EXPECT_EQ(lists.Find("Welcome.ogg"), std::nullopt);
}

}  // namespace
}  // namespace corvane
