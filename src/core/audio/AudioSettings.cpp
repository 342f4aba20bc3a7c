#include "audio/AudioSettings.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>

#include "common/ByteOrder.h"
#include "common/SettingsFile.h"

namespace corvane {

AudioSettings AudioSettingsOf(const ST_AUDIO_TYPE& audio) {
  return {audio.ProjectRateText, audio.ProjectRate, audio.OutputRateText,
          audio.OutputRate,      audio.OutputCodec, audio.MaxLength};
}

void ApplyAudioSettings(ST_AUDIO_TYPE& audio, const AudioSettings& settings) {
  audio.ProjectRateText = settings.ProjectRateText;
  audio.ProjectRate = settings.ProjectRate;
  audio.OutputRateText = settings.OutputRateText;
  audio.OutputRate = settings.OutputRate;
  audio.OutputCodec = settings.OutputCodec;
  audio.MaxLength = settings.MaxLength;
}

std::array<std::uint8_t, kAudioSettingsFileSize> EncodeAudioSettings(const AudioSettings& settings) {
  std::array<std::uint8_t, kAudioSettingsFileSize> bytes{};
  std::memcpy(bytes.data() + 0, settings.ProjectRateText.bytes.data(), 20);
  std::memcpy(bytes.data() + 20, settings.OutputRateText.bytes.data(), 20);
  std::memcpy(bytes.data() + 40, settings.OutputCodec.bytes.data(), 20);
  WriteBE32(bytes.data() + 60, static_cast<std::uint32_t>(settings.ProjectRate));
  WriteBE32(bytes.data() + 64, static_cast<std::uint32_t>(settings.OutputRate));
  WriteBE32(bytes.data() + 68, static_cast<std::uint32_t>(settings.MaxLength));
  return bytes;
}

std::optional<AudioSettings> DecodeAudioSettings(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kAudioSettingsFileSize) return std::nullopt;
  AudioSettings settings;
  // The texts are kept as the 20 bytes stored, so a file read and written back
  // is unchanged.
  std::memcpy(settings.ProjectRateText.bytes.data(), bytes.data() + 0, 20);
  std::memcpy(settings.OutputRateText.bytes.data(), bytes.data() + 20, 20);
  std::memcpy(settings.OutputCodec.bytes.data(), bytes.data() + 40, 20);
  settings.ProjectRate = static_cast<std::int32_t>(ReadBE32(bytes.data() + 60));
  settings.OutputRate = static_cast<std::int32_t>(ReadBE32(bytes.data() + 64));
  settings.MaxLength = static_cast<std::int32_t>(ReadBE32(bytes.data() + 68));
  return settings;
}

std::filesystem::path AudioSettingsPath(const std::filesystem::path& appFolder, std::int32_t model) {
  return appFolder / ("audio_settings." + std::to_string(model));
}

bool LoadAudioSettings(ST_AUDIO_TYPE& audio, const std::filesystem::path& appFolder,
                       std::int32_t model) {
  std::error_code ignored;
  std::filesystem::create_directories(appFolder, ignored);
  // Reading past 72 bytes tells a longer file apart from a good one.
  const auto bytes = ReadFileUpTo(AudioSettingsPath(appFolder, model), 256);
  const auto settings = bytes ? DecodeAudioSettings(*bytes) : std::nullopt;
  ApplyAudioSettings(audio, settings.value_or(AudioSettings{}));
  return settings.has_value();
}

bool SaveAudioSettings(const AudioSettings& settings, const std::filesystem::path& appFolder,
                       std::int32_t model) {
  return WriteFileAtomically(AudioSettingsPath(appFolder, model), EncodeAudioSettings(settings));
}

AudioSettingsChoice ChoiceOf(const AudioSettings& settings) {
  AudioSettingsChoice choice;
  const auto rateAt = [](const AudioText& text, int fallback) {
    for (std::size_t i = 0; i < kOfferedRates.size(); ++i) {
      if (text.View() == std::to_string(kOfferedRates[i])) return static_cast<int>(i);
    }
    return fallback;
  };
  choice.projectRate = rateAt(settings.ProjectRateText, choice.projectRate);
  choice.outputRate = rateAt(settings.OutputRateText, choice.outputRate);
  for (std::size_t i = 0; i < kOutputCodecs.size(); ++i) {
    if (settings.OutputCodec.View() == kOutputCodecs[i].codec) choice.codec = static_cast<int>(i);
  }
  choice.maxMinutes = std::clamp(settings.MaxLength / 60, 1, 60);
  return choice;
}

AudioSettings SettingsOf(const AudioSettingsChoice& choice) {
  const auto at = [](auto& list, int index) -> auto& {
    return list[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(list.size()) - 1))];
  };
  AudioSettings settings;
  settings.ProjectRate = at(kOfferedRates, choice.projectRate);
  settings.ProjectRateText.Set(std::to_string(settings.ProjectRate));
  settings.OutputRate = at(kOfferedRates, choice.outputRate);
  settings.OutputRateText.Set(std::to_string(settings.OutputRate));
  settings.OutputCodec.Set(at(kOutputCodecs, choice.codec).codec);
  settings.MaxLength = std::clamp(choice.maxMinutes, 1, 60) * 60;
  return settings;
}

}  // namespace corvane
