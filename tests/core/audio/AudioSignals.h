#pragma once
// Generated test signals and the measurements the audio tests make on what
// the engine wrote: tones, files in any codec, and the strength of a tone.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "audio/AudioType.h"

namespace corvane::test {

// A sine tone, mono.
std::vector<std::int16_t> Sine(double hz, int rate, double seconds, double amplitude = 12000);
// Two tones, one per channel, interleaved left/right.
std::vector<std::int16_t> StereoTones(double leftHz, double rightHz, int rate, double seconds,
                                      double amplitude = 12000);
// n samples all of one value.
std::vector<std::int16_t> Constant(std::int16_t value, std::size_t n);

// Writes samples through the engine's encoder; the container follows the
// codec or, for other encoders, the file's extension. Fails the test on error.
void WriteAudio(const std::filesystem::path& path, const std::string& codec, int rate,
                std::span<const std::int16_t> samples, int channels = 1);
// The samples as 16-bit little-endian bytes, as WAV data and the mixer hold them.
std::vector<std::uint8_t> SampleBytes(std::span<const std::int16_t> samples);
// A mono 16-bit WAV with the production header and these samples.
std::vector<std::uint8_t> WaveBytes(int rate, std::span<const std::int16_t> samples);
void WriteWave(const std::filesystem::path& path, int rate, std::span<const std::int16_t> samples);

// Every sample of the file, mono, at rate (the file's own when 0); empty when
// it cannot be decoded.
std::vector<std::int16_t> DecodeAll(const std::filesystem::path& path, int rate = 0);

// The amplitude of the tone at hz in the samples (a single-bin DFT).
double ToneAmplitude(std::span<const std::int16_t> samples, double hz, int rate);
// The ratio, in dB, of the tone's power to the power of everything else.
double ToneToRestDb(std::span<const std::int16_t> samples, double hz, int rate);

// The audio record of one conversion call: this codec at this rate.
inline ST_AUDIO_TYPE Call(const std::string& codec, int rate) {
  ST_AUDIO_TYPE audio;
  audio.ChannelCount = 1;
  audio.ProjectCodec.Set("libvorbis");
  audio.CallCodec.Set(codec);
  audio.SetConversionRate(std::to_string(rate), rate);
  return audio;
}

}  // namespace corvane::test
