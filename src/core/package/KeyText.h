#pragma once
// The key text of sixteen zeros: as a provider key it means none, as a
// device ID every device.

namespace corvane {

inline constexpr const char* kAllZeroKey = "0000000000000000";

}  // namespace corvane
