#include "package/SecurityEditing.h"

#include <algorithm>
#include <cctype>

#include "common/Blanks.h"
#include "common/CalendarDate.h"
#include "package/KeyText.h"
#include "package/PackageCipher.h"
#include "package/TimeZones.h"

namespace corvane {
namespace {

constexpr const char* kNoKey = kAllZeroKey;

// Both key questions warn the same way.
const std::string kOnlyForProviders =
    "\nService Provider Keys should ONLY be used by MOH "
    "\nService Providers.  If you are not an MOH Service "
    "\nProvider you should not use this feature as it will "
    "\npermanently lock your device if you lose the key. "
    "\n\nAny locked device would need to return to the factory "
    "\nfor reprogramming and would be subject to a "
    "\nreprogramming fee.  Unless you are a MOH Service "
    "\nProvider press NO below. ";

std::string Trimmed(const std::string& text) { return std::string(WithoutBlanksAround(text)); }

std::optional<std::size_t> IndexOf(const SecurityDraft& draft, const std::string& id) {
  for (std::size_t i = 0; i < draft.devices.size(); ++i) {
    if (draft.devices[i].Id == id) return i;
  }
  return std::nullopt;
}

bool HoldsDescription(const SecurityDraft& draft, const std::string& description) {
  return std::any_of(draft.devices.begin(), draft.devices.end(),
                     [&](const DeviceEntry& d) { return d.Description == description; });
}

// "Device ID: ..\nDescription: .." and the zone for models that have one.
std::string DeviceLines(const char* idLabel, const char* descriptionLabel, const std::string& id,
                        const std::string& description, const std::string& zone,
                        const SecurityModel& model) {
  std::string text = idLabel + id + descriptionLabel + description;
  if (model.hasTimeZone) text += "\nTime Zone to: " + zone;
  return text;
}

bool IsAllZeros(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == '0'; });
}

std::string KeyShown(const SecurityDraft& draft) {
  const std::string key = Trimmed(draft.keyText);
  return key.empty() ? kNoKey : key;
}

std::string IdShown(const SecurityDraft& draft) {
  const std::string id = Trimmed(draft.idText);
  return id.empty() ? kNoKey : id;
}

}  // namespace

SecurityDraft DraftOf(const SecuritySettings& settings, const LocalDateTime& now) {
  SecurityDraft draft;
  draft.keys.push_back(settings.AssignedProviderKey);
  if (settings.AssignedProviderKey != kNoKey) draft.keys.push_back(kNoKey);
  draft.keyText = std::find(draft.keys.begin(), draft.keys.end(), settings.ProviderKey) != draft.keys.end()
                      ? settings.ProviderKey
                      : draft.keys.front();
  draft.devices = settings.Devices;
  if (draft.devices.empty()) draft.devices.push_back({kNoKey, kAllDevicesDescription, ""});
  if (draft.devices.front().TimeZone.empty()) draft.devices.front().TimeZone = kDefaultTimeZone;
  SelectDevice(draft, IndexOf(draft, settings.DeviceId).value_or(0));
  const SecurityDateTime& stale = settings.StaleDate;
  const LocalDateTime& day = stale.Value;
  const std::int64_t staleDays = DaysFromCivil(day.Year, static_cast<unsigned>(day.Month),
                                               static_cast<unsigned>(day.Day));
  const std::int64_t today = DaysFromCivil(now.Year, static_cast<unsigned>(now.Month),
                                           static_cast<unsigned>(now.Day));
  draft.staleEnabled = stale.Valid && !(stale == kNeverDate) &&
                       IsRealDate(day.Year, day.Month, day.Day) && staleDays > today;
  draft.staleDay = draft.staleEnabled ? LocalDateTime{day.Year, day.Month, day.Day} : now;
  draft.unlock = settings.UnlockDevice;
  return draft;
}

bool KeyAssigned(const SecurityDraft& draft) {
  return !draft.keys.empty() && draft.keys.front() != kNoKey;
}

void SelectDevice(SecurityDraft& draft, std::size_t index) {
  if (index >= draft.devices.size()) index = 0;
  if (draft.devices.empty()) return;
  draft.idText = draft.devices[index].Id;
  draft.descriptionText = draft.devices[index].Description;
  draft.zoneText = ZoneShown(draft.devices[index].TimeZone);
}

std::string ZoneShown(const std::string& zone) {
  return std::string(TimeZoneAt(ShownTimeZoneIndex(zone)));
}

std::string DeviceIdOf(const std::string& typed) {
  std::string id = Trimmed(typed).substr(0, 16);
  LeftPadTo16(id);
  std::transform(id.begin(), id.end(), id.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  return id;
}

const std::string& UseProviderKeyQuestion() {
  static const std::string text =
      "\nIMPORTANT!\n" + kOnlyForProviders +
      "\n\nIt is recommended that the key be stored in a "
      "\nsecure location.  Use the 'Backup Data' button "
      "\non this page to store the key as well as all of the "
      "\ndevices and settings."
      "\n\nDo you wish to use the Provider Key?";
  return text;
}

bool AssignKey(SecurityDraft& draft, Operator& op) {
  const std::string key = Trimmed(draft.keyText);
  if (key.empty() || IsAllZeros(key)) {
    op.Tell("Unable to Add Key", "Blank key entered", OperatorIcon::Stop);
    return false;
  }
  const bool agreed =
      op.Ask("Set Provider Key",
             "Assign key to software: " + key +
                 "\n\nIMPORTANT!\n"
                 "\nRecord the Service Provider Key and store it in a "
                 "\nsecure location.  Once a device has been linked to a "
                 "\nService Provider Key, future content updates are not "
                 "\nallowed without that same key. \n" +
                 kOnlyForProviders + "\n\nDo you wish to assign the Provider Key?",
             OperatorButtons::YesNo, OperatorIcon::Exclamation) == OperatorAnswer::Yes;
  if (agreed) draft.keys.insert(draft.keys.begin(), key);
  draft.keyText = draft.keys.front();
  return agreed;
}

bool AddDevice(SecurityDraft& draft, const SecurityModel& model, Operator& op) {
  const std::string id = DeviceIdOf(draft.idText);
  const std::string description = Trimmed(draft.descriptionText);
  const std::string zone = Trimmed(draft.zoneText);
  draft.idText = id;
  draft.descriptionText = description;
  const char* refusal = nullptr;
  if (id == kNoKey) {
    refusal = "Blank device ID entered";
  } else if (IndexOf(draft, id)) {
    refusal = "Device already in list";
  } else if (!std::all_of(id.begin(), id.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; })) {
    refusal = "Device ID can only contain 0-9, A-F characters";
  } else if (description.empty()) {
    refusal = "Blank device description entered";
  } else if (HoldsDescription(draft, description)) {
    refusal = "Device description already in list";
  }
  if (refusal != nullptr) {
    op.Tell("Unable to Add Device ID", refusal, OperatorIcon::Stop);
    return false;
  }
  if (op.Ask("Add Device", DeviceLines("Device ID: ", "\nDescription: ", id, description, zone, model),
             OperatorButtons::YesNo, OperatorIcon::Information) != OperatorAnswer::Yes) {
    return false;
  }
  draft.devices.push_back({id, description, zone});
  SelectDevice(draft, draft.devices.size() - 1);
  return true;
}

bool DeleteDevice(SecurityDraft& draft, const SecurityModel& model, Operator& op) {
  const std::string id = Trimmed(draft.idText);
  const std::string description = Trimmed(draft.descriptionText);
  const char* refusal = nullptr;
  if (!HoldsDescription(draft, description)) {
    refusal = "Device description not found";
  } else if (!IndexOf(draft, id)) {
    refusal = "Device ID not found";
  } else if (id == kNoKey) {
    refusal = "Blank device ID selected";
  }
  if (refusal != nullptr) {
    op.Tell("Unable to Delete Device", refusal, OperatorIcon::Stop);
    SelectDevice(draft, 0);
    return false;
  }
  if (op.Ask("Delete Device",
             DeviceLines("Device ID: ", "\nDescription: ", id, description, Trimmed(draft.zoneText), model),
             OperatorButtons::YesNo, OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return false;
  }
  const std::size_t index = *IndexOf(draft, id);
  draft.devices.erase(draft.devices.begin() + static_cast<std::ptrdiff_t>(index));
  SelectDevice(draft, index - 1);
  return true;
}

bool UpdateDevice(SecurityDraft& draft, const SecurityModel& model, Operator& op) {
  const std::string id = Trimmed(draft.idText);
  const std::string description = Trimmed(draft.descriptionText);
  const std::string zone = Trimmed(draft.zoneText);
  const auto index = IndexOf(draft, id);
  const char* refusal = nullptr;
  if (!index) {
    refusal = "Device ID not in list";
  } else if (draft.devices[*index].Description == description &&
             ZoneShown(draft.devices[*index].TimeZone) == zone) {
    refusal = "Device description / time zone not changed";
  } else if (*index == 0 && draft.devices[0].Description != description) {
    refusal = "Blank device description cannot be changed";
  }
  if (refusal != nullptr) {
    op.Tell("Unable to Update Device", refusal, OperatorIcon::Stop);
    if (!index) SelectDevice(draft, 0);
    return false;
  }
  if (op.Ask("Change Device Description",
             DeviceLines("Change device ID: ", "\nDescription to: ", id, description, zone, model),
             OperatorButtons::YesNo, OperatorIcon::Information) != OperatorAnswer::Yes) {
    return false;
  }
  draft.devices[*index].Description = description;
  draft.devices[*index].TimeZone = zone;
  return true;
}

std::string SecuritySummary(const SecurityDraft& draft, const SecurityModel& model) {
  const std::string id = IdShown(draft);
  const auto index = IndexOf(draft, id);
  const DeviceEntry device = index ? draft.devices[*index] : DeviceEntry{id, "", ""};
  std::string text = "Provider Key: " + KeyShown(draft) + "\nDevice ID: " + id +
                     "\nDescription: " + device.Description;
  if (draft.staleEnabled) {
    text += model.exactStaleDate ? "\nMedia Stale Date: " : "\nApprox. Media Stale Date: ";
    text += LongDateText(draft.staleDay);
  } else if (model.hasStaleDate) {
    text += "\nMedia Stale Date: Never";
  }
  if (model.hasTimeZone) text += "\nTime Zone: " + ZoneShown(device.TimeZone);
  if (draft.unlock) text += "\n\n>>> UNLOCK DEVICE <<<";
  return text;
}

bool ConfirmSecurity(const SecurityDraft& draft, const SecurityModel& model,
                     const LocalDateTime& now, Confirmation confirmation, Operator& op,
                     SecuritySettings& settings) {
  const bool asked = confirmation == Confirmation::Asked;
  if (asked && draft.unlock &&
      op.Ask("WARNING!", "Reset service provider key and unlock device?", OperatorButtons::YesNo,
             OperatorIcon::Exclamation) != OperatorAnswer::Yes) {
    return false;
  }
  const std::string key = KeyShown(draft);
  const std::string id = IdShown(draft);
  const auto index = IndexOf(draft, id);
  const auto refuse = [&](const char* title, const char* text) {
    op.Tell(title, text, OperatorIcon::Stop);
    return false;
  };
  if (key != kNoKey && !KeyAssigned(draft)) {
    return refuse("Service Provider Key Not Set",
                  "Service provider key must be assigned before it can be used");
  }
  if (!index) return refuse("Device ID Not Set", "Device ID cannot be used before it has been added");
  if (key != kNoKey && id == kNoKey) {
    return refuse("Invalid Security Settings Combination",
                  "Device ID cannot be blank if provider key is selected");
  }
  const LocalDateTime& day = draft.staleDay;
  if (draft.staleEnabled &&
      DaysFromCivil(day.Year, static_cast<unsigned>(day.Month), static_cast<unsigned>(day.Day)) <=
          DaysFromCivil(now.Year, static_cast<unsigned>(now.Month), static_cast<unsigned>(now.Day))) {
    return refuse("Media Stale Date Invalid", "Media stale date needs to be in the future");
  }
  if (asked && op.Ask("Current Security Settings", SecuritySummary(draft, model),
                      OperatorButtons::YesNo, OperatorIcon::Information) != OperatorAnswer::Yes) {
    return false;
  }
  const DeviceEntry& device = draft.devices[*index];
  settings.StaleDate = draft.staleEnabled
                           ? SecurityDateTime{{day.Year, day.Month, day.Day, 0, 0, 0}, true}
                           : kNeverDate;
  settings.LastConfirmedDate = {now, true};
  settings.AssignedProviderKey = draft.keys.empty() ? kNoKey : draft.keys.front();
  settings.ProviderKey = key;
  settings.DeviceId = id;
  settings.DeviceDescription = device.Description;
  settings.TimeZone = device.TimeZone;
  settings.UnlockDevice = asked && draft.unlock;
  settings.Devices = draft.devices;
  return true;
}

}  // namespace corvane
