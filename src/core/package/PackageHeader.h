#pragma once
// The 256-byte header that opens a media package: for which device and
// provider it is meant, how many members follow, and the audio settings it
// was made with. Stored enciphered; these are its plain fields.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "audio/AudioSettings.h"
#include "common/FixedText.h"
#include "package/KeyText.h"

namespace corvane {

inline constexpr std::size_t kPackageHeaderSize = 256;
inline constexpr std::size_t kEntryHeaderSize = 256;
inline constexpr std::size_t kEntryNameSize = 252;
inline constexpr char kAudioSettingsMarker = 'Z';

struct PackageHeader {
  std::uint64_t Key = 0;                 // the device ID's value
  FixedText<17> ProviderKey{kAllZeroKey};
  std::uint32_t MemberCount = 0;
  std::int32_t Model = 0;
  FixedText<9> Date;                     // "%04d%02d%02d"
  std::uint8_t Unlock = 0;
  char Marker = kAudioSettingsMarker;    // the audio settings below are present
  AudioSettings Audio;

  bool HasAudioSettings() const { return Marker == kAudioSettingsMarker; }
  bool operator==(const PackageHeader&) const = default;
};

// The plain 256 bytes with the header checksum in bytes 254-255.
std::array<std::uint8_t, kPackageHeaderSize> EncodePackageHeader(const PackageHeader& header);
// Nothing when the checksum over bytes 0-253 does not match bytes 254-255.
std::optional<PackageHeader> DecodePackageHeader(
    const std::array<std::uint8_t, kPackageHeaderSize>& plain);

struct EntryHeader {
  std::uint32_t Length = 0;
  std::string Name;  // at most 252 characters
};
std::array<std::uint8_t, kEntryHeaderSize> EncodeEntryHeader(std::uint32_t length,
                                                             std::string_view name);
EntryHeader DecodeEntryHeader(const std::array<std::uint8_t, kEntryHeaderSize>& plain);

// The device key a package's file name carries: the text after the last "_"
// of the name without its extension. Nothing when the name has no "_" or that
// text is longer than a device ID's 16 digits.
std::optional<std::uint64_t> PackageKeyFromFileName(const std::string& fileName);

}  // namespace corvane
