#pragma once
// The WAV layout of the production file and of the files the mixer reads:
// the fixed 80-byte header the production is written with (the recorder's
// work file shares it), and ReadWaveInfo, which finds the samples of a
// mono 16-bit PCM file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace corvane {

inline constexpr std::size_t kProductionHeaderSize = 80;
// The largest data length a WAV header can state while its RIFF length,
// file length - 8, still fits 32 bits; kept to whole samples.
inline constexpr std::uint32_t kMaxWaveDataLength = 0xFFFFFFFFu - (kProductionHeaderSize - 8) - 1;

// "RIFF", file length - 8, "WAVE", an 18-byte "fmt " chunk for mono 16-bit
// PCM at the rate, a "LIST" "INFO" chunk naming the encoder "Lavf55.30.100",
// then "data" and its length. All numbers little-endian.
std::array<std::uint8_t, kProductionHeaderSize> ProductionHeader(std::uint32_t sampleRate,
                                                                 std::uint32_t dataLength);

struct WaveInfo {
  std::uint32_t sampleRate = 0;  // reported, never compared with anything
  std::uint16_t blockAlign = 0;
  std::uint32_t dataLength = 0;  // as the data chunk states it
  std::size_t dataOffset = 0;    // the byte after the data chunk's length field
};

// Requires "RIFF" at 0, "WAVE" at 8 and format tag 1 at 20. The format
// chunk's length n is at 16; the chunk at 20 + n is the data chunk, unless it
// is "LIST", in which case the data chunk follows the LIST chunk. Succeeds
// only for block align 2 (mono, 16-bit) and when every field it reads lies
// inside the buffer.
std::optional<WaveInfo> ReadWaveInfo(std::span<const std::uint8_t> buffer);

// The data chunk's samples as far as the buffer holds them, in whole 16-bit
// samples: a length field claiming more than the file has is cut to what is
// there. Nothing when ReadWaveInfo fails.
std::optional<std::span<const std::uint8_t>> WaveSampleBytes(std::span<const std::uint8_t> buffer);

}  // namespace corvane
