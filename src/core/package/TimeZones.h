#pragma once
// The time zones a device can be set to, by their IANA names, in the order
// the device screens list them. A device entry stores its zone by name; the
// screens show it by its place in this table.

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace corvane {

inline constexpr std::size_t kTimeZoneCount = 442;
// "America/Edmonton": what the zone list shows for a device with no zone, or
// with a zone this table does not know.
inline constexpr std::size_t kDefaultTimeZoneIndex = 102;
// The longest name in the table; the zone record of the security settings
// file has room for it with some to spare.
inline constexpr std::size_t kMaxTimeZoneNameLength = 32;

// All names, in table order.
std::span<const std::string_view> TimeZoneNames();

// The index of exactly this name (case and spelling must match).
std::optional<std::size_t> FindTimeZone(std::string_view name);

// The name at index; empty past the end of the table.
std::string_view TimeZoneAt(std::size_t index);

// The index the zone list selects for a device's zone: the zone's own index,
// or kDefaultTimeZoneIndex when the zone is empty or not in the table.
std::size_t ShownTimeZoneIndex(std::string_view zone);

}  // namespace corvane
