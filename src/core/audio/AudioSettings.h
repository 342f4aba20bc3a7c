#pragma once
// The project-wide audio parameters: the rate every list file is converted at,
// the rate and codec of the exported production, and its maximum length.
// They live inside the audio record and are stored per device model.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>

#include "audio/AudioType.h"

namespace corvane {

struct AudioSettings {
  AudioText ProjectRateText{"22050"};
  std::int32_t ProjectRate = 22050;
  AudioText OutputRateText{"22050"};
  std::int32_t OutputRate = 22050;
  AudioText OutputCodec{"pcm_s16le"};
  std::int32_t MaxLength = 3600;  // seconds

  bool operator==(const AudioSettings&) const = default;
};

struct OutputCodecChoice {
  std::string_view display;
  std::string_view codec;
};

// The sampling rates offered, in list order.
inline constexpr std::array<std::int32_t, 8> kOfferedRates = {8000,  11025, 16000, 22050,
                                                              24000, 32000, 44100, 48000};
// The output codecs offered, in list order.
inline constexpr std::array<OutputCodecChoice, 5> kOutputCodecs = {{
    {"OGG", "libvorbis"},
    {"WAV/PCM 16 Bit", "pcm_s16le"},
    {"WAV/PCM 8 Bit", "pcm_u8"},
    {"WAV/PCM A-Law", "pcm_alaw"},
    {"WAV/PCM Mu-Law", "pcm_mulaw"},
}};

inline constexpr std::size_t kAudioSettingsFileSize = 72;

AudioSettings AudioSettingsOf(const ST_AUDIO_TYPE& audio);
void ApplyAudioSettings(ST_AUDIO_TYPE& audio, const AudioSettings& settings);

std::array<std::uint8_t, kAudioSettingsFileSize> EncodeAudioSettings(const AudioSettings& settings);
// Nothing unless the bytes are exactly one settings file.
std::optional<AudioSettings> DecodeAudioSettings(std::span<const std::uint8_t> bytes);

// "audio_settings." + model number, in the application folder.
std::filesystem::path AudioSettingsPath(const std::filesystem::path& appFolder, std::int32_t model);

// Loads the model's file into the record; the defaults when the file is
// missing or not exactly 72 bytes. True when the file was used.
bool LoadAudioSettings(ST_AUDIO_TYPE& audio, const std::filesystem::path& appFolder,
                       std::int32_t model);
// The sampling-rate screen's positions: the two rate lists, the codec list
// and the maximum length in minutes (1..60).
struct AudioSettingsChoice {
  int projectRate = 3;
  int outputRate = 3;
  int codec = 1;
  int maxMinutes = 60;
  bool operator==(const AudioSettingsChoice&) const = default;
};
// A rate or codec no list offers shows as 22050 or "WAV/PCM 16 Bit".
AudioSettingsChoice ChoiceOf(const AudioSettings& settings);
AudioSettings SettingsOf(const AudioSettingsChoice& choice);

// Replaces the model's file; false when it could not be written.
bool SaveAudioSettings(const AudioSettings& settings, const std::filesystem::path& appFolder,
                       std::int32_t model);

}  // namespace corvane
