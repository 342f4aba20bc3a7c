#include "audio/AudioType.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "common/ByteOrder.h"

namespace corvane {
namespace {

// Every field of the record in layout order, so the byte image is written and
// read by one description.
template <typename Record, typename Visitor>
void VisitFields(Record& r, Visitor&& visit) {
  visit(r.Model);
  visit(r.CallCodec);
  visit(r.ProjectCodec);
  visit(r.OutputCodec);
  visit(r.ConversionRateText);
  visit(r.ConversionRate);
  visit(r.ProjectRateText);
  visit(r.ProjectRate);
  visit(r.OutputRateText);
  visit(r.OutputRate);
  visit(r.ChannelCountText);
  visit(r.ChannelCount);
  visit(r.MaxLength);
  visit(r.StorageMegabytes);
  visit(r.BytesPerSecond);
  visit(r.ListCapacity);
  visit(r.ScheduledCapacity);
  visit(r.DefaultMusicFromFile);
  visit(r.MediaExtension);
  visit(r.HasStaleDate);
  visit(r.ExactStaleDate);
  visit(r.HasShuffle);
  visit(r.HasMessages);
  visit(r.HasScheduledMessages);
  visit(r.HasToneControls);
  visit(r.HasSecondChannel);
  visit(r.IsPlayerDevice);
  visit(r.HasTimeZone);
  visit(r.HasRepeatInterval);
  visit(r.GapsCountAsPlayTime);
}

}  // namespace

std::int32_t MaxLengthForStorage(std::int32_t storageMegabytes, std::int32_t bytesPerSecond) {
  // A damaged settings file can hold a rate of 0; never divide by it.
  if (bytesPerSecond <= 0) return 0;
  const double seconds = std::trunc(storageMegabytes * 1024.0 * 1024.0 / bytesPerSecond);
  const double limit = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::min(seconds, limit)) - 40;
}

void ST_AUDIO_TYPE::SetConversionRate(std::string_view text, std::int32_t hz) {
  ConversionRateText.Set(text);
  ConversionRate = hz;
  const std::int64_t perSecond = std::int64_t{ChannelCount} * hz * 2;
  BytesPerSecond = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(perSecond, 0, std::numeric_limits<std::int32_t>::max()));
  if (StorageMegabytes != 0 && BytesPerSecond > 0) {
    MaxLength = MaxLengthForStorage(StorageMegabytes, BytesPerSecond);
  }
}

std::array<std::uint8_t, 212> ST_AUDIO_TYPE::ToBytes() const {
  std::array<std::uint8_t, 212> bytes{};
  std::size_t at = 0;
  VisitFields(*this, [&](const auto& field) {
    using Field = std::decay_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, std::int32_t>) {
      WriteLE32(bytes.data() + at, static_cast<std::uint32_t>(field));
    } else {
      std::memcpy(bytes.data() + at, &field, sizeof field);
    }
    at += sizeof field;
  });
  return bytes;
}

ST_AUDIO_TYPE ST_AUDIO_TYPE::FromBytes(const std::array<std::uint8_t, 212>& bytes) {
  ST_AUDIO_TYPE record;
  std::size_t at = 0;
  VisitFields(record, [&](auto& field) {
    using Field = std::decay_t<decltype(field)>;
    if constexpr (std::is_same_v<Field, std::int32_t>) {
      field = static_cast<std::int32_t>(ReadLE32(bytes.data() + at));
    } else {
      std::memcpy(&field, bytes.data() + at, sizeof field);
    }
    at += sizeof field;
  });
  return record;
}

}  // namespace corvane
