#pragma once
// ST_AUDIO_TYPE: the audio record handed whole to every conversion. It carries
// the audio settings, the rate and codec of the current call and the current
// model's properties. Its fields keep the record's 212-byte layout, pinned
// below, so each sits where the record's description puts it.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/FixedText.h"

namespace corvane {

using AudioText = FixedText<20>;

struct ST_AUDIO_TYPE {
  std::int32_t Model = 0;             // 0
  AudioText CallCodec;                // 4: codec of this call
  AudioText ProjectCodec;             // 24
  AudioText OutputCodec;              // 44
  AudioText ConversionRateText;       // 64
  std::int32_t ConversionRate = 0;    // 84
  AudioText ProjectRateText;          // 88
  std::int32_t ProjectRate = 0;       // 108
  AudioText OutputRateText;           // 112
  std::int32_t OutputRate = 0;        // 132
  AudioText ChannelCountText;         // 136
  std::int32_t ChannelCount = 0;      // 156
  std::int32_t MaxLength = 0;         // 160: seconds
  std::int32_t StorageMegabytes = 0;  // 164: 0 = no limit
  std::int32_t BytesPerSecond = 0;    // 168
  std::int32_t ListCapacity = 0;      // 172
  std::int32_t ScheduledCapacity = 0; // 176
  std::uint8_t DefaultMusicFromFile = 0;  // 180
  AudioText MediaExtension;           // 181
  std::uint8_t HasStaleDate = 0;      // 201
  std::uint8_t ExactStaleDate = 0;
  std::uint8_t HasShuffle = 0;
  std::uint8_t HasMessages = 0;
  std::uint8_t HasScheduledMessages = 0;
  std::uint8_t HasToneControls = 0;
  std::uint8_t HasSecondChannel = 0;
  std::uint8_t IsPlayerDevice = 0;
  std::uint8_t HasTimeZone = 0;
  std::uint8_t HasRepeatInterval = 0;
  std::uint8_t GapsCountAsPlayTime = 0;  // 211

  // Sets the rate of the next conversion and re-derives bytes per second and,
  // for models with storage, the maximum length the storage holds at it.
  void SetConversionRate(std::string_view text, std::int32_t hz);
};

static_assert(sizeof(ST_AUDIO_TYPE) == 212);
static_assert(offsetof(ST_AUDIO_TYPE, CallCodec) == 4);
static_assert(offsetof(ST_AUDIO_TYPE, ProjectCodec) == 24);
static_assert(offsetof(ST_AUDIO_TYPE, OutputCodec) == 44);
static_assert(offsetof(ST_AUDIO_TYPE, ConversionRateText) == 64);
static_assert(offsetof(ST_AUDIO_TYPE, ConversionRate) == 84);
static_assert(offsetof(ST_AUDIO_TYPE, ProjectRateText) == 88);
static_assert(offsetof(ST_AUDIO_TYPE, ProjectRate) == 108);
static_assert(offsetof(ST_AUDIO_TYPE, OutputRateText) == 112);
static_assert(offsetof(ST_AUDIO_TYPE, OutputRate) == 132);
static_assert(offsetof(ST_AUDIO_TYPE, ChannelCountText) == 136);
static_assert(offsetof(ST_AUDIO_TYPE, ChannelCount) == 156);
static_assert(offsetof(ST_AUDIO_TYPE, MaxLength) == 160);
static_assert(offsetof(ST_AUDIO_TYPE, StorageMegabytes) == 164);
static_assert(offsetof(ST_AUDIO_TYPE, BytesPerSecond) == 168);
static_assert(offsetof(ST_AUDIO_TYPE, ListCapacity) == 172);
static_assert(offsetof(ST_AUDIO_TYPE, ScheduledCapacity) == 176);
static_assert(offsetof(ST_AUDIO_TYPE, DefaultMusicFromFile) == 180);
static_assert(offsetof(ST_AUDIO_TYPE, MediaExtension) == 181);
static_assert(offsetof(ST_AUDIO_TYPE, HasStaleDate) == 201);
static_assert(offsetof(ST_AUDIO_TYPE, GapsCountAsPlayTime) == 211);

// The maximum length in seconds that storageMegabytes hold at bytesPerSecond,
// less the 40-second margin the players keep.
std::int32_t MaxLengthForStorage(std::int32_t storageMegabytes, std::int32_t bytesPerSecond);

}  // namespace corvane
