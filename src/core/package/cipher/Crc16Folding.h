#pragma once
// Constants for folding the checksum with carry-less multiplication.
//
// A 16-byte block is loaded byte-reversed so that bit i of the register is
// the coefficient of x^i, the first message byte holding the top bits. An
// accumulator A = A_H*x^64 + A_L moved d bits further along the message is
// A*x^d = A_H*x^(d+64) + A_L*x^d, and modulo P each power is a 16-bit
// remainder: two 64x16-bit carry-less products, XORed with the block found
// there. The result stays below 2^128 and congruent to the message so far,
// which is all the final reduction needs.

#include <cstdint>

namespace corvane::crc16 {

// x^16 + x^12 + x^5 + 1
inline constexpr std::uint32_t kPolynomial = 0x11021u;

constexpr std::uint64_t XPowerModP(unsigned n) {
  std::uint32_t r = 1;
  for (unsigned i = 0; i < n; ++i) {
    r <<= 1;
    if (r & 0x10000u) r ^= kPolynomial;
  }
  return r;
}

// The pair of remainders that moves an accumulator `bits` further: the low
// half multiplies A_L, the high half A_H.
struct FoldConstants {
  std::uint64_t low;
  std::uint64_t high;
};

constexpr FoldConstants FoldBy(unsigned bits) { return {XPowerModP(bits), XPowerModP(bits + 64)}; }

}  // namespace corvane::crc16
