#include "package/Crc16Ccitt.h"

#include <array>

#include "package/cipher/CpuFeatures.h"
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

}  // namespace corvane
