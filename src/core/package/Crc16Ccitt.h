#pragma once
// CRC-16/CCITT-FALSE: polynomial 0x1021, MSB first, start 0xFFFF, no final
// XOR. A running value continues across calls.

#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {

inline constexpr std::uint16_t kCrc16Start = 0xFFFF;

std::uint16_t Crc16Update(std::uint16_t crc, const std::uint8_t* data, std::size_t length);

inline std::uint16_t Crc16Update(std::uint16_t crc, std::span<const std::uint8_t> data) {
  return Crc16Update(crc, data.data(), data.size());
}

// The checksum of A followed by B from the checksum of A and that of B
// started from 0 (not 0xFFFF), so pieces of a file can be checksummed apart,
// in any order, and joined.
std::uint16_t Crc16Combine(std::uint16_t crcOfA, std::uint16_t crcOfBFromZero, std::uint64_t lengthOfB);

// The one-byte step of the definition, for readers that checksum as they go.
constexpr std::uint16_t Crc16Step(std::uint16_t crc, std::uint8_t byte) {
  unsigned c = ((crc >> 8) | (crc << 8)) & 0xFFFFu;
  c ^= byte;
  c ^= (c & 0xFFu) >> 4;
  c ^= (c << 12) & 0xFFFFu;
  c ^= (c & 0xFFu) << 5;
  return static_cast<std::uint16_t>(c & 0xFFFFu);
}

}  // namespace corvane
