#pragma once
// MixProduction renders a channel's music and message lists into one mono
// 16-bit WAV file, "output.wav" in the working folder: each list file is
// decoded through the converter into "temp.wav" and read back, the messages
// whole and the music in pieces that stream through the mix into the file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "audio/AudioConversion.h"
#include "audio/AudioType.h"
#include "channel/ChannelConfig.h"
#include "operator/Operator.h"

namespace corvane {

// What the operator is told when a production cannot be made.
inline constexpr const char* kMixingErrorTitle = "Mixing Error";
inline constexpr const char* kCannotMixText = "Unable to mix music and messages.";

inline constexpr const char* kProductionFileName = "output.wav";
inline constexpr const char* kListWorkFileName = "temp.wav";

struct MixServices {
  Operator& op;
  AudioConverter& converter;
  Progress& progress;
  std::filesystem::path mediaFolder;  // where the playlists' files are
  std::filesystem::path workFolder;   // where temp.wav and output.wav go
};

// Decodes the entry's file (in the media folder) to 16-bit PCM at the
// conversion rate and reads it into input, at most maxBytes of it. The call's codec is set back to the project codec and
// temp.wav deleted whatever happens. False when the name would leave the
// media folder, or the conversion or the read failed.
bool PrepareListFile(const MediaEntry& entry, ST_AUDIO_TYPE& audio, const MixServices& services,
                     std::vector<std::uint8_t>& input, std::size_t maxBytes);

// The same for a music file, whose samples are handed to place in pieces
// small enough to stay in the processor's cache, instead of being read whole
// into the input buffer first: music is only ever appended, so it needs no
// buffer of its own, and a one-hour production is spared a pass over memory.
// scratch holds the header and the pieces; a file whose header does not fit
// the first piece is read whole, at most maxBytes of it.
using MusicPlacer = std::function<void(std::span<const std::uint8_t>)>;
bool PrepareMusicFile(const MediaEntry& entry, ST_AUDIO_TYPE& audio, const MixServices& services,
                      std::vector<std::uint8_t>& scratch, std::size_t maxBytes,
                      const MusicPlacer& place);

// Mixes at the record's conversion rate. path is emptied first and on
// success names the production file. Failures are told to the operator
// ("Not enough free memory available.", "Unable to mix music and
// messages."); a failed mix leaves no production file behind, not even one
// from an earlier mix. A production cut at its capacity is told once.
bool MixProduction(const ChannelConfig& channel, ST_AUDIO_TYPE& audio, const MixServices& services,
                   std::string& path);

// The most bytes of samples a production may hold: (maximum length + 60
// seconds) at the higher of the project and output rates, and never more
// than a WAV file can state.
std::int64_t ProductionCapacity(const ST_AUDIO_TYPE& audio);

}  // namespace corvane
