// Feeds arbitrary bytes to the mixer's reading path: ReadWaveInfo, the cut
// to the samples the buffer holds, and the production stream that lays them
// out as messages and as music. Nothing may be read or written outside a buffer,
// and what ReadWaveInfo accepts must be consistent with the buffer.
//
// The first four bytes pick the mix settings (levels, cross-fade, spacing,
// end-after-last) so every rule of the stream is reached; the rest is the
// file as the mixer would read it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "audio/ProductionStream.h"
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
  struct CountingSink final : corvane::ProductionSink {
    bool Put(std::span<const std::int16_t> samples) override {
      volatile std::int32_t sum = 0;
      for (const std::int16_t s : samples) sum = sum + s;
      count += samples.size();
      return true;
    }
    std::size_t count = 0;
  } sink;
  corvane::ProductionStream stream(100, 4096, settings, sink);
  const auto message = [&](std::span<const std::uint8_t> bytes) {
    corvane::DecodedMessage m;
    m.bytes.assign(file.begin(), file.end());
    m.offset = static_cast<std::size_t>(bytes.data() - file.data());
    m.length = bytes.size();
    return m;
  };
  stream.AddMessage(message(samples->first(samples->size() / 2)));
  stream.AddMessage(message(*samples));
  stream.AddMusic(*samples);
  stream.AddMusic(samples->subspan(samples->size() / 4));
  if (!stream.Finish() || static_cast<std::int64_t>(sink.count) * 2 != stream.Length() ||
      stream.Length() > 4096) {
    std::abort();
  }
  return 0;
}
