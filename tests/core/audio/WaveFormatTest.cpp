// The production's WAV header byte for byte, and ReadWaveInfo on the files
// the mixer meets: its own, FFmpeg's, and damaged ones.
#include "audio/WaveFormat.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/ByteOrder.h"
#include "core/audio/AudioSignals.h"

namespace corvane::test {
namespace {

// A plain 44-byte WAV: RIFF, a 16-byte fmt chunk, then data.
std::vector<std::uint8_t> PlainWave(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                                    std::uint16_t blockAlign, std::uint32_t dataLength,
                                    std::size_t samplesPresent) {
  std::vector<std::uint8_t> b(44 + samplesPresent * 2, 0);
  std::memcpy(b.data(), "RIFF", 4);
  WriteLE32(b.data() + 4, static_cast<std::uint32_t>(b.size() - 8));
  std::memcpy(b.data() + 8, "WAVEfmt ", 8);
  WriteLE32(b.data() + 16, 16);
  WriteLE16(b.data() + 20, tag);
  WriteLE16(b.data() + 22, channels);
  WriteLE32(b.data() + 24, rate);
  WriteLE32(b.data() + 28, rate * blockAlign);
  WriteLE16(b.data() + 32, blockAlign);
  WriteLE16(b.data() + 34, 16);
  std::memcpy(b.data() + 36, "data", 4);
  WriteLE32(b.data() + 40, dataLength);
  for (std::size_t i = 0; i < samplesPresent; ++i)
    WriteLE16(b.data() + 44 + 2 * i, static_cast<std::uint16_t>(i));
  return b;
}

TEST(ProductionHeaderTest, IsTheFixedEightyBytesPlayersExpect) {
  const std::uint8_t expected[80] = {
      'R',  'I',  'F', 'F', 0xC8, 0x3E, 0x00, 0x00,                       // 72 + 16000
      'W',  'A',  'V', 'E', 'f',  'm',  't',  ' ',  18,   0,    0,    0,  // fmt length
      1,    0,    1,   0,                                                 // PCM, one channel
      0x40, 0x1F, 0,   0,                                                 // 8000 Hz
      0x80, 0x3E, 0,   0,                                                 // 16000 bytes per second
      2,    0,    16,  0,   0,    0,  // block align, bits, no extra bytes
      'L',  'I',  'S', 'T', 26,   0,    0,    0,    'I',  'N',  'F',  'O', 'I', 'S', 'F',
      'T',  14,   0,   0,   0,    'L',  'a',  'v',  'f',  '5',  '5',  '.', '3', '0', '.',
      '1',  '0',  '0', 0,   'd',  'a',  't',  'a',  0x80, 0x3E, 0x00, 0x00};  // 16000 data bytes
  const auto header = ProductionHeader(8000, 16000);
  EXPECT_EQ(std::vector<std::uint8_t>(header.begin(), header.end()),
            std::vector<std::uint8_t>(std::begin(expected), std::end(expected)));
}

// Files FFmpeg writes are read in the mixer's tests, through the real converter.
TEST(ReadWaveInfoTest, FindsTheSamplesOfAProductionAndOfAPlainWave) {
  const auto production = ReadWaveInfo(WaveBytes(22050, Constant(7, 2205)));
  ASSERT_TRUE(production);
  EXPECT_EQ(production->sampleRate, 22050u);
  EXPECT_EQ(production->blockAlign, 2);
  EXPECT_EQ(production->dataLength, 4410u);
  EXPECT_EQ(production->dataOffset, 80u);  // after the LIST chunk
  const auto plain = ReadWaveInfo(PlainWave(1, 1, 11025, 2, 20, 10));
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->dataOffset, 44u);
  EXPECT_EQ(plain->dataLength, 20u);
}

TEST(ReadWaveInfoTest, RefusesWhatIsNotMono16BitPcmAndNeverReadsOutsideTheBuffer) {
  EXPECT_FALSE(ReadWaveInfo(PlainWave(3, 1, 8000, 4, 8, 4)));  // float
  EXPECT_FALSE(ReadWaveInfo(PlainWave(1, 2, 8000, 4, 8, 4)));  // stereo
  EXPECT_FALSE(ReadWaveInfo(PlainWave(1, 1, 8000, 1, 8, 4)));  // 8-bit
  EXPECT_FALSE(ReadWaveInfo(PlainWave(6, 1, 8000, 2, 8, 4)));  // A-law
  for (const std::size_t at : {0u, 9u}) {                      // not RIFF, not WAVE
    auto damaged = PlainWave(1, 1, 8000, 2, 8, 4);
    damaged[at] = 'X';
    EXPECT_FALSE(ReadWaveInfo(damaged)) << at;
  }

  const auto whole = WaveBytes(8000, Constant(7, 4));
  // Every cut before the data length field is incomplete.
  for (std::size_t cut = 0; cut < 80; ++cut) {
    EXPECT_FALSE(ReadWaveInfo(std::span(whole).first(cut))) << cut;
  }
  EXPECT_TRUE(ReadWaveInfo(std::span(whole).first(80)));
  for (const std::size_t at : {16u, 42u}) {  // a huge fmt or LIST chunk length
    auto huge = whole;
    WriteLE32(huge.data() + at, 0xFFFFFFF0u);
    EXPECT_FALSE(ReadWaveInfo(huge)) << at;
  }
}

TEST(WaveSampleBytesTest, KeepsToTheSamplesTheBufferHolds) {
  // The data chunk claims 1000 bytes; six samples are there.
  const auto claimsMore = PlainWave(1, 1, 8000, 2, 1000, 6);
  const auto data = WaveSampleBytes(claimsMore);
  ASSERT_TRUE(data);
  EXPECT_EQ(data->size(), 12u);
  EXPECT_EQ(data->data(), claimsMore.data() + 44);

  // An odd length leaves out the half sample.
  const auto odd = PlainWave(1, 1, 8000, 2, 7, 6);
  EXPECT_EQ(WaveSampleBytes(odd)->size(), 6u);
  EXPECT_FALSE(WaveSampleBytes(PlainWave(1, 2, 8000, 4, 8, 4)));
}

}  // namespace
}  // namespace corvane::test
