#include "audio/WaveFormat.h"

#include <algorithm>
#include <cstring>

#include "common/ByteOrder.h"

namespace corvane {
namespace {

bool HasId(std::span<const std::uint8_t> buffer, std::uint64_t at, const char (&id)[5]) {
  return at + 4 <= buffer.size() && std::memcmp(buffer.data() + at, id, 4) == 0;
}

void PutId(std::uint8_t* at, const char (&id)[5]) { std::memcpy(at, id, 4); }

}  // namespace

std::array<std::uint8_t, kProductionHeaderSize> ProductionHeader(std::uint32_t sampleRate,
                                                                 std::uint32_t dataLength) {
  std::array<std::uint8_t, kProductionHeaderSize> h{};
  std::uint8_t* p = h.data();
  PutId(p + 0, "RIFF");
  WriteLE32(p + 4, static_cast<std::uint32_t>(kProductionHeaderSize - 8) + dataLength);
  PutId(p + 8, "WAVE");
  PutId(p + 12, "fmt ");
  WriteLE32(p + 16, 18);
  WriteLE16(p + 20, 1);  // PCM
  WriteLE16(p + 22, 1);  // one channel
  WriteLE32(p + 24, sampleRate);
  WriteLE32(p + 28, sampleRate * 2);
  WriteLE16(p + 32, 2);   // block align
  WriteLE16(p + 34, 16);  // bits per sample
  WriteLE16(p + 36, 0);   // no extra format bytes
  PutId(p + 38, "LIST");
  WriteLE32(p + 42, 26);
  PutId(p + 46, "INFO");
  PutId(p + 50, "ISFT");
  WriteLE32(p + 54, 14);
  std::memcpy(p + 58, "Lavf55.30.100", 14);  // with its NUL
  PutId(p + 72, "data");
  WriteLE32(p + 76, dataLength);
  return h;
}

std::optional<WaveInfo> ReadWaveInfo(std::span<const std::uint8_t> buffer) {
  // The fixed fields run to the block align at 32..33.
  if (buffer.size() < 36) return std::nullopt;
  const std::uint8_t* p = buffer.data();
  if (!HasId(buffer, 0, "RIFF") || !HasId(buffer, 8, "WAVE") || ReadLE16(p + 20) != 1) {
    return std::nullopt;
  }
  const std::uint64_t formatLength = ReadLE32(p + 16);
  std::uint64_t chunk = 20 + formatLength;
  if (HasId(buffer, chunk, "LIST")) {
    if (chunk + 8 > buffer.size()) return std::nullopt;
    chunk += 8 + std::uint64_t{ReadLE32(p + chunk + 4)};
  }
  if (chunk + 8 > buffer.size()) return std::nullopt;
  WaveInfo info;
  info.sampleRate = ReadLE32(p + 24);
  info.blockAlign = ReadLE16(p + 32);
  info.dataLength = ReadLE32(p + chunk + 4);
  info.dataOffset = static_cast<std::size_t>(chunk + 8);
  if (info.blockAlign != 2) return std::nullopt;
  return info;
}

std::optional<std::span<const std::uint8_t>> WaveSampleBytes(std::span<const std::uint8_t> buffer) {
  const auto info = ReadWaveInfo(buffer);
  if (!info) return std::nullopt;
  const std::size_t available = buffer.size() - info->dataOffset;
  const std::size_t length = std::min<std::size_t>(info->dataLength, available) & ~std::size_t{1};
  return buffer.subspan(info->dataOffset, length);
}

}  // namespace corvane
