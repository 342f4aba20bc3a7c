#pragma once
// How much of the device a channel's content uses while it is edited, the
// "Time Remaining" display that shows the rest, and the checks that refuse
// an addition or a spacing the device cannot hold.
//
// Two ways of counting, chosen by the model: storage accounting turns the
// bytes of the converted files into play time; time accounting compares the
// programme's length (music, or messages with their gaps) with the allowed
// length. Figures are whole seconds; divisions truncate.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "operator/Operator.h"

namespace corvane {

enum class PlayTimeAccounting { Storage, Time };

// The list a check is made for: the music list, the message list, or
// anything else (the scheduled list, the overview).
enum class PlayTimeList { Other = 0, Messages = 1, Music = 2 };

// The figures read at the moment of a check.
struct PlayTimeFigures {
  std::int64_t musicSeconds = 0;     // running total of the music list
  std::int64_t messageSeconds = 0;   // running total of the message list
  std::int64_t messageCount = 0;     // rows in the message list
  std::int64_t secondsBetween = 0;   // time between messages as the spins show it
  std::int64_t capacitySeconds = 0;  // the record's maximum length
  std::int64_t bytesPerSecond = 0;   // at the project rate
  std::uint64_t folderBytes = 0;     // files directly in the temporary folder
};

// What the "Time Remaining (HH:MM)" display shows.
struct RemainingDisplay {
  std::int64_t usedSeconds = 0;
  bool red = false;  // above 90% of the capacity
  std::int64_t barPosition = 0;
  std::string text;  // the remaining time, hours and minutes
};

// The running account of one editing session: it remembers what the display
// last showed, so it is redrawn only when the used figure changes.
class PlayTimeAccount {
 public:
  explicit PlayTimeAccount(PlayTimeAccounting accounting) : accounting_(accounting) {}

  // True when the content plus `extraSeconds` would not fit. When it fits
  // the display follows, except for the music and message lists in time
  // accounting, which are only checked.
  bool IsOverCapacity(const PlayTimeFigures& figures, std::int64_t extraSeconds, PlayTimeList list);

  // The display as last drawn; nothing before the first check that drew it.
  const std::optional<RemainingDisplay>& Display() const { return display_; }
  PlayTimeAccounting Accounting() const { return accounting_; }

 private:
  PlayTimeAccounting accounting_;
  std::optional<RemainingDisplay> display_;
};

// The used figure of a check.
std::int64_t UsedSeconds(PlayTimeAccounting accounting, const PlayTimeFigures& figures,
                         std::int64_t extraSeconds, PlayTimeList list);

// The bar's range when the editor opens: 0 to this.
std::int64_t RemainingBarRange(std::int64_t capacitySeconds);

// "hh:mm:ss"; without seconds "hh:mm", or "<1 min" when under a minute.
std::string FormatDuration(std::int64_t seconds, bool withSeconds);

// The texts beside the lists.
struct ChannelListLabels {
  std::string musicDuration;
  std::string musicFiles;
  std::string messageDuration;
  std::string messageFiles;
  std::string totalMessagePlay;
  std::string scheduledFiles;
};
ChannelListLabels ListLabels(const PlayTimeFigures& figures, std::int64_t musicRows,
                             std::int64_t scheduledRows);

// Whether a spin of "Time Between Messages (MM:SS)" may move to make the
// spacing `candidateSeconds`; a refusal is told to the operator. Storage
// accounting allows every spacing that is not below zero.
bool MaySpaceMessages(PlayTimeAccount& account, PlayTimeFigures figures,
                      std::int64_t candidateSeconds, Operator& op);

// Whether the default spacing fits the messages; when not, the operator is
// told and the defaults stay unapplied. Storage accounting always fits.
bool DefaultSpacingFits(PlayTimeAccounting accounting, const PlayTimeFigures& figures,
                        Operator& op);

// On Save, in time accounting: when the messages would outlast the music the
// operator is asked; false when they decline.
bool AcceptMessagesOutlastingMusic(PlayTimeAccounting accounting, const PlayTimeFigures& figures,
                                   Operator& op);

// The bytes of the regular files directly in the folder; sub-folders and
// links do not count, a missing folder holds nothing.
std::uint64_t FolderFileBytes(const std::filesystem::path& folder);

}  // namespace corvane
