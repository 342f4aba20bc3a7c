#include "audio/AudioType.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace corvane {

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

}  // namespace corvane
