#include "audio/AudioType.h"

#include <gtest/gtest.h>


namespace corvane {
namespace {

TEST(AudioType, ConversionRateSetsBytesPerSecondAndCapacity) {
  const struct {
    std::int32_t storage, hz, bytesPerSecond, maxLength;
  } cases[] = {
      // The capacities at 22050 Hz of Tonvex-SU, Tonvex-V5 and Tonvex-One.
      {2800, 22050, 44100, 66536},
      {16384, 22050, 44100, 389526},
      {32, 22050, 44100, 720},
      {0, 8000, 16000, 1234},  // without storage the maximum length stays
      // Damaged rates never divide by zero or overflow.
      {2800, 0, 0, 1234},
      {2800, -5, 0, 1234},
      {16384, 1, 2, 2147483647 - 40},
  };
  for (const auto& c : cases) {
    ST_AUDIO_TYPE audio;
    audio.ChannelCount = 1;
    audio.MaxLength = 1234;
    audio.StorageMegabytes = c.storage;
    audio.SetConversionRate(std::to_string(c.hz), c.hz);
    EXPECT_EQ(audio.ConversionRateText.View(), std::to_string(c.hz));
    EXPECT_EQ(audio.ConversionRate, c.hz);
    EXPECT_EQ(audio.BytesPerSecond, c.bytesPerSecond) << c.hz;
    EXPECT_EQ(audio.MaxLength, c.maxLength) << c.storage << " MB at " << c.hz;
  }
}

}  // namespace
}  // namespace corvane
