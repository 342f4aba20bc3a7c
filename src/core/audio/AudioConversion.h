#pragma once
// AudioConversion: the one call through which every file is decoded,
// resampled and re-encoded. It reads any audio file FFmpeg reads, mixes it
// down to one channel, resamples it to the record's conversion rate and
// writes the codec of the call (field CallCodec): "libvorbis" (.ogg), the PCM
// variants (.wav), "libmp3lame" (.mp3), or "copy" (the stream as it is).

#include <optional>

#include "audio/Loudness.h"
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "audio/AudioType.h"
#include "common/Progress.h"

namespace corvane {

inline constexpr std::string_view kAddingFileCaption = "Adding File ...";
inline constexpr std::string_view kProcessingFilesCaption = "Processing Files ...";
inline constexpr std::string_view kConvertingFileCaption = "Converting File ...";

enum class ConversionStatus : std::int32_t {
  Ok = 0,
  SourceUnreadable = 1,  // missing, not audio, or damaged beyond decoding
  Unsupported = 2,       // codec or rate the engine cannot write
  WriteFailed = 3,       // the destination could not be written
};

struct ConversionResult {
  std::int32_t result = 0;    // a ConversionStatus; 0 is success
  std::int32_t duration = 0;  // whole seconds, truncated
  std::string reason;         // why it failed, for the log
  double gainDb = 0;          // what normalising the loudness applied

  bool Succeeded() const { return result == 0; }
};

// Writes the destination beside itself and moves it into place only when it
// is complete: after a failure no partial destination exists, and a file that
// was already there is as it was.
//
// The options apply to decoded samples, so not to "copy":
// - with a loudness target the source is measured and its samples scaled on
//   their way to the encoder; gainDb in the result says by how much;
// - through the telephone line the file is rendered as a caller hears it,
//   at the line's 8000 Hz whatever the record's rate.
struct ConversionOptions {
  std::optional<LoudnessTarget> loudness;
  bool telephone = false;
};
ConversionResult AudioConversion(const std::filesystem::path& source,
                                 const std::filesystem::path& destination,
                                 const ST_AUDIO_TYPE& audio, std::string_view caption,
                                 Progress& progress, const ConversionOptions& options = {});

// The seam through which flows convert, so a test can stand in for FFmpeg.
class AudioConverter {
 public:
  virtual ~AudioConverter() = default;
  virtual ConversionResult Convert(const std::filesystem::path& source,
                                   const std::filesystem::path& destination,
                                   const ST_AUDIO_TYPE& audio, std::string_view caption,
                                   Progress& progress, const ConversionOptions& options) = 0;
};

class FfmpegAudioConverter final : public AudioConverter {
 public:
  ConversionResult Convert(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const ST_AUDIO_TYPE& audio,
                           std::string_view caption, Progress& progress,
                           const ConversionOptions& options) override {
    return AudioConversion(source, destination, audio, caption, progress, options);
  }
};

}  // namespace corvane
