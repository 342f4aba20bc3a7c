#pragma once
// One playlist line as the operator sees it and the player stores it:
// "hh:mm:ss | filename", plain 8-bit text. While the channel editor is open a
// line whose file is not yet saved into the package ends with "*".

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace corvane {

// Longest line a playlist entry may hold; the stored text field keeps one byte for its NUL.
inline constexpr std::size_t kMaxEntryLength = 2047;
inline constexpr char kUnsavedMarker = '*';
inline constexpr std::string_view kEntrySeparator = " | ";

// One playlist entry as the package stores it: the play-time label the
// player shows and the name of the entry's file, kept apart so that an entry
// read from a package is written back byte for byte whatever its label holds.
struct MediaEntry {
  // "hh:mm:ss" as the tool makes it; a package may carry any text the
  // label's eight characters hold.
  std::string Label;
  // A file in the temporary folder and a member of the package; no folder part.
  std::string FileName;

  // The line the operator sees: label, " | ", file name.
  std::string Line() const;
  bool operator==(const MediaEntry&) const = default;
};

// A line taken apart at its first " | ": the label before it and the file
// name after it; without one, the whole line is the file name.
MediaEntry SplitEntryLine(std::string_view line);

// "hh:mm:ss" with at least two digits per group; hours grow past 99 with more
// digits. Negative durations show as 00:00:00.
std::string FormatDurationLabel(std::int64_t seconds);

// The entry of a converted file of that length.
MediaEntry EntryFor(std::int64_t seconds, std::string_view fileName);

// "hh:mm:ss | fileName", cut to kMaxEntryLength characters.
std::string FormatEntry(std::int64_t seconds, std::string_view fileName);

// Reads back the duration from the two-character groups at positions 0, 3 and
// 6. Each group counts the digits it has, the way atoi would on those two
// characters, so a short or garbled line gives a partial value rather than an
// error. Only two hour digits are read: a label of 100 hours or more reads
// back short, as it does on the player.
std::uint32_t DurationOfEntry(std::string_view line);

// Sum of the durations of the entries' labels, wrapping like the record's
// 32-bit field.
std::uint32_t TotalDuration(std::span<const MediaEntry> entries);

bool HasUnsavedMarker(std::string_view line);
// The line without one trailing unsaved marker.
std::string_view StripUnsavedMarker(std::string_view line);

// The file name without its extension: the text after " | " (the whole line
// when there is none), cut at the first "*", then cut before the last ".".
std::string BaseNameOfEntry(std::string_view line);
// The same for a file name alone.
std::string BaseNameOfFile(std::string_view fileName);

}  // namespace corvane
