#pragma once
// The ways Crc16Update can compute the checksum. All give the value of
// Crc16Step applied byte by byte; tests reach each through PathsOnThisCpu().

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace corvane::crc16 {

using UpdateFunction = std::uint16_t (*)(std::uint16_t crc, const std::uint8_t* data,
                                         std::size_t length);

struct Path {
  std::string_view name;
  UpdateFunction update;
};

// Crc16Step over each byte: the definition.
std::uint16_t UpdateBytewise(std::uint16_t crc, const std::uint8_t* data, std::size_t length);

// Eight bytes per table round, for processors without carry-less multiply.
std::uint16_t UpdateSliced(std::uint16_t crc, const std::uint8_t* data, std::size_t length);

#if defined(__x86_64__) || defined(__i386__)
// Callable only where the processor has PCLMULQDQ and SSE4.1.
std::uint16_t UpdatePclmul(std::uint16_t crc, const std::uint8_t* data, std::size_t length);
// Callable only where it also has VPCLMULQDQ with AVX-512 F and BW.
std::uint16_t UpdateVpclmul(std::uint16_t crc, const std::uint8_t* data, std::size_t length);
#endif

// The paths this processor can run, slowest first; the last is the one
// Crc16Update uses.
std::span<const Path> PathsOnThisCpu();

}  // namespace corvane::crc16
