#include "core/audio/AudioSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "audio/AudioDecoder.h"
#include "audio/AudioEncoder.h"
#include "audio/WaveFormat.h"
#include "common/ByteOrder.h"
#include "support/TempFolder.h"

namespace corvane::test {

std::vector<std::int16_t> Sine(double hz, int rate, double seconds, double amplitude) {
  const auto n = static_cast<std::size_t>(std::lround(rate * seconds));
  std::vector<std::int16_t> out(n);
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = static_cast<std::int16_t>(std::lround(
        amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate)));
  }
  return out;
}

std::vector<std::int16_t> StereoTones(double leftHz, double rightHz, int rate, double seconds,
                                      double amplitude) {
  const auto left = Sine(leftHz, rate, seconds, amplitude);
  const auto right = Sine(rightHz, rate, seconds, amplitude);
  std::vector<std::int16_t> out(left.size() * 2);
  for (std::size_t i = 0; i < left.size(); ++i) {
    out[2 * i] = left[i];
    out[2 * i + 1] = right[i];
  }
  return out;
}

std::vector<std::int16_t> Constant(std::int16_t value, std::size_t n) {
  return std::vector<std::int16_t>(n, value);
}

void WriteAudio(const std::filesystem::path& path, const std::string& codec, int rate,
                std::span<const std::int16_t> samples, int channels) {
  AudioEncoder encoder;
  ASSERT_TRUE(encoder.Open(path, {codec, rate, channels, {}, {}, {}})) << encoder.Error();
  ASSERT_TRUE(encoder.Write(samples)) << encoder.Error();
  ASSERT_TRUE(encoder.Finish()) << encoder.Error();
}

std::vector<std::uint8_t> SampleBytes(std::span<const std::int16_t> samples) {
  std::vector<std::uint8_t> bytes(samples.size() * 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    WriteLE16(bytes.data() + 2 * i, static_cast<std::uint16_t>(samples[i]));
  }
  return bytes;
}

std::vector<std::uint8_t> WaveBytes(int rate, std::span<const std::int16_t> samples) {
  const auto header = ProductionHeader(static_cast<std::uint32_t>(rate),
                                       static_cast<std::uint32_t>(samples.size() * 2));
  std::vector<std::uint8_t> bytes(header.begin(), header.end());
  const auto data = SampleBytes(samples);
  bytes.insert(bytes.end(), data.begin(), data.end());
  return bytes;
}

void WriteWave(const std::filesystem::path& path, int rate, std::span<const std::int16_t> samples) {
  WriteWholeFile(path, WaveBytes(rate, samples));
}

std::vector<std::int16_t> DecodeAll(const std::filesystem::path& path, int rate) {
  AudioDecoder decoder;
  if (!decoder.Open(path, rate)) return {};
  std::vector<std::int16_t> out;
  std::vector<std::int16_t> chunk(8192);
  for (;;) {
    const std::size_t n = decoder.Read(chunk);
    out.insert(out.end(), chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(n));
    if (n < chunk.size()) break;
  }
  if (decoder.Failed()) return {};
  return out;
}

double ToneAmplitude(std::span<const std::int16_t> samples, double hz, int rate) {
  if (samples.empty()) return 0;
  double re = 0;
  double im = 0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const double phase = 2 * std::numbers::pi * hz * static_cast<double>(i) / rate;
    re += samples[i] * std::cos(phase);
    im += samples[i] * std::sin(phase);
  }
  return 2 * std::hypot(re, im) / static_cast<double>(samples.size());
}

double ToneToRestDb(std::span<const std::int16_t> samples, double hz, int rate) {
  if (samples.empty()) return -100;
  double total = 0;
  for (const std::int16_t s : samples) total += static_cast<double>(s) * s;
  total /= static_cast<double>(samples.size());
  const double amplitude = ToneAmplitude(samples, hz, rate);
  const double tone = amplitude * amplitude / 2;
  const double rest = std::max(total - tone, 1e-9);
  return 10 * std::log10(tone / rest);
}

}  // namespace corvane::test
