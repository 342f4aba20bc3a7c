#pragma once
// The home screen's rules without its window: what its Device, Configure and
// File lists offer for a model, the summary it shows, and what picking an
// entry does to the project and the change flags. The screens it opens are
// reached through the functions it is given.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/ProjectContext.h"

namespace corvane {

inline constexpr const char* kMediaSecurityEntry = "Media Security";
inline constexpr const char* kChannel1Entry = "Channel 1 Media/Messages";
inline constexpr const char* kChannel2Entry = "Channel 2 Media/Messages";
inline constexpr const char* kSingleChannelEntry = "Media/Messages";
inline constexpr const char* kSamplingRatesEntry = "Sampling Rates / Output Format";
inline constexpr const char* kOpenEntry = "Open Existing File";
inline constexpr const char* kSaveEntry = "Save Current Content to File";
inline constexpr const char* kCreateProductionEntry = "Create Audio Production";
inline constexpr const char* kPreviewEntry = "Preview Audio Production";
inline constexpr const char* kStopPreviewEntry = "Stop Playing Audio Production";
inline constexpr const char* kExitEntry = "Exit Application";

// The models the Device list offers, in its order; the fourth model is
// reached only by opening a package made for it.
std::vector<std::string> DeviceEntries();
std::vector<std::string> ConfigureEntries(std::int32_t model, bool mohMode);
std::vector<std::string> FileEntries(std::int32_t model);

// The summary beside the lists.
struct HomeSummary {
  std::string channel1Label;  // "Channel 1:" or "Media/Messages:"
  bool showChannel2 = false;
  bool showSecurity = false;  // provider key, device ID, description, media security
  std::string providerKey;
  std::string deviceId;
  std::string description;
  std::string mediaSecurity;  // "Modified" / "Not Modified"
  std::string channel1;
  std::string channel2;
  std::string fileStatus;  // "Saved" / "Not Saved"
};
HomeSummary SummaryOf(const SessionState& session, const HomeState& home);

// The home screen opening: the start-up model with its audio settings.
void StartHomeScreen(ProjectContext& context);

// A model picked in the Device list. With unsaved changes the operator is
// asked first; false when they kept the current model (the list shows it
// again). Picking the current model reloads its audio settings only.
bool PickDevice(ProjectContext& context, std::string_view modelName);

// The screens the Configure list opens; each returns its result, 0 when
// the operator confirmed.
struct ConfigureScreens {
  std::function<int()> mediaSecurity;
  std::function<void(bool channel1HoldsEntries)> samplingRates;
  std::function<int(int channelNumber)> channelEditor;
};
// A Configure entry picked; the change flags follow the screen's result.
void RunConfigureEntry(ProjectContext& context, std::string_view entry,
                       const ConfigureScreens& screens);

// The day-change check of the home screen's timer: once per reset, a
// warning when the day moved past the stale date's last confirmation.
void CheckDayChange(ProjectContext& context);

}  // namespace corvane
