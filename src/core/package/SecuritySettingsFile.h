#pragma once
// The security settings file "TMV_settings.isf" in the application folder: the
// login credentials, the assigned provider key, the operator's device list and
// two flags. No header, no checksum; in order:
//
//   user name 17, password 17, assigned provider key 17,
//   per device: ID 17, description 25, time zone name 40,
//   end marker AA 55, reseller (MOH) mode 1, restore offered 1.
//
// Every text is a fixed-width record: the text, zero fill to the width, then
// every byte of the record inverted (the fill is stored as FF). A text as wide
// as its record has no terminator. The end marker is stored as it is; each
// flag byte is the bitwise NOT of 0 or 1.
//
// What the reader decides about damaged or hostile files:
// - Fewer than 51 bytes (the three credential records are not all there): not
//   valid. A half-read password or key would be worse than the defaults.
// - The file is read up to kSecuritySettingsMaxBytes and at most
//   kMaxDeviceEntries entries are taken, so a huge file cannot exhaust memory.
// - A device list that ends without the end marker (a cut file, or more
//   entries than the cap) keeps the entries read completely; the flags then
//   cannot be found and take their defaults (MOH mode 0, restore offered 1).
// - A flag is set when its NOT is nonzero: the writer only writes FF and FE,
//   any other byte counts as set unless it is FF.
// - Entry 0 is always the all-devices entry: when the file's first entry has
//   another ID (or there is none) it is inserted before the file's entries
//   (dropping the last one if the list would pass the cap); when the ID is the
//   all-devices ID its description is put right and its zone kept.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "package/SecuritySettings.h"

namespace corvane {

class Operator;

inline constexpr const char* kSecuritySettingsFileName = "TMV_settings.isf";

// Record widths. User name, password, keys and device IDs share one width.
inline constexpr std::size_t kKeyRecordSize = 17;
inline constexpr std::size_t kDescriptionRecordSize = 25;
inline constexpr std::size_t kZoneRecordSize = 40;
inline constexpr std::size_t kDeviceEntrySize =
    kKeyRecordSize + kDescriptionRecordSize + kZoneRecordSize;
inline constexpr std::size_t kCredentialsSize = 3 * kKeyRecordSize;
// End marker and the two flag bytes.
inline constexpr std::size_t kSecuritySettingsTailSize = 4;

// Far more devices than an operator keeps; bounds what a file may make us read.
inline constexpr std::size_t kMaxDeviceEntries = 10000;
inline constexpr std::size_t kSecuritySettingsMaxBytes =
    kCredentialsSize + kDeviceEntrySize * kMaxDeviceEntries + kSecuritySettingsTailSize;

std::filesystem::path SecuritySettingsPath(const std::filesystem::path& appFolder);

// The whole file for these settings. Texts longer than their record are cut
// to it; at most kMaxDeviceEntries entries are written, one per device ID (a
// missing description or zone is written empty). An ID whose stored bytes
// would read as the end marker is left out, since it would end the list for
// the reader and hide every entry after it.
std::vector<std::uint8_t> EncodeSecuritySettings(const SecuritySettings& settings);

// Sets every field from a file image: the fields the file does not carry are
// reset (device selection, time zone, stale and confirmed dates, unlock
// order, provider key). False when the image is not valid, and then the
// settings are the defaults (SecuritySettings{}). Never throws on any bytes.
bool DecodeSecuritySettings(std::span<const std::uint8_t> bytes, SecuritySettings& settings);

// Creates the application folder when missing and reads the file. When it is
// missing or not valid the settings are the defaults, a damaged file is
// deleted, and the result is false.
bool LoadSecuritySettings(SecuritySettings& settings, const std::filesystem::path& appFolder);

// Clears the restore offer on the settings first when asked, then replaces the
// file atomically (an interrupted write leaves the previous file whole).
// False when the write failed; the operator is not told.
bool SaveSecuritySettings(SecuritySettings& settings, const std::filesystem::path& appFolder,
                          bool clearRestoreOffer);

// Asks where to save a copy of the settings file and writes it there,
// replacing an existing file. True when the copy was made; a cancelled dialog
// does nothing, a failed copy is reported to the operator.
bool BackUpSecuritySettings(Operator& op, const std::filesystem::path& appFolder);

// Asks for a backed-up file until the operator picks a valid one or cancels.
// The chosen file is checked before anything is touched: an invalid one
// leaves the stored file and the settings as they were. A valid one replaces
// the stored file and the settings, turns MOH mode on and clears the restore
// offer. True when the settings were restored.
bool RestoreSecuritySettings(Operator& op, SecuritySettings& settings,
                             const std::filesystem::path& appFolder);

}  // namespace corvane
