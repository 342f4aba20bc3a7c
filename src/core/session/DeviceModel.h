#pragma once
// The player models the tool prepares content for. The numbers are stored in
// settings file names, in the audio record and in packages, so they are fixed.

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

enum class DeviceModel : std::int32_t {
  None = 0,
  TonvexSU = 1,
  TonvexOne = 2,
  TonvexMix = 3,
  TonvexV5 = 4,
};

// What a model allows and how much it holds. Flags are 1 = yes, 0 = no, as
// they are carried in the audio record.
struct ModelProperties {
  std::int32_t StorageMegabytes;  // 0 = no storage limit
  std::int32_t ListCapacity;      // most entries in the music and in the message list
  std::int32_t ScheduledCapacity;
  std::uint8_t DefaultMusicFromFile;
  std::uint8_t HasStaleDate;
  std::uint8_t ExactStaleDate;
  std::uint8_t HasShuffle;
  std::uint8_t HasMessages;
  std::uint8_t HasScheduledMessages;
  std::uint8_t HasToneControls;
  std::uint8_t HasSecondChannel;
  std::uint8_t IsPlayerDevice;
  std::uint8_t HasTimeZone;
  std::uint8_t HasRepeatInterval;
  std::uint8_t GapsCountAsPlayTime;
};

// The properties of a model number; a number outside 1..4 gets Tonvex-SU's.
const ModelProperties& PropertiesOf(std::int32_t model);

// The model whose display name is exactly this text (letter case counts).
std::optional<DeviceModel> ModelFromName(std::string_view name);

// The tag a package file name carries, e.g. "_SU_"; "____" for no model.
std::string_view ModelTag(std::int32_t model);

// The display name, e.g. "Tonvex-SU"; empty for no model.
std::string_view ModelName(std::int32_t model);

inline constexpr std::int32_t ModelNumber(DeviceModel model) {
  return static_cast<std::int32_t>(model);
}

}  // namespace corvane
