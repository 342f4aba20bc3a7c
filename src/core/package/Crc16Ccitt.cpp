#include "package/Crc16Ccitt.h"

#include <array>

#include "common/CpuFeatures.h"
#include "package/cipher/Crc16Paths.h"

namespace corvane {
namespace crc16 {
namespace {

struct PathTable {
  std::array<Path, 4> paths{};
  std::size_t count = 0;
};

PathTable BuildTable() {
  PathTable table;
  table.paths[table.count++] = {"bytewise", &UpdateBytewise};
  table.paths[table.count++] = {"sliced", &UpdateSliced};
#if defined(__x86_64__) || defined(__i386__)
  const cpu::Features& cpu = cpu::Detected();
  if (cpu.pclmul) table.paths[table.count++] = {"pclmul", &UpdatePclmul};
  if (cpu.vpclmul) table.paths[table.count++] = {"vpclmul", &UpdateVpclmul};
#endif
  return table;
}

}  // namespace

std::uint16_t UpdateBytewise(std::uint16_t crc, const std::uint8_t* data, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) crc = Crc16Step(crc, data[i]);
  return crc;
}

std::span<const Path> PathsOnThisCpu() {
  static const PathTable table = BuildTable();
  return {table.paths.data(), table.count};
}

}  // namespace crc16

std::uint16_t Crc16Update(std::uint16_t crc, const std::uint8_t* data, std::size_t length) {
  static const crc16::UpdateFunction fastest = crc16::PathsOnThisCpu().back().update;
  if (length == 0) return crc;
  return fastest(crc, data, length);
}

namespace {

// Polynomials over GF(2) modulo the checksum's x^16 + x^12 + x^5 + 1; bit i
// holds the coefficient of x^i.
constexpr std::uint32_t kPolynomial = 0x1021;

std::uint16_t MultiplyMod(std::uint16_t a, std::uint16_t b) {
  std::uint32_t product = 0;
  for (int bit = 15; bit >= 0; --bit) {
    product <<= 1;
    if (product & 0x10000u) product ^= 0x10000u | kPolynomial;
    if ((b >> bit) & 1u) product ^= a;
  }
  return static_cast<std::uint16_t>(product);
}

// x^(8 * bytes) mod P: what running `bytes` zero bytes does to the register.
std::uint16_t ShiftForBytes(std::uint64_t bytes) {
  std::uint16_t result = 1;
  std::uint16_t power = 0x0100;  // x^8
  for (; bytes > 0; bytes >>= 1) {
    if (bytes & 1u) result = MultiplyMod(result, power);
    power = MultiplyMod(power, power);
  }
  return result;
}

}  // namespace

std::uint16_t Crc16Combine(std::uint16_t crcOfA, std::uint16_t crcOfBFromZero,
                           std::uint64_t lengthOfB) {
  // The register is linear: starting from crcOfA instead of 0 adds what
  // crcOfA becomes after lengthOfB zero bytes.
  return static_cast<std::uint16_t>(crcOfBFromZero ^ MultiplyMod(crcOfA, ShiftForBytes(lengthOfB)));
}

}  // namespace corvane
