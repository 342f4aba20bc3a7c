#pragma once
// Stand-ins for the converter and the player, for the flows that use them:
// they record every call, and the converter can fail or hand back bytes of
// the test's choosing instead of converting.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "audio/AudioConversion.h"
#include "audio/MediaPlayer.h"

namespace corvane::test {

class RecordingConverter final : public AudioConverter {
 public:
  struct Call {
    std::filesystem::path source;
    std::filesystem::path destination;
    std::string codec;
    int rate = 0;
    std::string caption;
    std::optional<LoudnessTarget> loudness;
  };

  ConversionResult Convert(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const ST_AUDIO_TYPE& audio,
                           std::string_view caption, Progress& progress,
                           const ConversionOptions& options) override;

  std::vector<Call> calls;
  // When set, the call with this caption fails without converting.
  std::optional<std::string> failCaption;
  // When set, called as each conversion starts, on the thread that runs it.
  std::function<void()> onConvert;
  // When set, every conversion writes these bytes instead of converting.
  std::optional<std::vector<std::uint8_t>> replyBytes;
};

class RecordingPlayer final : public MediaPlayer {
 public:
  void Stop() override {
    log.push_back("stop");
    playing.clear();
    if (onStop) onStop();
  }
  void PlayFile(const std::string& path) override {
    log.push_back("play " + path);
    playing = path;
  }
  std::string Status() override { return playing.empty() ? "Stopped" : "Playing"; }
  void Release() override { log.push_back("release"); }

  std::vector<std::string> log;
  std::string playing;
  // When set, called after each Stop, on the thread that stopped.
  std::function<void()> onStop;
};

}  // namespace corvane::test
