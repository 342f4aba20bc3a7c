#include "project/HomeScreen.h"

#include "channel/ChannelSettingsFile.h"
#include "common/CalendarDate.h"
#include "package/SecuritySettingsFile.h"
#include "session/DeviceModel.h"

namespace corvane {
namespace {

bool IsModel(std::int32_t model, DeviceModel which) { return model == ModelNumber(which); }

const char* Modified(bool modified) { return modified ? "Modified" : "Not Modified"; }

// Both channels as their settings files give them for the model.
void ReloadChannels(SessionState& session, std::int32_t model) {
  const auto& folder = session.Folders.ApplicationFolder;
  LoadChannelSettings(session.Channel1, 1, model, folder);
  LoadChannelSettings(session.Channel2, 2, model, folder);
}


}  // namespace

std::vector<std::string> DeviceEntries() {
  std::vector<std::string> names;
  for (const DeviceModel model : {DeviceModel::TonvexSU, DeviceModel::TonvexOne, DeviceModel::TonvexMix}) {
    names.emplace_back(ModelName(ModelNumber(model)));
  }
  return names;
}

std::vector<std::string> ConfigureEntries(std::int32_t model, bool mohMode) {
  std::vector<std::string> entries;
  if (IsModel(model, DeviceModel::TonvexMix)) return {kSingleChannelEntry, kSamplingRatesEntry};
  if (mohMode) entries.emplace_back(kMediaSecurityEntry);
  if (IsModel(model, DeviceModel::TonvexOne)) {
    entries.emplace_back(kSingleChannelEntry);
  } else {
    entries.emplace_back(kChannel1Entry);
    entries.emplace_back(kChannel2Entry);
  }
  return entries;
}

std::vector<std::string> FileEntries(std::int32_t model) {
  std::vector<std::string> entries = {kOpenEntry, kSaveEntry};
  if (IsModel(model, DeviceModel::TonvexMix)) entries.emplace_back(kCreateProductionEntry);
  if (IsModel(model, DeviceModel::TonvexOne) || IsModel(model, DeviceModel::TonvexMix)) {
    entries.emplace_back(kPreviewEntry);
    entries.emplace_back(kStopPreviewEntry);
  }
  entries.emplace_back(kExitEntry);
  return entries;
}

HomeSummary SummaryOf(const SessionState& session, const HomeState& home) {
  const ModelProperties& model = PropertiesOf(home.CurrentModel);
  HomeSummary s;
  s.showChannel2 = model.HasSecondChannel != 0;
  s.channel1Label = s.showChannel2 ? "Channel 1:" : "Media/Messages:";
  s.showSecurity = model.IsPlayerDevice != 0 && session.Security.MohMode;
  s.providerKey = session.Security.ProviderKey;
  s.deviceId = session.Security.DeviceId;
  s.description = session.Security.DeviceDescription;
  s.mediaSecurity = Modified(home.SecurityModified);
  s.channel1 = Modified(home.Channel1Modified);
  s.channel2 = Modified(home.Channel2Modified);
  s.fileStatus = home.FileSaved ? "Saved" : "Not Saved";
  return s;
}

void StartHomeScreen(ProjectContext& context) {
  context.home.CurrentModel = ModelNumber(DeviceModel::TonvexOne);
  context.session.ApplyModel(context.home.CurrentModel, true);
}

bool PickDevice(ProjectContext& context, std::string_view modelName) {
  const auto picked = ModelFromName(modelName);
  if (!picked) return true;
  const std::int32_t model = ModelNumber(*picked);
  HomeState& home = context.home;
  SessionState& session = context.session;
  if (model != home.CurrentModel) {
    if ((home.SecurityModified || home.Channel1Modified || home.Channel2Modified) &&
        !AbandonChanges(context.op, "Changing Device")) {
      return false;
    }
    session.ClearTempFolder();
    ReloadChannels(session, model);
    LoadSecuritySettings(session.Security, session.Folders.ApplicationFolder);
    home.ClearChangeFlags();
    home.DayChangeWarned = false;
    context.player.Stop();
    home.CurrentModel = model;
  }
  session.ApplyModel(home.CurrentModel, true);
  return true;
}

void RunConfigureEntry(ProjectContext& context, std::string_view entry,
                       const ConfigureScreens& screens) {
  HomeState& home = context.home;
  SessionState& session = context.session;
  const std::string deviceBefore = session.Security.DeviceId;
  if (entry == kMediaSecurityEntry) {
    if (screens.mediaSecurity() == 0) {
      home.SecurityModified = true;
      home.FileSaved = false;
      home.DayChangeWarned = false;
    }
  } else if (entry == kSamplingRatesEntry) {
    context.player.Stop();
    screens.samplingRates(session.Channel1.HoldsAnyEntry());
    // Whatever the screen did, conversions go back to the project's rate.
    session.Audio.SetConversionRate(session.Audio.ProjectRateText.View(), session.Audio.ProjectRate);
  } else if (entry == kChannel1Entry || entry == kSingleChannelEntry) {
    if (screens.channelEditor(entry == kChannel1Entry ? 1 : 0) == 0) {
      home.Channel1Modified = true;
      home.FileSaved = false;
    }
  } else if (entry == kChannel2Entry) {
    if (screens.channelEditor(2) == 0) {
      home.Channel2Modified = true;
      home.FileSaved = false;
    }
  }
  if (entry == kMediaSecurityEntry && (home.Channel1Modified || home.Channel2Modified) &&
      session.Security.DeviceId != deviceBefore &&
      context.op.Ask("Device Number Changed", "Use previously configured channel settings?",
                     OperatorButtons::YesNo, OperatorIcon::Information) == OperatorAnswer::No) {
    session.ClearTempFolder();
    ReloadChannels(session, home.CurrentModel);
    session.ApplyModel(home.CurrentModel, true);
    home.Channel1Modified = false;
    home.Channel2Modified = false;
  }
}

void CheckDayChange(ProjectContext& context) {
  const SecurityDateTime& confirmed = context.session.Security.LastConfirmedDate;
  if (confirmed == kNeverDate || context.home.DayChangeWarned) return;
  if (IsSameDay(context.clock.Now(), confirmed.Value)) return;
  context.home.DayChangeWarned = true;
  context.op.Tell("Day Changed", "Confirm stale date setting is correct.",
                  OperatorIcon::Exclamation);
}

}  // namespace corvane
