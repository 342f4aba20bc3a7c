#include "channel/ChannelSettingsFile.h"

#include <string>
#include <system_error>

#include "common/ByteOrder.h"
#include "common/SettingsFile.h"

namespace corvane {
namespace {

// Byte offsets of the fourteen words.
enum Word : std::size_t {
  kMaster = 0,
  kCrossFade = 4,
  kTreble = 8,
  kBass = 12,
  kMusic = 16,
  kMessage = 20,
  kLocalVolume = 24,
  kExternalAudio = 28,
  kMessageMinutes = 32,
  kMessageSeconds = 36,
  kAutoAdd = 40,
  kRepeatMinutes = 44,
  kRepeatSeconds = 48,
  kLimitLength = 52,
};

void WriteSpinPosition(std::uint8_t* word, int position) {
  WriteBE32(word, static_cast<std::uint16_t>(position));
}
void WriteLowByte(std::uint8_t* word, int value) {
  WriteBE32(word, static_cast<std::uint8_t>(value));
}
void WriteFlag(std::uint8_t* word, bool flag) { WriteBE32(word, flag ? 1u : 0u); }

// The last byte of a word: all the player reads of most words.
std::uint8_t LowByte(const std::uint8_t* bytes, std::size_t word) { return bytes[word + 3]; }
std::int8_t SignedLowByte(const std::uint8_t* bytes, std::size_t word) {
  return static_cast<std::int8_t>(LowByte(bytes, word));
}
// The low half of a word.
std::uint16_t LowHalf(const std::uint8_t* bytes, std::size_t word) {
  return ReadBE16(bytes + word + 2);
}
std::uint16_t MinutesAndSeconds(const std::uint8_t* bytes, std::size_t minutes,
                                std::size_t seconds) {
  return static_cast<std::uint16_t>(LowHalf(bytes, minutes) * 60u + LowHalf(bytes, seconds));
}

std::filesystem::path SettingsPath(const std::filesystem::path& appFolder, bool secondChannel,
                                   int model) {
  std::string name = secondChannel ? "channel2_settings." : "channel1_settings.";
  name += std::to_string(model);
  return appFolder / name;
}

void CreateFolder(const std::filesystem::path& appFolder) {
  std::error_code ignored;
  std::filesystem::create_directories(appFolder, ignored);
}

}  // namespace

ChannelSettingsValues ValuesFromChannel(const ChannelConfig& channel) {
  ChannelSettingsValues values;
  values.masterVolume = channel.MasterVolume;
  values.crossFadeVolume = channel.CrossFadeVolume;
  values.treble = channel.Treble;
  values.bass = channel.Bass;
  values.musicVolume = channel.MusicVolume;
  values.messageVolume = channel.MessageVolume;
  values.localVolumeEnabled = channel.LocalVolumeEnabled != 0;
  values.externalAudioEnabled = channel.ExtAudioEnabled != 0;
  values.messageMinutes = channel.Time_Between_Messages / 60;
  values.messageSeconds = channel.Time_Between_Messages % 60;
  values.autoAddDefaultMusic = channel.Auto_Add_Default_Music != 0;
  values.repeatMinutes = channel.Time_Between_Repeats / 60;
  values.repeatSeconds = channel.Time_Between_Repeats % 60;
  values.limitLengthEnabled = channel.LimitLengthEnabled != 0;
  return values;
}

ChannelSettingsBytes EncodeChannelSettings(const ChannelSettingsValues& values) {
  ChannelSettingsBytes bytes{};
  std::uint8_t* out = bytes.data();
  WriteSpinPosition(out + kMaster, values.masterVolume);
  WriteSpinPosition(out + kCrossFade, values.crossFadeVolume);
  WriteSpinPosition(out + kTreble, values.treble);
  WriteSpinPosition(out + kBass, values.bass);
  WriteSpinPosition(out + kMusic, values.musicVolume);
  WriteSpinPosition(out + kMessage, values.messageVolume);
  WriteFlag(out + kLocalVolume, values.localVolumeEnabled);
  WriteFlag(out + kExternalAudio, values.externalAudioEnabled);
  WriteLowByte(out + kMessageMinutes, values.messageMinutes);
  WriteLowByte(out + kMessageSeconds, values.messageSeconds);
  WriteFlag(out + kAutoAdd, values.autoAddDefaultMusic);
  WriteSpinPosition(out + kRepeatMinutes, values.repeatMinutes);
  WriteSpinPosition(out + kRepeatSeconds, values.repeatSeconds);
  WriteFlag(out + kLimitLength, values.limitLengthEnabled);
  return bytes;
}

void DecodeChannelSettings(std::span<const std::uint8_t, kChannelSettingsFileSize> bytes,
                           ChannelConfig& channel) {
  const std::uint8_t* in = bytes.data();
  channel.MasterVolume = LowByte(in, kMaster);
  channel.CrossFadeVolume = LowByte(in, kCrossFade);
  channel.Treble = SignedLowByte(in, kTreble);
  channel.Bass = SignedLowByte(in, kBass);
  channel.MusicVolume = LowByte(in, kMusic);
  channel.MessageVolume = LowByte(in, kMessage);
  channel.LocalVolumeEnabled = LowByte(in, kLocalVolume);
  channel.ExtAudioEnabled = LowByte(in, kExternalAudio);
  channel.Time_Between_Messages = MinutesAndSeconds(in, kMessageMinutes, kMessageSeconds);
  channel.Auto_Add_Default_Music = LowByte(in, kAutoAdd);
  channel.Time_Between_Repeats = MinutesAndSeconds(in, kRepeatMinutes, kRepeatSeconds);
  channel.LimitLengthEnabled = LowByte(in, kLimitLength);
}

std::filesystem::path ChannelSettingsPathForSave(const std::filesystem::path& appFolder,
                                                 int editedChannelNumber, int model) {
  return SettingsPath(appFolder, editedChannelNumber == 2, model);
}

std::filesystem::path ChannelSettingsPathForLoad(const std::filesystem::path& appFolder,
                                                 int channel, int model) {
  return SettingsPath(appFolder, channel != 1, model);
}

bool SaveChannelSettings(const std::filesystem::path& appFolder, int editedChannelNumber, int model,
                         const ChannelSettingsValues& values) {
  CreateFolder(appFolder);
  const ChannelSettingsBytes bytes = EncodeChannelSettings(values);
  return WriteFileAtomically(ChannelSettingsPathForSave(appFolder, editedChannelNumber, model),
                             bytes);
}

int LoadChannelSettings(ChannelConfig& channel, int channelNumber, int model,
                        const std::filesystem::path& appFolder) {
  // The playlists come from the package, never from this file; whatever the
  // editor held before must not leak into the channel being loaded.
  channel.ResetPlaylists();
  CreateFolder(appFolder);
  const auto bytes = ReadFileUpTo(ChannelSettingsPathForLoad(appFolder, channelNumber, model),
                                  kChannelSettingsReadLimit);
  if (!bytes || bytes->size() != kChannelSettingsFileSize) {
    channel.ResetSettings();
    return 0;
  }
  DecodeChannelSettings(std::span<const std::uint8_t, kChannelSettingsFileSize>(
                            bytes->data(), kChannelSettingsFileSize),
                        channel);
  return 1;
}

}  // namespace corvane
