// The mixer's inner loops against the rules they implement, computed here
// the slow way: in double precision, truncated toward zero, held to 16 bits.
#include "audio/MixKernels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/ByteOrder.h"

namespace corvane::test {
namespace {

std::int16_t Held(double v) {
  const double t = std::trunc(v);
  return static_cast<std::int16_t>(std::clamp(t, -32768.0, 32767.0));
}

std::vector<std::uint8_t> LittleEndian(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> bytes(samples.size() * 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    WriteLE16(bytes.data() + 2 * i, static_cast<std::uint16_t>(samples[i]));
  }
  return bytes;
}

TEST(MixKernelsTest, MusicMatchesTheDoubleRuleForEverySampleValue) {
  std::vector<std::int16_t> every(65536 + 3);  // three more: a tail the wide loop leaves over
  for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<std::int16_t>(i - 32768);
  const auto bytes = LittleEndian(every);
  std::vector<std::int16_t> out(every.size());
  for (const int level : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 100, 255}) {
    ScaleMusic(bytes.data(), every.size(), level, out.data());
    for (std::size_t i = 0; i < every.size(); ++i) {
      ASSERT_EQ(out[i], Held(every[i] * static_cast<double>(level) / 10.0))
          << "sample " << every[i] << " level " << level;
    }
  }
}

TEST(MixKernelsTest, MessagesMatchTheDoubleRuleOverMusic) {
  std::mt19937 random(4);
  std::uniform_int_distribution<int> value(-32768, 32767);
  std::vector<std::int16_t> message(20003);
  std::vector<std::int16_t> music(message.size());
  for (std::size_t i = 0; i < message.size(); ++i) {
    message[i] = static_cast<std::int16_t>(value(random));
    music[i] = static_cast<std::int16_t>(value(random));
  }
  // The extremes, and numerators that are whole multiples of every divisor.
  message[0] = -32768;
  music[0] = -32768;
  message[1] = 32767;
  music[1] = 32767;
  for (std::size_t i = 2; i < 2000; ++i) {
    const int multiple = static_cast<int>(i) * 2520 * (i % 2 == 0 ? 1 : -1) % 32760;
    message[i] = static_cast<std::int16_t>(multiple);
    music[i] = static_cast<std::int16_t>(i % 3 == 0 ? multiple : 0);
  }
  const auto bytes = LittleEndian(message);
  // Every level and cross-fade in range, and some beyond.
  for (const int level : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 200}) {
    for (const int crossFade : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 255}) {
      auto mix = music;
      LayMessage(bytes.data(), message.size(), level, crossFade, mix.data());
      for (std::size_t i = 0; i < mix.size(); ++i) {
        const double expected =
            (level * static_cast<double>(message[i]) + crossFade * static_cast<double>(music[i])) /
            (crossFade + 10);
        ASSERT_EQ(mix[i], Held(expected)) << i << " level " << level << " X " << crossFade;
      }
    }
  }
}

TEST(MixKernelsTest, TouchNothingBeyondTheCount) {
  const auto bytes = LittleEndian(std::vector<std::int16_t>(20, 1000));
  std::vector<std::int16_t> out(20, 7);
  ScaleMusic(bytes.data(), 11, 10, out.data());
  EXPECT_EQ(out[10], 1000);
  EXPECT_EQ(out[11], 7);
  LayMessage(bytes.data(), 9, 10, 0, out.data());
  EXPECT_EQ(out[8], 1000);
  EXPECT_EQ(out[11], 7);
}

}  // namespace
}  // namespace corvane::test
