// Slicing by eight: table k holds the remainder of a byte followed by k zero
// bytes, so eight message bytes become eight independent look-ups.

#include <array>

#include "package/cipher/Crc16Paths.h"

namespace corvane::crc16 {
namespace {

using Table = std::array<std::uint16_t, 256>;

constexpr std::array<Table, 8> MakeTables() {
  std::array<Table, 8> t{};
  for (unsigned b = 0; b < 256; ++b) {
    unsigned c = b << 8;
    for (int bit = 0; bit < 8; ++bit) c = (c & 0x8000u) ? (c << 1) ^ 0x1021u : c << 1;
    t[0][b] = static_cast<std::uint16_t>(c);
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (unsigned b = 0; b < 256; ++b) {
      const unsigned prev = t[k - 1][b];
      t[k][b] = static_cast<std::uint16_t>(((prev << 8) & 0xFFFFu) ^ t[0][prev >> 8]);
    }
  }
  return t;
}

constexpr std::array<Table, 8> kTables = MakeTables();

}  // namespace

std::uint16_t UpdateSliced(std::uint16_t crc, const std::uint8_t* data, std::size_t length) {
  const Table& t0 = kTables[0];
  std::size_t i = 0;
  for (; length - i >= 8; i += 8) {
    const std::uint8_t* p = data + i;
    crc = static_cast<std::uint16_t>(
        kTables[7][p[0] ^ (crc >> 8)] ^ kTables[6][p[1] ^ (crc & 0xFFu)] ^ kTables[5][p[2]] ^
        kTables[4][p[3]] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^ t0[p[7]]);
  }
  for (; i < length; ++i)
    crc = static_cast<std::uint16_t>((crc << 8) ^ t0[((crc >> 8) ^ data[i]) & 0xFFu]);
  return crc;
}

}  // namespace corvane::crc16
