#include "channel/MediaDeletion.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>
#include <type_traits>

#include "channel/MediaEntry.h"
#include "channel/MediaReferences.h"
#include "common/FileNames.h"

namespace corvane {
namespace {

template <typename Values>
void EraseAt(Values& values, std::size_t index) {
  if (index < values.size()) values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
}

// Takes the first stored entry of that line out, with its schedule when the
// list has one, and its duration off the stored total (never below zero).
template <typename Record>
void ForgetStored(Record& record, const std::string& line) {
  const std::uint32_t seconds = DurationOfEntry(line);
  record.Media_Duration -= std::min(record.Media_Duration, seconds);
  const auto found = std::find_if(record.entries.begin(), record.entries.end(),
                                  [&](const MediaEntry& entry) { return entry.Line() == line; });
  if (found == record.entries.end()) return;
  const auto index = static_cast<std::size_t>(found - record.entries.begin());
  if constexpr (std::is_same_v<Record, ScheduledRecord>) {
    EraseAt(record.PA_ListStartTime, index);
    EraseAt(record.PA_ActiveDays, index);
  }
  record.entries.erase(found);
}

}  // namespace

std::size_t DeleteSelectedRows(MediaListKind kind, EditedLists lists, ChannelConfig& stored,
                               const ChannelConfig& otherChannel,
                               const std::filesystem::path& tempFolder, Operator& op,
                               const std::function<void()>& stopPlayback) {
  MediaList& list = ListOfKind(lists, kind);
  const std::vector<std::size_t> selected = list.Selected();
  if (selected.empty()) return 0;
  if (op.Ask("Delete", "Selected file(s) will be permanently deleted from temporary folder?",
             OperatorButtons::YesNo, OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return 0;
  }
  stopPlayback();
  const std::array<const MediaListView*, 3> live = {&lists.music, &lists.messages,
                                                    &lists.scheduled.list};
  for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
    const std::string text(list.Row(*row));
    list.Remove(*row);
    if (kind == MediaListKind::Scheduled) {
      EraseAt(lists.scheduled.startMinutes, *row);
      EraseAt(lists.scheduled.words, *row);
    }
    const bool unsaved = HasUnsavedMarker(text);
    const std::string line(StripUnsavedMarker(text));
    const std::string fileName = SplitEntryLine(line).FileName;
    // A name with a folder part never came from this tool; nothing outside
    // the temporary folder is deleted for it.
    if (CountReferences(line, live, otherChannel) == 0 && IsPlainFileName(fileName)) {
      std::error_code ignored;
      std::filesystem::remove(tempFolder / fileName, ignored);
    }
    if (unsaved) continue;
    switch (kind) {
      case MediaListKind::Music:
        ForgetStored(stored.Music, line);
        break;
      case MediaListKind::Messages:
        ForgetStored(stored.Messages, line);
        break;
      case MediaListKind::Scheduled:
        ForgetStored(stored.Scheduled, line);
        break;
    }
  }
  list.ForgetAnchor();
  return selected.size();
}

}  // namespace corvane
