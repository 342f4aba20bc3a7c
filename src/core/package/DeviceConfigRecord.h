#pragma once
// The header of the device configuration record ("config.dat") that a save
// fills and an open reads back. Fields the tool never sets keep what the last
// opened package carried and are written back unchanged; after start-up the
// whole header is zero.

#include <array>
#include <cstdint>

#include "common/FixedText.h"

namespace corvane {

struct DeviceConfigRecord {
  std::uint16_t FileVersion = 0;  // the device model number
  std::uint32_t ntp_time = 0;
  std::uint32_t unnamed_6 = 0;    // the player's own field at offset 6
  std::uint32_t stale_date = 0;   // year * 65536 + month * 256 + day
  FixedText<40> time_zone;
  std::uint32_t device_ip = 0;
  std::uint32_t device_gateway = 0;
  std::uint32_t device_netmask = 0;
  std::uint32_t server_ip = 0;
  std::uint32_t server_gateway = 0;
  std::uint32_t server_netmask = 0;
  std::uint16_t server_port = 0;
  std::uint32_t authorization_ip = 0;
  std::uint32_t authorization_gateway = 0;
  std::uint32_t authorization_netmask = 0;
  std::uint16_t authorization_port = 0;
  std::uint32_t update_ntp_time = 0;
  std::uint8_t update_type = 0;
  std::uint8_t update_interval = 0;
  std::uint8_t authorization_type = 0;
  std::uint8_t authorization_interval = 0;
  std::uint16_t stale_days = 0;
  std::array<std::uint8_t, 8> reserved{};

  bool operator==(const DeviceConfigRecord&) const = default;
};

}  // namespace corvane
