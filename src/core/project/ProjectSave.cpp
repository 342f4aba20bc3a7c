#include <algorithm>
#include <array>
#include <cstdio>
#include <system_error>

#include "channel/ChannelConfig.h"
#include "common/CalendarDate.h"
#include "common/FileNames.h"
#include "package/ConfigRecordFile.h"
#include "package/KeyText.h"
#include "package/MediaPackage.h"
#include "package/PackageHeader.h"
#include "project/ProductionExport.h"
#include "project/ProjectFiles.h"
#include "session/DeviceModel.h"

namespace corvane {
namespace {

bool FolderHasEntry(const std::filesystem::path& folder, const std::string& name) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(folder / name, ignored));
}

bool AskToContinue(Operator& op, const std::string& text) {
  return op.Ask("Continue saving file?", text, OperatorButtons::YesNo, OperatorIcon::Exclamation) ==
         OperatorAnswer::Yes;
}

// Asks about one channel; false when the operator stopped the save.
bool ConfirmChannel(Operator& op, const ChannelConfig& channel, bool modified,
                    const std::string& emptyText, const std::string& unmodifiedText) {
  if (modified) return channel.HoldsAnyEntry() || AskToContinue(op, emptyText);
  return AskToContinue(op, unmodifiedText);
}

}  // namespace

std::vector<std::filesystem::path> CollectPackageMembers(const SessionState& session,
                                                         std::int32_t model) {
  std::vector<std::filesystem::path> members;
  const bool defaultMusicTravels = model == ModelNumber(DeviceModel::TonvexOne) ||
                                   model == ModelNumber(DeviceModel::TonvexMix);
  auto add = [&](const MediaEntry& entry) {
    const std::string& name = entry.FileName;
    // Names come from playlists that an opened package may have supplied.
    if (!IsPlainFileName(name)) return;
    const std::filesystem::path path = session.Folders.TempFolder + name;
    if (std::find(members.begin(), members.end(), path) != members.end()) return;
    if (!defaultMusicTravels && path.string().find("default_music") != std::string::npos) return;
    members.push_back(path);
  };
  for (const ChannelConfig* channel : {&session.Channel1, &session.Channel2}) {
    for (const auto* list : {&channel->Music.entries, &channel->Messages.entries,
                             &channel->Scheduled.entries}) {
      for (const MediaEntry& entry : *list) add(entry);
    }
  }
  members.push_back(session.Folders.TempFolder + "config.dat");
  if (model == ModelNumber(DeviceModel::TonvexOne)) {
    members.push_back(session.Folders.TempFolder + "output.wav");
  }
  return members;
}

std::string PackageFileName(const std::string& chosenName, std::int32_t model,
                            const LocalDateTime& today, const std::string& providerKey,
                            bool unlock, const std::string& deviceId) {
  std::string base = chosenName;
  if (const auto dot = base.rfind('.'); dot != std::string::npos) {
    base.resize(dot);
    for (std::int32_t tagModel = 0; tagModel <= 4; ++tagModel) {
      const auto at = base.find(ModelTag(tagModel));
      if (at != std::string::npos) {
        base.resize(at);
        break;
      }
    }
  }
  char date[32];
  std::snprintf(date, sizeof date, "%04d%02d%02d", today.Year, today.Month, today.Day);
  std::string name = base + std::string(ModelTag(model)) + date;
  if (providerKey != kAllZeroKey) name += std::string("_") + (unlock ? "u" : "") + "SPK";
  return name + "_" + deviceId + ".ipc";
}

std::uint32_t StaleDateWord(const SecurityDateTime& date) {
  const LocalDateTime& d = date.Value;
  if (!date.Valid || !IsRealDate(d.Year, d.Month, d.Day)) return 0xFFFFFFFFu;
  return static_cast<std::uint32_t>(d.Year) * 65536u + static_cast<std::uint32_t>(d.Month) * 256u +
         static_cast<std::uint32_t>(d.Day);
}

std::uint16_t StaleDays(const SecurityDateTime& date, const LocalDateTime& today) {
  // Without a real stale date the count means nothing; 0 is written.
  if (StaleDateWord(date) == 0xFFFFFFFFu || !IsRealDate(today.Year, today.Month, today.Day)) return 0;
  const std::int64_t days =
      DaysFromCivil(date.Value.Year, static_cast<unsigned>(date.Value.Month),
                    static_cast<unsigned>(date.Value.Day)) -
      DaysFromCivil(today.Year, static_cast<unsigned>(today.Month), static_cast<unsigned>(today.Day));
  return static_cast<std::uint16_t>(days);
}

SecurityDateTime StaleDateFromWord(std::uint32_t word) {
  SecurityDateTime date;
  date.Value = {static_cast<int>(word >> 16), static_cast<int>((word >> 8) & 0xFF),
                static_cast<int>(word & 0xFF), 0, 0, 0};
  date.Valid = IsRealDate(date.Value.Year, date.Value.Month, date.Value.Day);
  return date;
}

void DeleteTemporaryRecordFiles(const SessionState& session) {
  std::error_code ignored;
  std::filesystem::remove(session.Folders.TempFolder + "update.bin", ignored);
  std::filesystem::remove(session.Folders.TempFolder + "config.dat", ignored);
}

PackageStatus SavePackageAs(ProjectContext& context, Progress& progress) {
  SessionState& session = context.session;
  const SecuritySettings& security = session.Security;
  FileDialogRequest request{kPackageFilter, "CRV", "", true};
  for (;;) {
    const auto chosen = context.op.ChooseFileToSave(request);
    if (!chosen) return PackageStatus::UserCancelled;

    std::error_code ignored;
    std::filesystem::create_directories(session.Folders.TempFolder, ignored);
    const LocalDateTime today = context.clock.Now();
    DeviceConfigRecord& record = session.ConfigRecord;
    record.stale_date = StaleDateWord(security.StaleDate);
    record.stale_days = StaleDays(security.StaleDate, today);
    record.time_zone.Set(security.TimeZone);
    if (!WriteConfigRecordFile(session.Folders.TempFolder + "config.dat", record, session.Channel1,
                               session.Channel2)) {
      return PackageStatus::ErrorWritingFile;
    }

    PackageContents contents;
    contents.Members = CollectPackageMembers(session, context.home.CurrentModel);
    const std::filesystem::path folder = chosen->parent_path();
    const std::string name =
        PackageFileName(chosen->filename().string(), context.home.CurrentModel, today,
                        security.ProviderKey, security.UnlockDevice, security.DeviceId);
    const std::filesystem::path package = folder / name;
    // The dialog already asked about replacing the file it was given.
    if (package != *chosen && FolderHasEntry(folder, name)) {
      const OperatorAnswer answer =
          context.op.Ask("Confirm Save As", name + " already exists.\nDo you want to replace it?",
                          OperatorButtons::YesNo, OperatorIcon::Exclamation);
      if (answer != OperatorAnswer::Yes) continue;
    }

    contents.DeviceId = security.DeviceId;
    contents.ProviderKey = security.ProviderKey;
    contents.Unlock = security.UnlockDevice;
    contents.Model = session.Audio.Model;
    contents.Audio = AudioSettingsOf(session.Audio);
    contents.Created = today;
    const PackageStatus status = WritePackage(package, contents, progress);
    // The chosen file is replaced by the package, but only once the package
    // is whole: a failed save never costs the operator a file.
    if (status == PackageStatus::Ok && package != *chosen) std::filesystem::remove(*chosen, ignored);
    return status;
  }
}

bool RunSaveFlow(ProjectContext& context, PackageProgressDialog& dialog) {
  SessionState& session = context.session;
  const SecuritySettings& security = session.Security;
  HomeState& home = context.home;
  Operator& op = context.op;

  if (security.UnlockDevice &&
      !AskToContinue(op, "File will reset service provider key and unlock device!")) {
    return false;
  }
  if (security.ProviderKey != kAllZeroKey && security.DeviceId == kAllZeroKey) {
    op.Tell("Invalid Security Settings Combination",
            "Device ID cannot be blank if provider key is selected", OperatorIcon::Stop);
    return false;
  }
  if (!home.SecurityModified && security.MohMode && session.Audio.IsPlayerDevice != 0 &&
      !AskToContinue(op, "Security settings not Modified")) {
    return false;
  }
  const bool twoChannels = session.Audio.HasSecondChannel != 0;
  if (!ConfirmChannel(op, session.Channel1, home.Channel1Modified,
                      twoChannels ? "Channel 1 has No Music/Messages" : "No Music/Messages",
                      twoChannels ? "Channel 1 not Modified" : "Music/Messages not Modified")) {
    return false;
  }
  if (twoChannels && !ConfirmChannel(op, session.Channel2, home.Channel2Modified,
                                     "Channel 2 has No Music/Messages", "Channel 2 not Modified")) {
    return false;
  }
  // A Tonvex-One plays the production mixed here, not its lists.
  if (home.CurrentModel == ModelNumber(DeviceModel::TonvexOne)) MixChannel1(context);
  session.ConfigRecord.FileVersion = static_cast<std::uint16_t>(home.CurrentModel);

  const int code = dialog.Run(
      "Saving File ...", [&](Progress& progress) { return SavePackageAs(context, progress); });
  if (code == 0) home.FileSaved = true;
  DeleteTemporaryRecordFiles(session);
  return code == 0;
}

}  // namespace corvane
