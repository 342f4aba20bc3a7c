// The operator's loudness preference: what a file holds, or fails to hold
// plainly, and where each list's additions are brought.
#include "media/LoudnessPreference.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "support/TempFolder.h"

namespace corvane::test {
namespace {

void WriteText(const std::filesystem::path& file, const std::string& text) {
  WriteWholeFile(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST(LoudnessPreferenceTest, ReadsWhatIsPlainAndKeepsTheDefaultForTheRest) {
  const struct {
    const char* text;  // null: no file at all
    LoudnessPreference expected;
  } cases[] = {
      {nullptr, {false, -16, -16}},
      {"normalise=on\nmusic=-20\nmessages=-14.5\n", {true, -20, -14.5}},
      {"normalise = on\r\n  music=-23.0 \r\n", {true, -23, -16}},  // written on Windows
      {"messages=-18", {false, -16, -18}},                         // no line end
      // Not plainly meant: a word for on, a unit, out of range, no number.
      {"normalise=yes\nmusic=-20LUFS\nmessages=-80\n", {false, -16, -16}},
      {"normalise=on\nmusic=0\nmessages=nan\n", {true, -16, -16}},
      {"\x01\x02=\xff\n=\nmusic\nvolume=-3\n", {false, -16, -16}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "no file");
    TempFolder folder;
    if (c.text) WriteText(folder / kLoudnessPreferenceFileName, c.text);
    EXPECT_EQ(ReadLoudnessPreference(folder.Path()), c.expected);
  }
}

TEST(LoudnessPreferenceTest, ASavedPreferenceReadsBackWhateverTheLocale) {
  TempFolder folder;
  // A decimal comma must not reach the file: the reader takes a point only.
  const bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  const LoudnessPreference saved{true, -23.5, -12};
  ASSERT_TRUE(SaveLoudnessPreference(saved, folder.Path()));
  std::setlocale(LC_NUMERIC, "C");
  EXPECT_EQ(ReadLoudnessPreference(folder.Path()), saved);
  const auto bytes = ReadWholeFile(folder / kLoudnessPreferenceFileName);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "normalise=on\nmusic=-23.5\nmessages=-12.0\n")
      << (comma ? "under a comma locale" : "no comma locale here");
  // A folder that cannot take the file is reported.
  EXPECT_FALSE(SaveLoudnessPreference(saved, folder / kLoudnessPreferenceFileName / "x"));
}

// Off, nothing is brought anywhere; on, scheduled messages are messages
// (music and messages are checked through the editor).
TEST(LoudnessPreferenceTest, ScheduledMessagesTakeTheMessageTargetOnlyWhenSwitchedOn) {
  EXPECT_FALSE(LoudnessTargetFor({false, -20, -12}, MediaListKind::Scheduled).has_value());
  EXPECT_EQ(LoudnessTargetFor({true, -20, -12}, MediaListKind::Scheduled)->lufs, -12);
}

}  // namespace
}  // namespace corvane::test
