#include "channel/ListCleanup.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>
#include <vector>

#include "channel/MediaEntry.h"
#include "channel/MediaReferences.h"
#include "common/FileNames.h"

namespace corvane {
namespace {

int CountEqual(const std::vector<MediaEntry>& entries, std::string_view line) {
  return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                        [&](const MediaEntry& e) { return e.Line() == line; }));
}

const std::vector<MediaEntry>& StoredOfKind(const ChannelConfig& channel, MediaListKind kind) {
  switch (kind) {
    case MediaListKind::Music:
      return channel.Music.entries;
    case MediaListKind::Messages:
      return channel.Messages.entries;
    case MediaListKind::Scheduled:
      break;
  }
  return channel.Scheduled.entries;
}

void RemoveRow(EditedLists lists, MediaListKind kind, std::size_t row) {
  ListOfKind(lists, kind).Remove(row);
  if (kind == MediaListKind::Scheduled) {
    auto& starts = lists.scheduled.startMinutes;
    auto& words = lists.scheduled.words;
    if (row < starts.size()) starts.erase(starts.begin() + static_cast<std::ptrdiff_t>(row));
    if (row < words.size()) words.erase(words.begin() + static_cast<std::ptrdiff_t>(row));
  }
}

// Takes the row out, and its file when the count of places naming it,
// `alsoStored` included, is exactly one: the row itself.
void RemoveRowAndUnusedFile(EditedLists lists, MediaListKind kind, std::size_t row,
                            const ChannelConfig& other, int alsoStored,
                            const std::filesystem::path& tempFolder) {
  const std::string line(StripUnsavedMarker(ListOfKind(lists, kind).Row(row)));
  const std::array<const MediaListView*, 3> live = {&lists.music, &lists.messages,
                                                    &lists.scheduled.list};
  const std::string fileName = SplitEntryLine(line).FileName;
  if (CountReferences(line, live, other) + alsoStored == 1 && IsPlainFileName(fileName)) {
    std::error_code ignored;
    std::filesystem::remove(tempFolder / fileName, ignored);
  }
  RemoveRow(lists, kind, row);
}

}  // namespace

void DropRowsAddedSinceOpening(EditedLists lists, MediaListKind kind, const ChannelConfig& edited,
                               const ChannelConfig& other,
                               const std::filesystem::path& tempFolder) {
  MediaList& list = ListOfKind(lists, kind);
  std::vector<bool> keep(list.RowCount(), false);  // rows equal to a stored entry
  for (const MediaEntry& entry : StoredOfKind(edited, kind)) {
    const std::string line = entry.Line();
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
      if (list.Row(i) == line) keep[i] = true;
    }
  }
  // Saved rows go first, their files untouched: they are the stored
  // playlist's and count through it below.
  for (std::size_t i = list.RowCount(); i-- > 0;) {
    if (keep[i]) RemoveRow(lists, kind, i);
  }
  for (std::size_t i = list.RowCount(); i-- > 0;) {
    const std::string line(StripUnsavedMarker(list.Row(i)));
    const int stored = CountEqual(edited.Music.entries, line) +
                       CountEqual(edited.Messages.entries, line) +
                       CountEqual(edited.Scheduled.entries, line);
    RemoveRowAndUnusedFile(lists, kind, i, other, stored, tempFolder);
  }
}

void PurgeMusic(EditedLists lists, ChannelConfig& edited, const ChannelConfig& other,
                const std::filesystem::path& tempFolder) {
  MediaList& music = lists.music;
  for (std::size_t i = music.RowCount(); i-- > 0;) {
    const std::string line(StripUnsavedMarker(music.Row(i)));
    RemoveRowAndUnusedFile(lists, MediaListKind::Music, i, other,
                           CountEqual(edited.Messages.entries, line), tempFolder);
    auto& stored = edited.Music.entries;
    const auto found = std::find_if(stored.begin(), stored.end(),
                                    [&](const MediaEntry& e) { return e.Line() == line; });
    if (found != stored.end()) stored.erase(found);
  }
  music.SetTotal(0);
  edited.Music.Media_Duration = 0;
}

}  // namespace corvane
