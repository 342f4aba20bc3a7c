// Feeds arbitrary bytes to the mixer's reading path: ReadWaveInfo, the cut
// to the samples the buffer holds, and the timeline that lays them out as
// music and as messages. Nothing may be read or written outside a buffer,
// and what ReadWaveInfo accepts must be consistent with the buffer.
//
// The first four bytes pick the mix settings (levels, cross-fade, spacing,
// end-after-last) so every rule of the timeline is reached; the rest is the
// file as the mixer would read it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "audio/ProductionTimeline.h"
#include "audio/WaveFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::span<const std::uint8_t> file(data + 4, size - 4);

  const auto info = corvane::ReadWaveInfo(file);
  const auto samples = corvane::WaveSampleBytes(file);
  if (info.has_value() != samples.has_value()) std::abort();
  if (!info) return 0;
  if (info->blockAlign != 2 || info->dataOffset > file.size()) std::abort();
  if (samples->data() != file.data() + info->dataOffset || samples->size() % 2 != 0 ||
      samples->size() > info->dataLength ||
      samples->data() + samples->size() > file.data() + file.size()) {
    std::abort();
  }

  corvane::MixSettings settings;
  settings.musicLevel = data[0] % 16;  // beyond 10 on purpose: damaged records exist
  settings.messageLevel = data[1] % 16;
  settings.crossFade = data[2] % 12;
  settings.secondsBetweenMessages = data[3] % 8;
  settings.endMusicAfterLastMessage = (data[3] & 0x80) != 0;
  // 50 Hz keeps fades short; the capacity is small so cutting is reached too.
  corvane::ProductionTimeline timeline(100, 4096, settings);
  timeline.AddMusic(*samples);
  timeline.AddMusic(samples->subspan(samples->size() / 4));
  timeline.AddMessage(samples->first(samples->size() / 2), false);
  timeline.AddMessage(*samples, true);
  const auto mixed = timeline.Samples();
  if (static_cast<std::int64_t>(mixed.size()) * 2 != timeline.Length() ||
      timeline.Length() > 4096) {
    std::abort();
  }
  volatile std::int32_t sum = 0;
  for (const std::int16_t s : mixed) sum = sum + s;
  return 0;
}
