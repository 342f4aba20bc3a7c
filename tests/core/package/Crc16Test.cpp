#include "package/Crc16Ccitt.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>
#include <vector>

#include "package/cipher/Crc16Paths.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

std::uint16_t StepThrough(std::uint16_t crc, const std::uint8_t* data, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) crc = Crc16Step(crc, data[i]);
  return crc;
}

std::uint16_t OfText(std::string_view text, std::uint16_t crc = kCrc16Start) {
  return Crc16Update(crc, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(Crc16, StepIsTheBitwiseMsbFirstDefinition) {
  std::mt19937 rng(1);
  std::vector<std::uint16_t> starts = {0x0000, 0xFFFF, 0x8000, 0x0001};
  for (int i = 0; i < 60; ++i) starts.push_back(static_cast<std::uint16_t>(rng()));
  for (std::uint16_t start : starts) {
    for (unsigned byte = 0; byte < 256; ++byte) {
      unsigned c = start ^ (byte << 8);
      for (int bit = 0; bit < 8; ++bit)
        c = (c & 0x8000u) ? ((c << 1) ^ 0x1021u) & 0xFFFFu : (c << 1) & 0xFFFFu;
      ASSERT_EQ(Crc16Step(start, static_cast<std::uint8_t>(byte)), c) << start << " " << byte;
    }
  }
}

TEST(Crc16, CheckValues) {
  EXPECT_EQ(OfText("123456789"), 0x29B1);
  EXPECT_EQ(OfText("abc"), 0x514A);
  EXPECT_EQ(OfText(""), 0xFFFF);
  EXPECT_EQ(Crc16Update(0x1234, nullptr, 0), 0x1234);
  for (const crc16::Path& path : crc16::PathsOnThisCpu()) {
    const auto* digits = reinterpret_cast<const std::uint8_t*>("123456789");
    EXPECT_EQ(path.update(kCrc16Start, digits, 9), 0x29B1) << path.name;
  }
}

TEST(Crc16, SplitFeedingEqualsWhole) {
  const Bytes data = RandomBytes(20000, 2);
  const std::uint16_t whole = Crc16Update(kCrc16Start, data);
  std::mt19937 rng(3);
  for (int trial = 0; trial < 200; ++trial) {
    std::uint16_t crc = kCrc16Start;
    std::size_t at = 0;
    while (at < data.size()) {
      const std::size_t n =
          std::min<std::size_t>(data.size() - at, rng() % (trial < 100 ? 40 : 3000));
      crc = Crc16Update(crc, data.data() + at, n);
      at += n;
    }
    ASSERT_EQ(crc, whole) << "trial " << trial;
  }
}

TEST(Crc16, PathsIncludeTheCarrylessOnesThisProcessorHas) {
  std::vector<std::string_view> names;
  for (const crc16::Path& path : crc16::PathsOnThisCpu()) names.push_back(path.name);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "bytewise");
  EXPECT_EQ(names[1], "sliced");
#if defined(__x86_64__)
  if (__builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1")) {
    EXPECT_NE(std::find(names.begin(), names.end(), "pclmul"), names.end());
  }
  if (__builtin_cpu_supports("vpclmulqdq") && __builtin_cpu_supports("avx512bw")) {
    EXPECT_EQ(names.back(), "vpclmul");
  }
#endif
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
  const Bytes data = RandomBytes(3 * 1024 * 1024 + 64, 6);
  for (std::size_t length : {std::size_t{4096}, std::size_t{65536 + 17}, data.size() - 64}) {
    for (std::size_t offset : {0u, 5u, 63u}) {
      const std::uint16_t expected = StepThrough(0x5A5A, data.data() + offset, length);
      for (const crc16::Path& path : crc16::PathsOnThisCpu())
        ASSERT_EQ(path.update(0x5A5A, data.data() + offset, length), expected)
            << path.name << " length " << length << " offset " << offset;
    }
  }
}

TEST(Crc16, ZerosFromZeroStayZeroButFromStartDoNot) {
  // A fold that drops the start value would get this wrong on long inputs.
  const Bytes zeros(100000, 0);
  for (const crc16::Path& path : crc16::PathsOnThisCpu()) {
    EXPECT_EQ(path.update(0, zeros.data(), zeros.size()), 0) << path.name;
    EXPECT_EQ(path.update(kCrc16Start, zeros.data(), zeros.size()),
              StepThrough(kCrc16Start, zeros.data(), zeros.size()))
        << path.name;
  }
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(Crc16Combine, JoiningPiecesEqualsTheWhole) {
  std::vector<std::uint8_t> data(5000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 131 + 7);
  const std::uint16_t whole = Crc16Update(kCrc16Start, data);
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{255},
                          std::size_t{1024}, std::size_t{4999}, std::size_t{5000}}) {
    const std::uint16_t first = Crc16Update(kCrc16Start, data.data(), cut);
    const std::uint16_t second = Crc16Update(0, data.data() + cut, data.size() - cut);
    EXPECT_EQ(Crc16Combine(first, second, data.size() - cut), whole) << cut;
  }
  // Three pieces joined left to right.
  const std::uint16_t a = Crc16Update(kCrc16Start, data.data(), 100);
  const std::uint16_t b = Crc16Update(0, data.data() + 100, 900);
  const std::uint16_t c = Crc16Update(0, data.data() + 1000, 4000);
  EXPECT_EQ(Crc16Combine(Crc16Combine(a, b, 900), c, 4000), whole);
  // A long run of zeros after known bytes, without feeding them.
  std::vector<std::uint8_t> zeros(1 << 20, 0);
  EXPECT_EQ(Crc16Combine(a, 0, zeros.size()),
            Crc16Update(a, zeros.data(), zeros.size()));
}

}  // namespace
}  // namespace corvane
