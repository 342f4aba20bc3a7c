#include "gui/audio/BackgroundConverter.h"

#include <QObject>

#include "gui/chrome/OffUiThread.h"

namespace corvane {
ConversionResult BackgroundConverter::Convert(const std::filesystem::path& source,
                                              const std::filesystem::path& destination,
                                              const ST_AUDIO_TYPE& audio, std::string_view caption,
                                              Progress& progress,
                                              const ConversionOptions& options) {
  QObject relay;
  HandedOverProgress handedOver(relay, progress);
  ConversionResult result;
  busy_ = true;
  RunOffUiThread(
      [&] { result = inner_.Convert(source, destination, audio, caption, handedOver, options); });
  busy_ = false;
  return result;
}

}  // namespace corvane
