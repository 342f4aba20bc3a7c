#pragma once
// The per-channel settings file the editor keeps in the application folder
// between sessions, one per channel and player model: "channel1_settings.3"
// holds channel 1 of a Tonvex-Mix. Fourteen 32-bit big-endian words, no
// header, 56 bytes in all.
//
// The file stores the editor's control positions, not the record values, so
// the two times are kept as minutes and seconds.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "channel/ChannelConfig.h"

namespace corvane {

inline constexpr std::size_t kChannelSettingsFileSize = 56;
// A longer file is not read beyond this; it is refused by its length anyway.
inline constexpr std::size_t kChannelSettingsReadLimit = 256;

using ChannelSettingsBytes = std::array<std::uint8_t, kChannelSettingsFileSize>;

// The positions of the channel editor's controls, as the caller has them.
struct ChannelSettingsValues {
  int masterVolume = 0;
  int crossFadeVolume = 0;
  int treble = 0;
  int bass = 0;
  int musicVolume = 0;
  int messageVolume = 0;
  bool localVolumeEnabled = false;
  bool externalAudioEnabled = false;
  int messageMinutes = 0;
  int messageSeconds = 0;
  bool autoAddDefaultMusic = false;
  int repeatMinutes = 0;
  int repeatSeconds = 0;
  bool limitLengthEnabled = false;

  bool operator==(const ChannelSettingsValues&) const = default;
};

// The control positions that show the channel's settings; each time is split
// into whole minutes and remaining seconds.
ChannelSettingsValues ValuesFromChannel(const ChannelConfig& channel);

// Spin positions go out as 16-bit two's complement in the low half of their
// word (-3 is 00 00 FF FD); the message minutes and seconds as their low byte
// only; the flags as 0 or 1.
ChannelSettingsBytes EncodeChannelSettings(const ChannelSettingsValues& values);

// Sets the channel's settings from a 56-byte file image. Only the bytes the
// player model reads are used, without range checks; the two times wrap to
// 16 bits. The reserved bytes and the playlists are left as they are.
void DecodeChannelSettings(std::span<const std::uint8_t, kChannelSettingsFileSize> bytes,
                           ChannelConfig& channel);

// Where the editor of editedChannelNumber saves: channel 2's file for 2, the
// first channel's file for anything else (0 included).
std::filesystem::path ChannelSettingsPathForSave(const std::filesystem::path& appFolder,
                                                 int editedChannelNumber, int model);
// Where channel (1 or 2) is loaded from: channel 1's file for 1, channel 2's
// file otherwise.
std::filesystem::path ChannelSettingsPathForLoad(const std::filesystem::path& appFolder,
                                                 int channel, int model);

// Writes the values through a temporary file, so an interrupted write leaves
// the previous file whole. True when the write and close succeeded.
bool SaveChannelSettings(const std::filesystem::path& appFolder, int editedChannelNumber, int model,
                         const ChannelSettingsValues& values);

// Empties the channel's playlists, then reads its settings file. Returns 1
// when a 56-byte file was read; otherwise sets the default settings and
// returns 0.
int LoadChannelSettings(ChannelConfig& channel, int channelNumber, int model,
                        const std::filesystem::path& appFolder);

}  // namespace corvane
