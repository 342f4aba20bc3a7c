#include "channel/PlayTime.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "channel/ChannelConfig.h"
#include "channel/MediaEntry.h"

namespace corvane {
namespace {

// Converted files are compressed; the player counts about eight seconds of
// play for each second of raw samples their bytes would hold.
constexpr std::int64_t kPlayPerStoredSecond = 8;

// Every message plays after its gap; the messages' whole run.
std::int64_t MessageRun(const PlayTimeFigures& f, std::int64_t gaps) {
  return gaps * f.secondsBetween + f.messageSeconds;
}

std::string Counted(std::int64_t rows) { return "Files: " + std::to_string(rows); }

}  // namespace

std::int64_t UsedSeconds(PlayTimeAccounting accounting, const PlayTimeFigures& f,
                         std::int64_t extraSeconds, PlayTimeList list) {
  if (accounting == PlayTimeAccounting::Storage) {
    // A damaged rate of 0 counts nothing rather than dividing by it.
    if (f.bytesPerSecond <= 0) return 0;
    return kPlayPerStoredSecond *
           static_cast<std::int64_t>(f.folderBytes / static_cast<std::uint64_t>(f.bytesPerSecond));
  }
  switch (list) {
    case PlayTimeList::Other:
      return std::max(f.musicSeconds, MessageRun(f, f.messageCount)) + extraSeconds;
    case PlayTimeList::Messages:
      return MessageRun(f, f.messageCount + 1) + extraSeconds;
    case PlayTimeList::Music:
      return f.musicSeconds + extraSeconds;
  }
  return extraSeconds;
}

bool PlayTimeAccount::IsOverCapacity(const PlayTimeFigures& f, std::int64_t extraSeconds,
                                     PlayTimeList list) {
  const std::int64_t used = UsedSeconds(accounting_, f, extraSeconds, list);
  const std::int64_t capacity = f.capacitySeconds;
  if (used > capacity) return true;
  const bool draws = accounting_ == PlayTimeAccounting::Storage || list == PlayTimeList::Other;
  if (draws && (!display_ || display_->usedSeconds != used)) {
    display_ = RemainingDisplay{used, used > capacity * 90 / 100, (capacity - used) / 60,
                                FormatDuration(capacity - used, false)};
  }
  return false;
}

std::int64_t RemainingBarRange(std::int64_t capacitySeconds) { return capacitySeconds / 60; }

std::string FormatDuration(std::int64_t seconds, bool withSeconds) {
  if (withSeconds) return FormatDurationLabel(seconds);
  const std::int64_t hours = seconds / 3600;
  const std::int64_t minutes = seconds % 3600 / 60;
  if (hours == 0 && minutes == 0) return "<1 min";
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(hours),
                static_cast<long long>(minutes));
  return text;
}

ChannelListLabels ListLabels(const PlayTimeFigures& f, std::int64_t musicRows,
                             std::int64_t scheduledRows) {
  return {"Duration: " + FormatDuration(f.musicSeconds, true),
          Counted(musicRows),
          "Duration: " + FormatDuration(f.messageSeconds, true),
          Counted(f.messageCount),
          "Total Message Play Duration: " + FormatDuration(MessageRun(f, f.messageCount), true),
          Counted(scheduledRows)};
}

bool MaySpaceMessages(PlayTimeAccount& account, PlayTimeFigures figures,
                      std::int64_t candidateSeconds, Operator& op) {
  // A spin below its range is put back without a word.
  if (candidateSeconds < 0) return false;
  if (account.Accounting() == PlayTimeAccounting::Storage) return true;
  figures.secondsBetween = candidateSeconds;
  if (!account.IsOverCapacity(figures, 0, PlayTimeList::Other)) return true;
  op.Tell("Media Length Error", "Message play time exceeds available device time.",
          OperatorIcon::Stop);
  return false;
}

bool DefaultSpacingFits(PlayTimeAccounting accounting, const PlayTimeFigures& f, Operator& op) {
  if (accounting == PlayTimeAccounting::Storage ||
      f.messageSeconds + f.messageCount * kDefaultSecondsBetweenMessages <= f.capacitySeconds) {
    return true;
  }
  op.Tell("Error",
          "Loading Default Time Between Messages value will exceed device storage.  Delete "
          "some message files and try again.",
          OperatorIcon::Stop);
  return false;
}

bool AcceptMessagesOutlastingMusic(PlayTimeAccounting accounting, const PlayTimeFigures& f,
                                   Operator& op) {
  if (accounting == PlayTimeAccounting::Storage || f.musicSeconds <= 0 ||
      f.musicSeconds >= MessageRun(f, f.messageCount))
    return true;
  return op.Ask("Media Length Mismatch",
                "Messages will play longer than background music.  Are you sure?",
                OperatorButtons::YesNo, OperatorIcon::Exclamation) == OperatorAnswer::Yes;
}

std::uint64_t FolderFileBytes(const std::filesystem::path& folder) {
  std::uint64_t total = 0;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    if (it->is_symlink(ignored) || !it->is_regular_file(ignored)) continue;
    const std::uintmax_t size = it->file_size(ignored);
    if (!ignored) total += size;
  }
  return total;
}

}  // namespace corvane
