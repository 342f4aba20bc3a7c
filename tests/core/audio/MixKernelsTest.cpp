// The mixer's inner loops against the rules they implement, computed here
// the slow way: in double precision, truncated toward zero, held to 16 bits.
// Messages and fades over random samples and levels are checked through the
// production stream; here every sample value, and the loops' tails.
#include "audio/MixKernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/audio/AudioSignals.h"

namespace corvane::test {
namespace {

TEST(MixKernelsTest, MusicMatchesTheDoubleRuleAndNothingBeyondTheCountIsTouched) {
  std::vector<std::int16_t> every(65536 + 3);  // three more: a tail the wide loop leaves over
  for (std::size_t i = 0; i < every.size(); ++i) every[i] = static_cast<std::int16_t>(i - 32768);
  const auto bytes = SampleBytes(every);
  std::vector<std::int16_t> out(every.size());
  for (const int level : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 100, 255}) {
    ScaleMusic(bytes.data(), every.size(), level, out.data());
    for (std::size_t i = 0; i < every.size(); ++i) {
      const double held = std::clamp(std::trunc(every[i] * level / 10.0), -32768.0, 32767.0);
      ASSERT_EQ(out[i], static_cast<std::int16_t>(held))
          << "sample " << every[i] << " level " << level;
    }
  }
  // Counts below and between the widths of the wide loops.
  for (const std::size_t count : {9u, 11u, 37u}) {
    const auto tail = SampleBytes(std::vector<std::int16_t>(40, 1000));
    std::vector<std::int16_t> after(40, 7);
    ScaleMusic(tail.data(), count, 5, after.data());
    EXPECT_EQ(after[count - 1], 500);
    EXPECT_EQ(after[count], 7);
    LayMessage(tail.data(), count, 10, 0, after.data());
    EXPECT_EQ(after[count - 1], 1000);
    EXPECT_EQ(after[count], 7);
    const std::vector<double> half(40, 5.0);
    FadeSamples(half.data(), count, after.data());
    EXPECT_EQ(after[count - 1], 500);
    EXPECT_EQ(after[count], 7);
  }
}

}  // namespace
}  // namespace corvane::test
