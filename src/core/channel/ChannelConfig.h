#pragma once
// One output channel of a Tonvex player: its sound settings and its three
// playlists. The field names are those of the device configuration record so
// that the package reader and writer map them one to one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "channel/MediaEntry.h"

namespace corvane {

// Seconds after midnight of the last second of a day: the widest play window.
inline constexpr std::uint32_t kLastSecondOfDay = 86399;
// Sunday (bit 0) through Saturday (bit 6).
inline constexpr std::uint32_t kEveryDayOfWeek = 0x7F;

// The factory spacing of messages, in seconds.
inline constexpr std::uint16_t kDefaultSecondsBetweenMessages = 20;

// The music or the message playlist.
struct PlaylistRecord {
  std::uint32_t ListStart_time = 0;
  std::uint32_t ListStop_time = 0;
  std::uint32_t Media_Duration = 0;  // sum of the entries' durations, in seconds
  std::uint8_t PlaylistShuffleEnabled = 0;
  std::uint32_t ActiveDays = 0;  // bit 0 Sunday .. bit 6 Saturday
  // Kept exactly as an opened package carried it; the tool never writes it.
  std::array<std::uint8_t, 48> reserved{};
  std::vector<MediaEntry> entries;  // in play order

  // Empties the list and opens the window to every day, all day. The reserved
  // bytes stay so a package written back still carries them.
  void Reset();
  bool operator==(const PlaylistRecord&) const = default;
};

// Messages played at set times. Each entry has its own start time and date
// window, held in two arrays parallel to the entries; the three always have
// the same length and change together through AddEntry / RemoveEntry.
struct ScheduledRecord {
  std::uint32_t Media_Duration = 0;
  std::array<std::uint8_t, 131> reserved{};
  std::vector<MediaEntry> entries;
  std::vector<std::uint32_t> PA_ListStartTime;  // seconds after midnight, whole minutes
  std::vector<std::uint32_t> PA_ActiveDays;     // packed schedule words

  std::size_t EntryCount() const { return entries.size(); }
  // Appends an entry; a new entry starts at midnight with an empty schedule word.
  void AddEntry(MediaEntry entry, std::uint32_t startTime = 0, std::uint32_t scheduleWord = 0);
  // Removes the entry at index with its start time and word; false when out of range.
  bool RemoveEntry(std::size_t index);
  // True when the three sequences have the same length. A record read from a
  // damaged package may not; callers check before indexing the arrays.
  bool IsInStep() const;
  // Empties the entries and both arrays; the reserved bytes stay.
  void Reset();
  bool operator==(const ScheduledRecord&) const = default;
};

struct ChannelConfig {
  std::uint8_t MasterVolume = 0;     // 1..10
  std::uint8_t CrossFadeVolume = 0;  // 0..10
  std::int8_t Treble = 0;            // -5..+5
  std::int8_t Bass = 0;              // -5..+5
  std::uint8_t LocalVolumeEnabled = 0;
  std::uint8_t ExtAudioEnabled = 0;
  std::uint16_t Time_Between_Messages = 0;  // seconds, 0..5999
  std::uint8_t MusicVolume = 0;             // 1..10
  std::uint8_t MessageVolume = 0;           // 1..10
  std::uint8_t Auto_Add_Default_Music = 0;
  std::uint16_t Time_Between_Repeats = 0;  // seconds, 0..5999
  std::uint8_t LimitLengthEnabled = 0;
  std::array<std::uint8_t, 44> reserved{};

  PlaylistRecord Music;
  PlaylistRecord Messages;
  ScheduledRecord Scheduled;

  // A default-constructed channel is all zero on purpose: the second channel
  // stays that way until it is first loaded, and a package saved before then
  // carries the zeros.

  // Puts the sound settings back to the factory values and zeroes their
  // reserved bytes.
  void ResetSettings();
  // Empties the music, message and scheduled playlists; reserved bytes stay.
  void ResetPlaylists();
  // True when any of the three playlists holds at least one entry.
  bool HoldsAnyEntry() const;

  bool operator==(const ChannelConfig&) const = default;
};

}  // namespace corvane
