#include "media/LoudnessPreference.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "common/Blanks.h"
#include "common/SettingsFile.h"

namespace corvane {
namespace {

// Far more than the file ever holds; anything past it is not read.
constexpr std::size_t kMaxFileBytes = 4096;

std::optional<double> TargetFrom(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
      value < kQuietestTargetLufs || value > kLoudestTargetLufs) {
    return std::nullopt;
  }
  return value;
}

void TakeLine(std::string_view line, LoudnessPreference& preference) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return;
  const std::string_view key = WithoutBlanksAround(line.substr(0, equals));
  const std::string_view value = WithoutBlanksAround(line.substr(equals + 1));
  if (key == "normalise") {
    if (value == "on" || value == "off") preference.normalise = value == "on";
    return;
  }
  double* target = key == "music"      ? &preference.musicLufs
                   : key == "messages" ? &preference.messageLufs
                                       : nullptr;
  if (const auto lufs = TargetFrom(value); target && lufs) *target = *lufs;
}

// Written without the locale, whose decimal comma the reader would refuse.
std::string TargetText(double lufs) {
  char digits[32];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, lufs, std::chars_format::fixed, 1);
  return error == std::errc() ? std::string(digits, end) : std::string("-16.0");
}

}  // namespace

LoudnessPreference ReadLoudnessPreference(const std::filesystem::path& applicationFolder) {
  LoudnessPreference preference;
  const auto bytes = ReadFileUpTo(applicationFolder / kLoudnessPreferenceFileName, kMaxFileBytes);
  if (!bytes) return preference;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  for (std::size_t at = 0; at < text.size();) {
    const auto end = std::min(text.find('\n', at), text.size());
    TakeLine(text.substr(at, end - at), preference);
    at = end + 1;
  }
  return preference;
}

bool SaveLoudnessPreference(const LoudnessPreference& preference,
                            const std::filesystem::path& applicationFolder) {
  const std::string text = std::string("normalise=") + (preference.normalise ? "on" : "off") +
                           "\nmusic=" + TargetText(preference.musicLufs) +
                           "\nmessages=" + TargetText(preference.messageLufs) + "\n";
  return WriteFileAtomically(
      applicationFolder / kLoudnessPreferenceFileName,
      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::optional<LoudnessTarget> LoudnessTargetFor(const LoudnessPreference& preference,
                                                MediaListKind kind) {
  if (!preference.normalise) return std::nullopt;
  LoudnessTarget target;
  target.lufs = kind == MediaListKind::Music ? preference.musicLufs : preference.messageLufs;
  return target;
}

}  // namespace corvane
