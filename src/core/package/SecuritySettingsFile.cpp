#include "package/SecuritySettingsFile.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "common/SettingsFile.h"
#include "operator/Operator.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

constexpr std::uint8_t kEndMarkerFirst = 0xAA;
constexpr std::uint8_t kEndMarkerSecond = 0x55;

constexpr const char* kFileFilter = "Corvane Setting File (*.isf)|*.isf|All Files (*.*)|*.*||";
constexpr const char* kInitialName = "TMV_settings";
constexpr const char* kExtension = ".isf";

std::uint8_t Inverted(std::uint8_t byte) { return static_cast<std::uint8_t>(~byte); }

bool IsEndMarker(std::span<const std::uint8_t> bytes) {
  return bytes.size() == 2 && bytes[0] == kEndMarkerFirst && bytes[1] == kEndMarkerSecond;
}

// Walks a file image; a take that asks for more than is left gets nothing and
// leaves the position where it was.
class ImageReader {
 public:
  explicit ImageReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::span<const std::uint8_t>> Take(std::size_t count) {
    std::optional<std::span<const std::uint8_t>> taken = Peek(count);
    if (taken) position_ += count;
    return taken;
  }
  std::optional<std::span<const std::uint8_t>> Peek(std::size_t count) const {
    if (bytes_.size() - position_ < count) return std::nullopt;
    return bytes_.subspan(position_, count);
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

// The text of a stored record: inverted back, up to the first zero byte.
std::string RecordText(std::span<const std::uint8_t> record) {
  std::string text;
  for (const std::uint8_t stored : record) {
    const std::uint8_t byte = Inverted(stored);
    if (byte == 0) break;
    text.push_back(static_cast<char>(byte));
  }
  return text;
}

template <std::size_t Width>
std::array<std::uint8_t, Width> StoredRecord(std::string_view text) {
  std::array<std::uint8_t, Width> record{};
  std::copy_n(text.begin(), std::min(text.size(), Width), record.begin());
  for (std::uint8_t& byte : record) byte = Inverted(byte);
  return record;
}

template <std::size_t Width>
void AppendRecord(std::vector<std::uint8_t>& out, std::string_view text) {
  const std::array<std::uint8_t, Width> record = StoredRecord<Width>(text);
  out.insert(out.end(), record.begin(), record.end());
}

std::uint8_t StoredFlag(bool flag) { return Inverted(static_cast<std::uint8_t>(flag ? 1 : 0)); }
bool FlagOf(std::uint8_t stored) { return Inverted(stored) != 0; }

// The screens rely on entry 0 being the all-devices entry.
void PutAllDevicesEntryFirst(SecuritySettings& settings) {
  auto& devices = settings.Devices;
  if (!devices.empty() && devices.front().Id == kAllZeroKey) {
    devices.front().Description = kAllDevicesDescription;
    return;
  }
  devices.insert(devices.begin(), {kAllZeroKey, kAllDevicesDescription, ""});
  if (devices.size() > kMaxDeviceEntries) devices.pop_back();
}

// Reads no more than the file holds (and never past the cap), so a small file
// costs a small buffer.
std::optional<std::vector<std::uint8_t>> ReadSettingsImage(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  std::size_t limit = kSecuritySettingsMaxBytes;
  if (!error && size < limit) limit = static_cast<std::size_t>(size);
  return ReadFileUpTo(path, limit);
}

void DeleteDamagedFile(const fs::path& path) {
  std::error_code error;
  // A folder of that name is not ours to remove.
  if (fs::is_directory(path, error)) return;
  fs::remove(path, error);
}

FileDialogRequest SettingsFileDialog(bool overwritePrompt) {
  FileDialogRequest request;
  request.filter = kFileFilter;
  request.initialName = kInitialName;
  request.defaultExtension = kExtension;
  request.overwritePrompt = overwritePrompt;
  return request;
}

}  // namespace

fs::path SecuritySettingsPath(const fs::path& appFolder) {
  return appFolder / kSecuritySettingsFileName;
}

std::vector<std::uint8_t> EncodeSecuritySettings(const SecuritySettings& settings) {
  const std::size_t entries = std::min(settings.Devices.size(), kMaxDeviceEntries);
  std::vector<std::uint8_t> out;
  out.reserve(kCredentialsSize + entries * kDeviceEntrySize + kSecuritySettingsTailSize);
  AppendRecord<kKeyRecordSize>(out, settings.UserName);
  AppendRecord<kKeyRecordSize>(out, settings.Password);
  AppendRecord<kKeyRecordSize>(out, settings.AssignedProviderKey);

  std::size_t written = 0;
  for (const DeviceEntry& device : settings.Devices) {
    if (written == kMaxDeviceEntries) break;
    const auto id = StoredRecord<kKeyRecordSize>(device.Id);
    if (IsEndMarker(std::span(id).first(2))) continue;
    out.insert(out.end(), id.begin(), id.end());
    AppendRecord<kDescriptionRecordSize>(out, device.Description);
    AppendRecord<kZoneRecordSize>(out, device.TimeZone);
    ++written;
  }

  out.push_back(kEndMarkerFirst);
  out.push_back(kEndMarkerSecond);
  out.push_back(StoredFlag(settings.MohMode));
  out.push_back(StoredFlag(settings.RestoreOffered));
  return out;
}

bool DecodeSecuritySettings(std::span<const std::uint8_t> bytes, SecuritySettings& settings) {
  // The defaults are also the reset values of everything the file does not carry.
  settings = SecuritySettings{};
  ImageReader in(bytes);
  const auto userName = in.Take(kKeyRecordSize);
  const auto password = in.Take(kKeyRecordSize);
  const auto assignedKey = in.Take(kKeyRecordSize);
  if (!userName || !password || !assignedKey) return false;

  SecuritySettings loaded;
  loaded.UserName = RecordText(*userName);
  loaded.Password = RecordText(*password);
  loaded.AssignedProviderKey = RecordText(*assignedKey);
  loaded.Devices.clear();

  while (loaded.Devices.size() < kMaxDeviceEntries) {
    const auto marker = in.Peek(2);
    if (marker && IsEndMarker(*marker)) {
      in.Take(2);
      if (const auto flags = in.Take(2)) {
        loaded.MohMode = FlagOf((*flags)[0]);
        loaded.RestoreOffered = FlagOf((*flags)[1]);
      }
      break;
    }
    const auto entry = in.Take(kDeviceEntrySize);
    if (!entry) break;
    loaded.Devices.push_back({RecordText(entry->first(kKeyRecordSize)),
                              RecordText(entry->subspan(kKeyRecordSize, kDescriptionRecordSize)),
                              RecordText(entry->last(kZoneRecordSize))});
  }

  PutAllDevicesEntryFirst(loaded);
  settings = std::move(loaded);
  return true;
}

bool LoadSecuritySettings(SecuritySettings& settings, const fs::path& appFolder) {
  std::error_code ignored;
  fs::create_directories(appFolder, ignored);
  const fs::path path = SecuritySettingsPath(appFolder);
  const std::vector<std::uint8_t> image =
      ReadSettingsImage(path).value_or(std::vector<std::uint8_t>{});
  if (DecodeSecuritySettings(image, settings)) return true;
  DeleteDamagedFile(path);
  return false;
}

bool SaveSecuritySettings(SecuritySettings& settings, const fs::path& appFolder,
                          bool clearRestoreOffer) {
  if (clearRestoreOffer) settings.RestoreOffered = false;
  return WriteFileAtomically(SecuritySettingsPath(appFolder), EncodeSecuritySettings(settings));
}

bool BackUpSecuritySettings(Operator& op, const fs::path& appFolder) {
  const std::optional<fs::path> target = op.ChooseFileToSave(SettingsFileDialog(true));
  if (!target) return false;
  // Copied through a temporary file beside the target, so a failed copy never
  // leaves a half backup over an older one.
  const auto image = ReadSettingsImage(SecuritySettingsPath(appFolder));
  if (!image || !WriteFileAtomically(*target, *image)) {
    op.Tell("Error", "Unable to back up settings.", OperatorIcon::Stop);
    return false;
  }
  op.Tell("Success", "Settings successfully backed up", OperatorIcon::Information);
  return true;
}

bool RestoreSecuritySettings(Operator& op, SecuritySettings& settings, const fs::path& appFolder) {
  for (;;) {
    const std::optional<fs::path> chosen = op.ChooseFileToOpen(SettingsFileDialog(false));
    if (!chosen) return false;

    // Checked on a copy: the chosen file is never deleted, and the stored
    // file and the settings stay as they are until it is known to be good.
    const auto image = ReadSettingsImage(*chosen);
    SecuritySettings restored;
    if (!image || !DecodeSecuritySettings(*image, restored)) {
      op.Tell("Error", "File was invalid", OperatorIcon::Stop);
      continue;
    }
    if (!WriteFileAtomically(SecuritySettingsPath(appFolder), *image)) {
      // Not the chosen file's fault, so asking for another would not help.
      op.Tell("Error", "Unable to restore settings.", OperatorIcon::Stop);
      return false;
    }
    // The same bytes the stored file now holds, so this is what loading it gives.
    settings = std::move(restored);
    op.Tell("Success", "Settings successfully restored", OperatorIcon::Information);
    settings.MohMode = true;
    SaveSecuritySettings(settings, appFolder, true);
    return true;
  }
}

}  // namespace corvane
