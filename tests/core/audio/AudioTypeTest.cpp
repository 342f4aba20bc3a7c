#include "audio/AudioType.h"

#include <gtest/gtest.h>

#include "common/ByteOrder.h"

namespace corvane {
namespace {

TEST(AudioType, EveryFieldLandsAtItsOffsetInTheByteImage) {
  ST_AUDIO_TYPE audio;
  audio.Model = 0x01020304;
  audio.CallCodec.Set("copy");
  audio.ProjectCodec.Set("libvorbis");
  audio.OutputCodec.Set("pcm_mulaw");
  audio.ConversionRateText.Set("8000");
  audio.ConversionRate = 8000;
  audio.ProjectRateText.Set("22050");
  audio.ProjectRate = 22050;
  audio.OutputRateText.Set("44100");
  audio.OutputRate = 44100;
  audio.ChannelCountText.Set("1");
  audio.ChannelCount = 1;
  audio.MaxLength = -7;
  audio.StorageMegabytes = 2800;
  audio.BytesPerSecond = 16000;
  audio.ListCapacity = 1000;
  audio.ScheduledCapacity = 10;
  audio.DefaultMusicFromFile = 0xAB;
  audio.MediaExtension.Set(".ogg");
  std::uint8_t* flags[] = {&audio.HasStaleDate,     &audio.ExactStaleDate,     &audio.HasShuffle,
                           &audio.HasMessages,      &audio.HasScheduledMessages, &audio.HasToneControls,
                           &audio.HasSecondChannel, &audio.IsPlayerDevice,     &audio.HasTimeZone,
                           &audio.HasRepeatInterval, &audio.GapsCountAsPlayTime};
  for (int i = 0; i < 11; ++i) *flags[i] = static_cast<std::uint8_t>(0x10 + i);

  const auto bytes = audio.ToBytes();
  auto text = [&](std::size_t at) { return std::string(reinterpret_cast<const char*>(&bytes[at])); };
  EXPECT_EQ(ReadLE32(&bytes[0]), 0x01020304u);
  EXPECT_EQ(text(4), "copy");
  EXPECT_EQ(text(24), "libvorbis");
  EXPECT_EQ(text(44), "pcm_mulaw");
  EXPECT_EQ(text(64), "8000");
  EXPECT_EQ(ReadLE32(&bytes[84]), 8000u);
  EXPECT_EQ(text(88), "22050");
  EXPECT_EQ(ReadLE32(&bytes[108]), 22050u);
  EXPECT_EQ(text(112), "44100");
  EXPECT_EQ(ReadLE32(&bytes[132]), 44100u);
  EXPECT_EQ(text(136), "1");
  EXPECT_EQ(ReadLE32(&bytes[156]), 1u);
  EXPECT_EQ(static_cast<std::int32_t>(ReadLE32(&bytes[160])), -7);
  EXPECT_EQ(ReadLE32(&bytes[164]), 2800u);
  EXPECT_EQ(ReadLE32(&bytes[168]), 16000u);
  EXPECT_EQ(ReadLE32(&bytes[172]), 1000u);
  EXPECT_EQ(ReadLE32(&bytes[176]), 10u);
  EXPECT_EQ(bytes[180], 0xAB);
  EXPECT_EQ(text(181), ".ogg");
  for (int i = 0; i < 11; ++i) EXPECT_EQ(bytes[201 + i], 0x10 + i) << "flag " << i;

  // Text fields are NUL-padded to their full width.
  for (std::size_t i = 4 + 4; i < 24; ++i) EXPECT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(ST_AUDIO_TYPE::FromBytes(bytes).ToBytes(), bytes);
}

TEST(AudioType, ConversionRateSetsBytesPerSecondAndCapacity) {
  struct Case {
    std::int32_t storage;
    std::int32_t expected;
  };
  // The capacities at 22050 Hz of Tonvex-SU, Tonvex-V5 and Tonvex-One.
  for (const Case c : {Case{2800, 66536}, Case{16384, 389526}, Case{32, 720}}) {
    ST_AUDIO_TYPE audio;
    audio.ChannelCount = 1;
    audio.StorageMegabytes = c.storage;
    audio.SetConversionRate("22050", 22050);
    EXPECT_EQ(audio.ConversionRateText.View(), "22050");
    EXPECT_EQ(audio.ConversionRate, 22050);
    EXPECT_EQ(audio.BytesPerSecond, 44100);
    EXPECT_EQ(audio.MaxLength, c.expected) << c.storage;
  }
}

TEST(AudioType, WithoutStorageTheMaximumLengthStays) {
  ST_AUDIO_TYPE audio;
  audio.ChannelCount = 1;
  audio.MaxLength = 1234;
  audio.SetConversionRate("8000", 8000);
  EXPECT_EQ(audio.BytesPerSecond, 16000);
  EXPECT_EQ(audio.MaxLength, 1234);
}

TEST(AudioType, DamagedRatesNeverDivideByZeroOrOverflow) {
  ST_AUDIO_TYPE audio;
  audio.ChannelCount = 1;
  audio.StorageMegabytes = 2800;
  audio.MaxLength = 99;
  audio.SetConversionRate("0", 0);
  EXPECT_EQ(audio.BytesPerSecond, 0);
  EXPECT_EQ(audio.MaxLength, 99);

  audio.StorageMegabytes = 16384;
  audio.SetConversionRate("1", 1);
  EXPECT_EQ(audio.MaxLength, 2147483647 - 40);

  audio.SetConversionRate("-5", -5);
  EXPECT_EQ(audio.BytesPerSecond, 0);
}

}  // namespace
}  // namespace corvane
