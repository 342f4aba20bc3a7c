#include "media/MediaAdding.h"

#include <array>
#include <string>
#include <system_error>

#include "channel/MediaEntry.h"
#include "channel/MediaReferences.h"

namespace corvane {
namespace {

constexpr const char* kUnableToAdd = "Unable to Add File.";

MediaList& TargetList(MediaAddition& a) { return ListOfKind(a.lists, a.target); }

std::size_t Capacity(const MediaAddition& a) {
  const std::int32_t capacity =
      a.target == MediaListKind::Scheduled ? a.audio.ScheduledCapacity : a.audio.ListCapacity;
  return capacity > 0 ? static_cast<std::size_t>(capacity) : 0;
}

PlayTimeList AccountedAs(MediaListKind kind) {
  switch (kind) {
    case MediaListKind::Music:
      return PlayTimeList::Music;
    case MediaListKind::Messages:
      return PlayTimeList::Messages;
    case MediaListKind::Scheduled:
      break;
  }
  return PlayTimeList::Other;
}

// True, after telling the operator, when the list holds all it may.
bool IsFull(MediaAddition& a) {
  if (TargetList(a).RowCount() < Capacity(a)) return false;
  a.op.Tell("Unable to add file.", "Media List Full.", OperatorIcon::Stop);
  return true;
}

void RemoveMade(const std::filesystem::path& file, bool made) {
  std::error_code ignored;
  if (made) std::filesystem::remove(file, ignored);
}

}  // namespace

AddOutcome AddMediaFile(MediaAddition& a, const std::filesystem::path& source, bool copy) {
  const std::string base = BaseNameOfFile(source.filename().string());
  if (base == "default_music" && !copy) {
    a.op.Tell(kUnableToAdd, "Filename matches default music filename.", OperatorIcon::Stop);
    return AddOutcome::Continue;
  }
  const std::string fileName = base + a.audio.MediaExtension.Str();
  const std::filesystem::path stored = a.tempFolder / fileName;
  const std::array<const MediaListView*, 3> live = {&a.lists.music, &a.lists.messages,
                                                    &a.lists.scheduled.list};
  std::int64_t seconds = 0;
  bool made = false;
  if (const auto found = FindByBaseName(base, live, a.otherChannel)) {
    if (a.op.Ask(
            "Duplicate File Already In List",
            "Using previously converted file:" + fileName + "\nDuration:" + found->substr(0, 8),
            OperatorButtons::OkCancel, OperatorIcon::Information) != OperatorAnswer::Ok) {
      return AddOutcome::Stop;
    }
    seconds = DurationOfEntry(*found);
  } else {
    if (IsFull(a)) return AddOutcome::Stop;
    ST_AUDIO_TYPE call = a.audio;
    call.CallCodec.Set(copy ? "copy" : a.audio.ProjectCodec.View());
    // The default music is copied as it is, so it keeps its own loudness.
    const ConversionResult result =
        a.converter.Convert(source, stored, call, kAddingFileCaption, a.progress,
                            ConversionOptions{copy ? std::nullopt : a.loudness, false});
    if (!result.Succeeded()) {
      RemoveMade(stored, true);
      return AddOutcome::Stop;
    }
    seconds = result.duration;
    made = true;
  }
  // A reused file skipped the first capacity check.
  if (IsFull(a)) {
    RemoveMade(stored, made);
    return AddOutcome::Stop;
  }
  if (a.account.IsOverCapacity(a.figures(), seconds, AccountedAs(a.target))) {
    RemoveMade(stored, made);
    return a.op.Ask(kUnableToAdd, "Insufficient storage space in device to add this file",
                    OperatorButtons::OkCancel, OperatorIcon::Stop) == OperatorAnswer::Ok
               ? AddOutcome::Continue
               : AddOutcome::Stop;
  }
  TargetList(a).Append(FormatEntry(seconds, fileName) + kUnsavedMarker);
  if (a.target == MediaListKind::Scheduled) {
    a.lists.scheduled.startMinutes.push_back(0);
    a.lists.scheduled.words.push_back(0);
  }
  return AddOutcome::Continue;
}

std::size_t AddMediaFiles(MediaAddition& a, std::span<const std::filesystem::path> sources) {
  std::size_t listed = 0;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const std::filesystem::path& source = sources[i];
    if (a.beforeEachFile) a.beforeEachFile(i + 1, sources.size(), source);
    const std::size_t before = TargetList(a).RowCount();
    const AddOutcome outcome = AddMediaFile(a, source, false);
    listed += TargetList(a).RowCount() - before;
    if (outcome == AddOutcome::Stop) break;
  }
  return listed;
}

}  // namespace corvane
