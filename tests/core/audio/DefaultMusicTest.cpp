// The music the project makes itself, and the installed files made from it.
#include "audio/DefaultMusic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/audio/AudioSignals.h"

namespace corvane::test {
namespace {

// A low rate keeps the synthesis quick; the piece is the same at any rate.
constexpr int kRate = 6000;

class DefaultMusicTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    music = new std::vector<std::int16_t>(SynthesizeDefaultMusic(kRate));
  }
  static void TearDownTestSuite() {
    delete music;
    music = nullptr;
  }
  static std::vector<std::int16_t>* music;
};
std::vector<std::int16_t>* DefaultMusicTest::music = nullptr;

double Rms(std::span<const std::int16_t> s) {
  double sum = 0;
  for (const std::int16_t x : s) sum += static_cast<double>(x) * x;
  return std::sqrt(sum / static_cast<double>(s.size()));
}

TEST_F(DefaultMusicTest, LastsItsLengthAndPlaysThroughoutWithHeadroomAndFades) {
  EXPECT_NEAR(static_cast<double>(music->size()) / kRate, DefaultMusicSeconds(), 0.01);
  EXPECT_NEAR(DefaultMusicSeconds(), 217, 1);  // 3 min 37 s
  const auto peak = std::max_element(music->begin(), music->end(), [](auto a, auto b) {
    return std::abs(int{a}) < std::abs(int{b});
  });
  EXPECT_NEAR(std::abs(int{*peak}), 0.708 * 32767, 200);  // -3 dB
  const auto window = static_cast<std::size_t>(5 * kRate);
  for (std::size_t at = 2 * kRate; at + window + 6 * kRate < music->size(); at += window) {
    EXPECT_GT(Rms(std::span(*music).subspan(at, window)), 1000)
        << "silent near second " << at / kRate;
  }
  EXPECT_LT(std::abs(int{music->front()}), 50);
  EXPECT_LT(std::abs(int{music->back()}), 50);
}


}  // namespace
}  // namespace corvane::test
