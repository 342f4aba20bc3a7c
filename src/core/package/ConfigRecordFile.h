#pragma once
// The device configuration record ("config.dat") of a media package: the
// header, then both channels' settings and playlists, then a CRC-16 over
// everything before it. Little-endian throughout.
//
// The player reads every entry as a 9-byte "hh:mm:ss" label and a file name;
// the tool keeps the two apart too (MediaEntry), so a record read and written
// again gives the same bytes.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "channel/ChannelConfig.h"
#include "common/ByteStream.h"
#include "common/TraceLog.h"
#include "package/DeviceConfigRecord.h"

namespace corvane {

inline constexpr std::size_t kConfigHeaderSize = 112;
// Two channels with no entries.
inline constexpr std::size_t kEmptyConfigRecordSize = 772;
// The player reads no more entries than this from one list.
inline constexpr std::size_t kMaxConfigListEntries = 1000;
// The stored length byte counts the terminating NUL, so 254 characters fit.
inline constexpr std::size_t kMaxConfigNameLength = 254;
// Model numbers above this do not fit the player's one-byte model.
inline constexpr std::uint16_t kMaxConfigFileVersion = 255;

// Writes the whole record and its checksum. Header fields are written as held,
// so those the tool does not own go back as the last opened package had them.
//
// Entries are written within the field sizes: the label's first 8
// characters, NUL-filled when it is shorter; the file name cut at an
// embedded NUL and to kMaxConfigNameLength characters. A scheduled entry
// without a start time or schedule word (arrays out of step) gets 0.
// False when the sink took fewer bytes than offered or memory ran out.
bool WriteConfigRecord(ByteSink& sink, const DeviceConfigRecord& header,
                       const ChannelConfig& channel1, const ChannelConfig& channel2) noexcept;

// Writes the record in place of the file; false, with any earlier file as it
// was, when the file cannot be created or a write fails.
bool WriteConfigRecordFile(const std::filesystem::path& path, const DeviceConfigRecord& header,
                           const ChannelConfig& channel1, const ChannelConfig& channel2) noexcept;

// Reads a record, printing the player's diagnostic lines to trace; `name` is
// what the "Loading Config:" line shows. True when the record is valid: the
// model number fits, the stored checksum matches, no music or message list
// claims more than kMaxConfigListEntries entries. Any label the field holds
// is taken (up to its first NUL). A scheduled list claiming more is read as
// its first kMaxConfigListEntries.
//
// Only a valid record is stored into header, channel1 and channel2, replacing
// every field and playlist; after an invalid read all three are exactly as
// they were. Reading stops at the first short read (the record is then not
// valid) and never allocates more than the entries actually present.
//
// File names are reported as stored; the caller screens them with
// IsPlainFileName (common/FileNames.h) before using them as paths.
bool ReadConfigRecord(ByteSource& source, std::string_view name, DeviceConfigRecord& header,
                      ChannelConfig& channel1, ChannelConfig& channel2,
                      const TraceLog& trace = TraceLog()) noexcept;

bool ReadConfigRecord(std::span<const std::uint8_t> bytes, std::string_view name,
                      DeviceConfigRecord& header, ChannelConfig& channel1, ChannelConfig& channel2,
                      const TraceLog& trace = TraceLog()) noexcept;

// False, with the records untouched, also when the file cannot be opened.
bool ReadConfigRecordFile(const std::filesystem::path& path, DeviceConfigRecord& header,
                          ChannelConfig& channel1, ChannelConfig& channel2,
                          const TraceLog& trace = TraceLog()) noexcept;

}  // namespace corvane
