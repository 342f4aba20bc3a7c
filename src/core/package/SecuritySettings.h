#pragma once
// The media security of the current project: provider key, the device the
// next package is for, the operator's device list, stale date, time zone and
// unlock order, together with the login credentials and MOH mode.

#include <string>
#include <vector>

#include "common/Clock.h"
#include "package/KeyText.h"

namespace corvane {

// A local date and time that may be marked not valid, as the security file
// stores it.
struct SecurityDateTime {
  LocalDateTime Value{2036, 2, 1, 0, 0, 0};
  bool Valid = true;

  bool operator==(const SecurityDateTime&) const = default;
};

// 1 February 2036, 00:00: the date that stands for "no stale date".
inline constexpr SecurityDateTime kNeverDate{};

inline constexpr const char* kAllDevicesDescription = "All Unlocked Devices";

// One player of the operator's device list.
struct DeviceEntry {
  std::string Id;  // sixteen upper-case hexadecimal digits
  std::string Description;
  std::string TimeZone;  // empty when none was chosen

  bool operator==(const DeviceEntry&) const = default;
};

struct SecuritySettings {
  std::string AssignedProviderKey = kAllZeroKey;
  std::string ProviderKey = kAllZeroKey;
  std::string DeviceId = kAllZeroKey;
  std::string DeviceDescription = kAllDevicesDescription;
  std::string TimeZone;
  // Entry 0 is always the all-devices entry.
  std::vector<DeviceEntry> Devices{{kAllZeroKey, kAllDevicesDescription, ""}};
  SecurityDateTime StaleDate = kNeverDate;
  SecurityDateTime LastConfirmedDate = kNeverDate;
  bool UnlockDevice = false;
  bool RestoreOffered = true;
  bool MohMode = false;
  std::string UserName = "tavik";
  std::string Password = "tavik";

  bool operator==(const SecuritySettings&) const = default;
};

}  // namespace corvane
