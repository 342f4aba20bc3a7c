#include "package/Crc16Ccitt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "package/cipher/Crc16Paths.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::BitwiseCrc16;
using test::RandomBytes;

std::uint16_t OfText(std::string_view text) {
  return Crc16Update(kCrc16Start, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(Crc16, CheckValuesOnEveryPathIncludingTheCarrylessOnesThisProcessorHas) {
  EXPECT_EQ(OfText("123456789"), 0x29B1);
  EXPECT_EQ(OfText("abc"), 0x514A);
  EXPECT_EQ(OfText(""), 0xFFFF);
  EXPECT_EQ(Crc16Update(0x1234, nullptr, 0), 0x1234);
  for (const crc16::Path& path : crc16::PathsOnThisCpu()) {
    const auto* digits = reinterpret_cast<const std::uint8_t*>("123456789");
    EXPECT_EQ(path.update(kCrc16Start, digits, 9), 0x29B1) << path.name;
  }
}

TEST(Crc16, EveryPathMatchesTheStepAtEveryLengthOffsetAndStart) {
  constexpr std::size_t kMaxLength = 700;  // past every folding threshold
  const Bytes data = RandomBytes(kMaxLength + 16, 4);
  std::mt19937 rng(5);
  for (std::size_t offset = 0; offset < 16; ++offset) {
    const std::uint16_t start = offset == 0 ? kCrc16Start : static_cast<std::uint16_t>(rng());
    // The running value after each prefix, in one pass.
    std::vector<std::uint16_t> expected(kMaxLength + 1);
    expected[0] = start;
    for (std::size_t n = 1; n <= kMaxLength; ++n)
      expected[n] = Crc16Step(expected[n - 1], data[offset + n - 1]);
    for (const crc16::Path& path : crc16::PathsOnThisCpu()) {
      for (std::size_t n = 0; n <= kMaxLength; ++n) {
        ASSERT_EQ(path.update(start, data.data() + offset, n), expected[n])
            << path.name << " length " << n << " offset " << offset;
      }
    }
  }
}

TEST(Crc16, EveryPathMatchesTheStepOnLargeInputs) {
  // Zeros from 0 stay 0 however they are folded; from a start value they do
  // not, so a fold that drops the start shows there.
  const Bytes random = RandomBytes(3 * 1024 * 1024 + 64, 6);
  const Bytes zeros(100000, 0);
  const struct {
    const Bytes& data;
    std::size_t offset, length;
    std::uint16_t start;
  } cases[] = {{random, 0, 4096, 0x5A5A},
               {random, 5, 65536 + 17, 0x5A5A},
               {random, 63, 3 * 1024 * 1024, 0x5A5A},
               {zeros, 0, zeros.size(), 0},
               {zeros, 0, zeros.size(), kCrc16Start}};
  for (const auto& c : cases) {
    const std::uint16_t expected = BitwiseCrc16(c.data.data() + c.offset, c.length, c.start);
    for (const crc16::Path& path : crc16::PathsOnThisCpu())
      ASSERT_EQ(path.update(c.start, c.data.data() + c.offset, c.length), expected)
          << path.name << " length " << c.length << " offset " << c.offset;
  }
}

TEST(Crc16Combine, JoiningPiecesEqualsTheWhole) {
  const Bytes data = RandomBytes(5000, 7);
  const std::uint16_t whole = Crc16Update(kCrc16Start, data);
  for (std::size_t cut : {0u, 1u, 2u, 255u, 1024u, 4999u, 5000u}) {
    const std::uint16_t first = Crc16Update(kCrc16Start, data.data(), cut);
    const std::uint16_t second = Crc16Update(0, data.data() + cut, data.size() - cut);
    EXPECT_EQ(Crc16Combine(first, second, data.size() - cut), whole) << cut;
  }
  // A long run of zeros after known bytes, without feeding them.
  const std::uint16_t a = Crc16Update(kCrc16Start, data.data(), 100);
  const Bytes zeros(1 << 20, 0);
  EXPECT_EQ(Crc16Combine(a, 0, zeros.size()), Crc16Update(a, zeros.data(), zeros.size()));
}

}  // namespace
}  // namespace corvane
