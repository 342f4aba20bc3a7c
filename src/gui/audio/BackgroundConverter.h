#pragma once
// Conversions off the UI thread. The flow that adds a file still reads as
// one call: Convert runs the real conversion on a worker thread and waits in
// a local event loop, so the window repaints, its timers tick and the
// progress it is given moves meanwhile. The progress is only ever called on
// the UI thread. Whoever shows the screen keeps the operator's input away
// while Busy(): the flow is in the middle of an addition.

#include "audio/AudioConversion.h"

namespace corvane {

class BackgroundConverter final : public AudioConverter {
 public:
  explicit BackgroundConverter(AudioConverter& inner) : inner_(inner) {}

  ConversionResult Convert(const std::filesystem::path& source,
                           const std::filesystem::path& destination, const ST_AUDIO_TYPE& audio,
                           std::string_view caption, Progress& progress,
                           const ConversionOptions& options) override;
  bool Busy() const { return busy_; }

 private:
  AudioConverter& inner_;
  bool busy_ = false;
};

}  // namespace corvane
