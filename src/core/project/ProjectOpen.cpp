#include <cinttypes>
#include <cstdio>

#include "audio/AudioSettings.h"
#include "channel/ChannelConfig.h"
#include "channel/ChannelSettingsFile.h"
#include "common/FileNames.h"
#include "package/ConfigRecordFile.h"
#include "package/KeyText.h"
#include "package/MediaPackage.h"
#include "package/PackageCipher.h"
#include "package/PackageHeader.h"
#include "package/SecuritySettingsFile.h"
#include "project/ProjectFiles.h"

namespace corvane {
namespace {


constexpr const char* kPreviouslyLockedText =
    "\nThis file was locked with a Service Provider Key  "
    "\nor Device Number, which is not compatible with the "
    "\ncurrent operation mode. "
    "\n\nImported file has been changed to unlocked to "
    "\nsupport the current mode. ";

void ResetChannels(SessionState& session) {
  for (ChannelConfig* channel : {&session.Channel1, &session.Channel2}) {
    channel->ResetSettings();
    channel->ResetPlaylists();
  }
}

// Every playlist line must name a file inside the temporary folder.
bool NamesStayInside(const ChannelConfig& channel) {
  for (const auto* list :
       {&channel.Music.entries, &channel.Messages.entries, &channel.Scheduled.entries}) {
    for (const MediaEntry& entry : *list) {
      if (!IsPlainFileName(entry.FileName)) return false;
    }
  }
  return true;
}

std::string DeviceIdText(std::uint64_t key) {
  char text[20];
  std::snprintf(text, sizeof text, "%016" PRIX64, key);
  return text;
}

}  // namespace

PackageStatus OpenPackage(ProjectContext& context, Progress& progress) {
  SessionState& session = context.session;
  SecuritySettings& security = session.Security;
  const auto chosen =
      context.op.ChooseFileToOpen(FileDialogRequest{kPackageFilter, ".ipc", ".ipc", false});
  if (!chosen) return PackageStatus::UserCancelled;

  session.ClearTempFolder();
  ResetChannels(session);

  const auto key = PackageKeyFromFileName(chosen->filename().string());
  if (!key) return PackageStatus::InvalidFilename;
  bool listed = false;
  for (const DeviceEntry& device : security.Devices) {
    listed = listed || HexKeyFromText(device.Id) == *key;
  }
  if (!listed) return PackageStatus::InvalidDeviceId;

  PackageReadOptions options;
  options.AssignedProviderKey = security.AssignedProviderKey;
  options.DeviceKey = *key;
  PackageReadResult read;
  const PackageStatus status =
      ReadPackage(*chosen, session.Folders.TempFolder, options, read, progress, context.trace);
  if (status != PackageStatus::Ok) return status;
  security.UnlockDevice = read.Header.Unlock != 0;
  if (read.Header.HasAudioSettings()) ApplyAudioSettings(session.Audio, read.Header.Audio);

  if (!ReadConfigRecordFile(session.Folders.TempFolder + "config.dat", session.ConfigRecord,
                            session.Channel1, session.Channel2, context.trace) ||
      !NamesStayInside(session.Channel1) || !NamesStayInside(session.Channel2)) {
    session.ClearTempFolder();
    security.DeviceId = kAllZeroKey;
    security.DeviceDescription = kAllDevicesDescription;
    security.TimeZone.clear();
    return PackageStatus::ConfigurationFileInvalid;
  }

  security.StaleDate = StaleDateFromWord(session.ConfigRecord.stale_date);
  security.TimeZone = session.ConfigRecord.time_zone.Str();
  security.DeviceId = DeviceIdText(*key);
  security.ProviderKey = read.Header.ProviderKey.Str();
  for (const DeviceEntry& device : security.Devices) {
    if (device.Id != security.DeviceId) continue;
    security.DeviceDescription = device.Description;
    security.TimeZone = device.TimeZone;
    break;
  }
  return PackageStatus::Ok;
}

bool RunOpenFlow(ProjectContext& context, PackageProgressDialog& dialog) {
  SessionState& session = context.session;
  SecuritySettings& security = session.Security;
  HomeState& home = context.home;
  if ((home.Channel1Modified || home.Channel2Modified) && !home.FileSaved &&
      context.op.Ask("Import File", "Abandon current changes?", OperatorButtons::YesNo,
                      OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return false;
  }

  int code = dialog.Run(
      "Opening File ...", [&](Progress& progress) { return OpenPackage(context, progress); });
  const int cancelled = static_cast<int>(PackageStatus::UserCancelled);
  if (code != 0 && code != cancelled) {
    session.ClearTempFolder();
    ResetChannels(session);
  }

  if (code == 0 && !security.MohMode) {
    if (session.Channel1.Scheduled.EntryCount() > 0 || session.Channel2.Scheduled.EntryCount() > 0) {
      context.op.Tell("Incompatible File", kIncompatibleText, OperatorIcon::Stop);
      code = static_cast<int>(PackageStatus::UpdateFileNotValid);
    } else if (security.ProviderKey != kAllZeroKey || security.DeviceId != kAllZeroKey) {
      context.op.Tell("Previously Locked File", kPreviouslyLockedText, OperatorIcon::Information);
    }
    security.ProviderKey = kAllZeroKey;
    security.DeviceId = kAllZeroKey;
    security.StaleDate = SecurityDateTime{};
    security.LastConfirmedDate = SecurityDateTime{};
  }

  if (code == 0) {
    home.CurrentModel = session.ConfigRecord.FileVersion & 0xFF;
    home.ClearChangeFlags();
    home.DayChangeWarned = false;
    session.ApplyModel(home.CurrentModel, false);
  } else if (code != cancelled) {
    session.ClearTempFolder();
    const auto& folder = session.Folders.ApplicationFolder;
    LoadChannelSettings(session.Channel1, 1, home.CurrentModel, folder);
    LoadChannelSettings(session.Channel2, 2, home.CurrentModel, folder);
    session.ApplyModel(home.CurrentModel, true);
    LoadSecuritySettings(security, folder);
  }
  DeleteTemporaryRecordFiles(session);
  return code == 0;
}

}  // namespace corvane
