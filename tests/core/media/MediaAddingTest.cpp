#include "media/MediaAdding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/audio/AudioSignals.h"
#include "support/FakeAudio.h"
#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

using Names = std::vector<std::string>;

// A channel editor's lists on a model with ten rows a list and no scheduled
// messages, converting for real into a temporary folder.
class MediaAddingTest : public ::testing::Test {
 protected:
  MediaAddingTest() {
    audio.MediaExtension.Set(".ogg");
    audio.ListCapacity = 10;
    audio.ScheduledCapacity = 0;
    audio.MaxLength = 720;
    std::filesystem::create_directories(temp);
    std::filesystem::create_directories(sources);
  }
  MediaAddition For(MediaListKind target) {
    return {{music, messages, {scheduled, startMinutes, words}},
            target,
            other,
            audio,
            temp,
            account,
            [this] {
              PlayTimeFigures f;
              f.musicSeconds = music.TotalSeconds();
              f.capacitySeconds = audio.MaxLength;
              return f;
            },
            converter,
            progress,
            op};
  }
  std::filesystem::path Tone(const std::string& name, double seconds = 2.0) {
    WriteWave(sources / name, 22050, Sine(440, 22050, seconds));
    return sources / name;
  }
  TempFolder folder;
  std::filesystem::path temp = folder / "temp";
  std::filesystem::path sources = folder / "sources";
  ST_AUDIO_TYPE audio = Call("libvorbis", 22050);
  MediaList music{MediaListKind::Music};
  MediaList messages{MediaListKind::Messages};
  MediaList scheduled{MediaListKind::Scheduled};
  std::vector<std::uint32_t> startMinutes, words;
  ChannelConfig other;
  PlayTimeAccount account{PlayTimeAccounting::Time};
  RecordingConverter converter;
  NoProgress progress;
  ScriptedOperator op;
};

TEST_F(MediaAddingTest, AFileIsConvertedOnceAndItsNameReusedOnlyWhenTheOperatorAgrees) {
  MediaAddition add = For(MediaListKind::Music);
  EXPECT_EQ(AddMediaFile(add, Tone("song.wav"), false), AddOutcome::Continue);
  ASSERT_EQ(converter.calls.size(), 1u);
  EXPECT_EQ(converter.calls[0].codec, "libvorbis");
  EXPECT_EQ(converter.calls[0].caption, "Adding File ...");
  EXPECT_EQ(Rows(music), Names{"00:00:02 | song.ogg*"});
  EXPECT_EQ(music.TotalSeconds(), 2);

  WriteAudio(sources / "song.mp3", "libmp3lame", 22050, Sine(440, 22050, 5.0));
  MediaAddition toMessages = For(MediaListKind::Messages);
  const std::string question = "Using previously converted file:song.ogg\nDuration:00:00:02";
  op.ExpectQuestion("Duplicate File Already In List", question, OperatorAnswer::Cancel);
  EXPECT_EQ(AddMediaFile(toMessages, sources / "song.mp3", false), AddOutcome::Stop);
  op.ExpectQuestion("Duplicate File Already In List", question, OperatorAnswer::Ok);
  EXPECT_EQ(AddMediaFile(toMessages, sources / "song.mp3", false), AddOutcome::Continue);
  EXPECT_EQ(op.History().back().icon, OperatorIcon::Information);
  EXPECT_EQ(Rows(messages), Names{"00:00:02 | song.ogg*"});
  EXPECT_EQ(converter.calls.size(), 1u);
  EXPECT_EQ(NamesIn(temp), Names{"song.ogg"});
}

TEST_F(MediaAddingTest, TheDefaultMusicComesOnlyThroughItsOwnCommand) {
  MediaAddition add = For(MediaListKind::Music);
  op.ExpectMessage("Unable to Add File.", "Filename matches default music filename.");
  EXPECT_EQ(AddMediaFile(add, Tone("default_music.wav"), false), AddOutcome::Continue);
  EXPECT_TRUE(converter.calls.empty());
  WriteAudio(sources / "default_music.ogg", "libvorbis", 22050, Sine(440, 22050, 1.0));
  EXPECT_EQ(AddMediaFile(add, sources / "default_music.ogg", true), AddOutcome::Continue);
  ASSERT_EQ(converter.calls.size(), 1u);
  EXPECT_EQ(converter.calls[0].codec, "copy");
  EXPECT_EQ(Rows(music), Names{"00:00:01 | default_music.ogg*"});
}

TEST_F(MediaAddingTest, AFullListEndsTheBatchOnceAndLeavesNoFileBehind) {
  converter.replyBytes = std::vector<std::uint8_t>(10, 1);  // one second each
  std::vector<std::filesystem::path> twenty;
  for (int i = 0; i < 20; ++i) twenty.push_back(sources / ("f" + std::to_string(i) + ".wav"));
  MediaAddition add = For(MediaListKind::Messages);
  op.ExpectMessage("Unable to add file.", "Media List Full.");
  EXPECT_EQ(AddMediaFiles(add, twenty), 10u);
  EXPECT_EQ(converter.calls.size(), 10u);
  EXPECT_EQ(NamesIn(temp).size(), 10u);

  // No scheduled messages on this model: every add is refused as full.
  MediaAddition toScheduled = For(MediaListKind::Scheduled);
  op.ExpectMessage("Unable to add file.", "Media List Full.");
  EXPECT_EQ(AddMediaFile(toScheduled, sources / "tick.wav", false), AddOutcome::Stop);
  EXPECT_TRUE(words.empty());
  audio.ScheduledCapacity = 10;
  EXPECT_EQ(AddMediaFile(toScheduled, sources / "tick.wav", false), AddOutcome::Continue);
  EXPECT_EQ(words, std::vector<std::uint32_t>{0});
  EXPECT_EQ(startMinutes, words);
}

TEST_F(MediaAddingTest, AFailedConversionOrNoRoomLeavesNothing) {
  MediaAddition add = For(MediaListKind::Music);
  EXPECT_EQ(AddMediaFile(add, sources / "missing.wav", false), AddOutcome::Stop);

  audio.MaxLength = 3;
  const auto song = Tone("long.wav", 4.0);
  for (const auto answer : {OperatorAnswer::Ok, OperatorAnswer::Cancel}) {
    op.ExpectQuestion("Unable to Add File.",
                      "Insufficient storage space in device to add this file", answer);
    EXPECT_EQ(AddMediaFile(add, song, false),
              answer == OperatorAnswer::Ok ? AddOutcome::Continue : AddOutcome::Stop);
  }
  EXPECT_EQ(music.RowCount(), 0u);
  EXPECT_TRUE(NamesIn(temp).empty());
}

}  // namespace
}  // namespace corvane::test
