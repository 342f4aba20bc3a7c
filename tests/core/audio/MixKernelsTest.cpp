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

TEST(MixKernelsTest, FadesMatchTheDoubleRuleForEveryFactorAFadeHas) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int> value(-32768, 32767);
  std::vector<std::int16_t> samples(44100 + 5);
  for (auto& v : samples) v = static_cast<std::int16_t>(value(random));
  samples[0] = -32768;
  samples[1] = 32767;
  const double f = 2.0 * static_cast<double>(samples.size());
  // The three fades of every cross-fade in range and beyond, and factors no
  // fade has, which must be held at the sample limits.
  std::vector<std::vector<double>> tables;
  for (const int X : {0, 1, 2, 5, 9, 10, 255}) {
    std::vector<double> down(samples.size());
    std::vector<double> up(samples.size());
    std::vector<double> out(samples.size());
    for (std::size_t k = 0; k < samples.size(); ++k) {
      const auto i = static_cast<double>(2 * k);
      down[k] = 10.0 - i * (10 - X) / f;
      up[k] = X + i * (10 - X) / f;
      out[k] = X - i * X / f;
    }
    tables.insert(tables.end(), {down, up, out});
  }
  std::vector<double> wild(samples.size());
  for (std::size_t k = 0; k < wild.size(); ++k) wild[k] = (k % 2 == 0 ? 1 : -1) * 1e9 * static_cast<double>(k % 7);
  tables.push_back(wild);
  for (std::size_t t = 0; t < tables.size(); ++t) {
    auto faded = samples;
    FadeSamples(tables[t].data(), faded.size(), faded.data());
    for (std::size_t k = 0; k < faded.size(); ++k) {
      ASSERT_EQ(faded[k], Held(tables[t][k] * samples[k] / 10.0)) << "table " << t << " step " << k;
    }
  }
}

TEST(MixKernelsTest, TouchNothingBeyondTheCount) {
  // Counts below and between the widths of the wide loops.
  for (const std::size_t count : {9u, 11u, 37u}) {
    const auto bytes = LittleEndian(std::vector<std::int16_t>(40, 1000));
    std::vector<std::int16_t> out(40, 7);
    ScaleMusic(bytes.data(), count, 10, out.data());
    EXPECT_EQ(out[count - 1], 1000);
    EXPECT_EQ(out[count], 7);
    ScaleMusic(bytes.data(), count, 5, out.data());
    EXPECT_EQ(out[count - 1], 500);
    EXPECT_EQ(out[count], 7);
    LayMessage(bytes.data(), count, 10, 0, out.data());
    EXPECT_EQ(out[count - 1], 1000);
    EXPECT_EQ(out[count], 7);
    const std::vector<double> half(40, 5.0);
    FadeSamples(half.data(), count, out.data());
    EXPECT_EQ(out[count - 1], 500);
    EXPECT_EQ(out[count], 7);
  }
}

}  // namespace
}  // namespace corvane::test
