#pragma once
// The media security screen's rules without its window. The screen edits a
// draft (what its boxes hold); adding, deleting and updating devices, the
// provider key and the checks of OK work on the draft, and the settings
// change only when every check has passed. Each refusal and question goes
// through the operator seam with the texts the operator knows.

#include <optional>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "operator/Operator.h"
#include "package/SecuritySettings.h"

namespace corvane {

// What the model offers on this screen.
struct SecurityModel {
  bool hasStaleDate = true;
  bool exactStaleDate = true;  // else the date is "approximate"
  bool hasTimeZone = true;
};

// What the screen's boxes hold.
struct SecurityDraft {
  std::vector<std::string> keys;   // the key box's items: the assigned key, then none
  std::string keyText;             // what the key box shows
  std::vector<DeviceEntry> devices;
  std::string idText;              // what the ID box shows
  std::string descriptionText;
  std::string zoneText;            // the zone list's selection
  bool staleEnabled = false;
  LocalDateTime staleDay;          // the calendar's day
  bool unlock = false;
  bool operator==(const SecurityDraft&) const = default;
};

inline constexpr const char* kDefaultTimeZone = "America/Edmonton";

// The draft the screen opens with.
SecurityDraft DraftOf(const SecuritySettings& settings, const LocalDateTime& now);
// Whether a provider key is assigned to this copy of the tool.
bool KeyAssigned(const SecurityDraft& draft);
// Shows the device at index in the ID, description and zone boxes.
void SelectDevice(SecurityDraft& draft, std::size_t index);
// The zone the list shows for a device's zone: itself, or the default.
std::string ZoneShown(const std::string& zone);
// A typed device ID as the list holds it: trimmed, cut to 16, left-padded
// with "0", upper case.
std::string DeviceIdOf(const std::string& typed);

// The question when the operator picks the provider key to use.
const std::string& UseProviderKeyQuestion();
// "Assign Key": the box's text becomes the assigned key once the operator
// agrees. False when refused or declined.
bool AssignKey(SecurityDraft& draft, Operator& op);
bool AddDevice(SecurityDraft& draft, const SecurityModel& model, Operator& op);
bool DeleteDevice(SecurityDraft& draft, const SecurityModel& model, Operator& op);
bool UpdateDevice(SecurityDraft& draft, const SecurityModel& model, Operator& op);

// The summary OK shows before it stores.
std::string SecuritySummary(const SecurityDraft& draft, const SecurityModel& model);

// OK's checks in order and, when they pass, the draft stored into the
// settings with the current time as the last confirmation. A backup runs
// them without the two questions and stores no unlock order. False when a
// check failed or the operator declined; the settings are then untouched.
enum class Confirmation { Asked, ForBackup };
bool ConfirmSecurity(const SecurityDraft& draft, const SecurityModel& model,
                     const LocalDateTime& now, Confirmation confirmation, Operator& op,
                     SecuritySettings& settings);

}  // namespace corvane
