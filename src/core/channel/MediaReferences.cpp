#include "channel/MediaReferences.h"

#include <algorithm>
#include <array>

#include "channel/MediaEntry.h"

namespace corvane {
namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

// A row matches the line itself or the line still marked unsaved.
bool RowRefersTo(std::string_view row, std::string_view line) {
  if (EqualsIgnoringCase(row, line)) return true;
  return row.size() == line.size() + 1 && row.back() == kUnsavedMarker &&
         EqualsIgnoringCase(row.substr(0, line.size()), line);
}

bool ListRefersTo(const MediaListView& list, std::string_view line) {
  for (std::size_t row = 0; row < list.RowCount(); ++row) {
    if (RowRefersTo(list.Row(row), line)) return true;
  }
  return false;
}

std::array<const std::vector<MediaEntry>*, 3> StoredPlaylists(const ChannelConfig& channel) {
  return {&channel.Music.entries, &channel.Messages.entries, &channel.Scheduled.entries};
}

}  // namespace

int OtherChannelNumber(int editedChannelNumber) { return editedChannelNumber == 2 ? 1 : 2; }

int CountReferences(std::string_view line, LiveMediaLists liveLists,
                    const ChannelConfig& otherChannel) {
  line = StripUnsavedMarker(line);
  int count = 0;
  for (const MediaListView* list : liveLists) {
    if (list != nullptr && ListRefersTo(*list, line)) ++count;
  }
  for (const std::vector<MediaEntry>* stored : StoredPlaylists(otherChannel)) {
    count += static_cast<int>(
        std::count_if(stored->begin(), stored->end(),
                      [&](const MediaEntry& entry) { return entry.Line() == line; }));
  }
  return count;
}

std::optional<std::string> FindByBaseName(std::string_view base, LiveMediaLists liveLists,
                                          const ChannelConfig& otherChannel) {
  for (const MediaListView* list : liveLists) {
    if (list == nullptr) continue;
    for (std::size_t row = 0; row < list->RowCount(); ++row) {
      const std::string_view text = list->Row(row);
      if (BaseNameOfEntry(text) == base) return std::string(text);
    }
  }
  for (const std::vector<MediaEntry>* stored : StoredPlaylists(otherChannel)) {
    for (const MediaEntry& entry : *stored) {
      if (BaseNameOfFile(entry.FileName) == base) return entry.Line();
    }
  }
  return std::nullopt;
}

}  // namespace corvane
