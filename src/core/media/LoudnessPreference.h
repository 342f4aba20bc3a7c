#pragma once
// The operator's own choice of evening out the loudness of added files, and
// the loudness each list is brought to. It is kept in a small text file of
// its own in the application folder, beside the settings files, which keep
// their sizes; a file that is missing, damaged or from a later version
// gives the defaults for what it does not say plainly.
//
//   normalise=off
//   music=-16.0
//   messages=-16.0

#include <filesystem>
#include <optional>

#include "audio/Loudness.h"
#include "channel/MediaList.h"

namespace corvane {

inline constexpr const char* kLoudnessPreferenceFileName = "loudness.txt";

// The targets the operator may choose, in LUFS: quieter than this is barely
// audible on a line, and no file can be louder than full scale.
inline constexpr double kQuietestTargetLufs = -40;
inline constexpr double kLoudestTargetLufs = -5;

struct LoudnessPreference {
  bool normalise = false;  // off, so packages stay as they were
  double musicLufs = -16;
  double messageLufs = -16;
  bool operator==(const LoudnessPreference&) const = default;
};

LoudnessPreference ReadLoudnessPreference(const std::filesystem::path& applicationFolder);
// False when the file could not be written; the previous one stays whole.
bool SaveLoudnessPreference(const LoudnessPreference& preference,
                            const std::filesystem::path& applicationFolder);

// Where an addition to the list brings its file; none when the operator
// keeps files as they are. Scheduled messages are messages.
std::optional<LoudnessTarget> LoudnessTargetFor(const LoudnessPreference& preference,
                                                MediaListKind kind);

}  // namespace corvane
