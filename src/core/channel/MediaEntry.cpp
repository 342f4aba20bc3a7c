#include "channel/MediaEntry.h"

#include <algorithm>

namespace corvane {
namespace {

// At least two digits, zero-padded, like "%02d" without a format string.
std::string TwoDigitsAtLeast(std::int64_t value) {
  std::string digits = std::to_string(value);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return digits;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi over the (at most) two characters of line starting at position; what
// lies beyond the end of line is treated as the end of the text.
int GroupValue(std::string_view line, std::size_t position) {
  if (position >= line.size()) return 0;
  const std::string_view group = line.substr(position, 2);
  std::size_t i = 0;
  while (i < group.size() && IsSpace(group[i])) ++i;
  bool negative = false;
  if (i < group.size() && (group[i] == '+' || group[i] == '-')) {
    negative = group[i] == '-';
    ++i;
  }
  int value = 0;
  for (; i < group.size() && IsDigit(group[i]); ++i) value = value * 10 + (group[i] - '0');
  return negative ? -value : value;
}

}  // namespace

std::string FormatDurationLabel(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const std::int64_t hours = seconds / 3600;
  const std::int64_t rest = seconds % 3600;
  return TwoDigitsAtLeast(hours) + ':' + TwoDigitsAtLeast(rest / 60) + ':' +
         TwoDigitsAtLeast(rest % 60);
}

std::string MediaEntry::Line() const {
  std::string line = Label;
  line += kEntrySeparator;
  line += FileName;
  return line;
}

MediaEntry SplitEntryLine(std::string_view line) {
  const std::size_t separator = line.find(kEntrySeparator);
  if (separator == std::string_view::npos) return {std::string(), std::string(line)};
  return {std::string(line.substr(0, separator)),
          std::string(line.substr(separator + kEntrySeparator.size()))};
}

MediaEntry EntryFor(std::int64_t seconds, std::string_view fileName) {
  return {FormatDurationLabel(seconds), std::string(fileName)};
}

std::string FormatEntry(std::int64_t seconds, std::string_view fileName) {
  std::string line = EntryFor(seconds, fileName).Line();
  if (line.size() > kMaxEntryLength) line.resize(kMaxEntryLength);
  return line;
}

std::uint32_t DurationOfEntry(std::string_view line) {
  const int total = GroupValue(line, 0) * 3600 + GroupValue(line, 3) * 60 + GroupValue(line, 6);
  // A sign inside a group ("-1:00:00") is the only way to go below zero.
  return static_cast<std::uint32_t>(std::max(total, 0));
}

std::uint32_t TotalDuration(std::span<const MediaEntry> entries) {
  std::uint32_t total = 0;
  for (const MediaEntry& entry : entries) total += DurationOfEntry(entry.Label);
  return total;
}

bool HasUnsavedMarker(std::string_view line) {
  return !line.empty() && line.back() == kUnsavedMarker;
}

std::string_view StripUnsavedMarker(std::string_view line) {
  if (HasUnsavedMarker(line)) line.remove_suffix(1);
  return line;
}

std::string BaseNameOfEntry(std::string_view line) {
  return BaseNameOfFile(SplitEntryLine(line).FileName);
}

std::string BaseNameOfFile(std::string_view name) {
  if (const std::size_t marker = name.find(kUnsavedMarker); marker != name.npos) {
    name = name.substr(0, marker);
  }
  if (const std::size_t dot = name.rfind('.'); dot != name.npos) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace corvane
