#include "channel/ChannelConfig.h"

#include <utility>

namespace corvane {

void PlaylistRecord::Reset() {
  entries.clear();
  ListStart_time = 0;
  ListStop_time = kLastSecondOfDay;
  Media_Duration = 0;
  PlaylistShuffleEnabled = 0;
  ActiveDays = kEveryDayOfWeek;
}

void ScheduledRecord::AddEntry(MediaEntry entry, std::uint32_t startTime,
                               std::uint32_t scheduleWord) {
  entries.push_back(std::move(entry));
  PA_ListStartTime.push_back(startTime);
  PA_ActiveDays.push_back(scheduleWord);
}

bool ScheduledRecord::RemoveEntry(std::size_t index) {
  if (!IsInStep() || index >= entries.size()) return false;
  const auto offset = static_cast<std::ptrdiff_t>(index);
  entries.erase(entries.begin() + offset);
  PA_ListStartTime.erase(PA_ListStartTime.begin() + offset);
  PA_ActiveDays.erase(PA_ActiveDays.begin() + offset);
  return true;
}

bool ScheduledRecord::IsInStep() const {
  return entries.size() == PA_ListStartTime.size() && entries.size() == PA_ActiveDays.size();
}

void ScheduledRecord::Reset() {
  entries.clear();
  PA_ListStartTime.clear();
  PA_ActiveDays.clear();
  Media_Duration = 0;
}

void ChannelConfig::ResetSettings() {
  MasterVolume = 5;
  CrossFadeVolume = 2;
  Treble = 0;
  Bass = 0;
  LocalVolumeEnabled = 1;
  ExtAudioEnabled = 0;
  Time_Between_Messages = kDefaultSecondsBetweenMessages;
  MusicVolume = 10;
  MessageVolume = 10;
  Auto_Add_Default_Music = 1;
  Time_Between_Repeats = 0;
  LimitLengthEnabled = 0;
  reserved.fill(0);
}

void ChannelConfig::ResetPlaylists() {
  Music.Reset();
  Messages.Reset();
  Scheduled.Reset();
}

bool ChannelConfig::HoldsAnyEntry() const {
  return !Music.entries.empty() || !Messages.entries.empty() || !Scheduled.entries.empty();
}

}  // namespace corvane
