#include "audio/AudioType.h"

#include <gtest/gtest.h>

#include "common/ByteOrder.h"

namespace corvane {
namespace {

TEST(AudioType, FieldsLandAtTheirOffsetsInTheByteImage) {
  // The fields are laid out one after the other, so a field of the wrong size
  // or in the wrong place moves every landmark after it.
  ST_AUDIO_TYPE audio;
  audio.Model = 0x01020304;
  audio.CallCodec.Set("copy");
  audio.OutputCodec.Set("pcm_mulaw");
  audio.ProjectRate = 22050;
  audio.MaxLength = -7;
  audio.ScheduledCapacity = 10;
  audio.DefaultMusicFromFile = 0xAB;
  audio.MediaExtension.Set(".ogg");
  audio.HasStaleDate = 0x10;
  audio.GapsCountAsPlayTime = 0x1A;
  const auto bytes = audio.ToBytes();
  auto text = [&](std::size_t at) {
    return std::string(reinterpret_cast<const char*>(&bytes[at]));
  };
  EXPECT_EQ(ReadLE32(&bytes[0]), 0x01020304u);
  EXPECT_EQ(text(4), "copy");
  for (std::size_t i = 8; i < 24; ++i) EXPECT_EQ(bytes[i], 0) << i;  // NUL-padded
  EXPECT_EQ(text(44), "pcm_mulaw");
  EXPECT_EQ(ReadLE32(&bytes[108]), 22050u);
  EXPECT_EQ(ReadLE32(&bytes[160]), 0xFFFFFFF9u);
  EXPECT_EQ(ReadLE32(&bytes[176]), 10u);
  EXPECT_EQ(bytes[180], 0xAB);
  EXPECT_EQ(text(181), ".ogg");
  EXPECT_EQ(bytes[201], 0x10);
  EXPECT_EQ(bytes[211], 0x1A);
  EXPECT_EQ(ST_AUDIO_TYPE::FromBytes(bytes).ToBytes(), bytes);
}

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
