#include "support/FakeAudio.h"

#include "support/TempFolder.h"

namespace corvane::test {

ConversionResult RecordingConverter::Convert(const std::filesystem::path& source,
                                             const std::filesystem::path& destination,
                                             const ST_AUDIO_TYPE& audio, std::string_view caption,
                                             Progress& progress, const ConversionOptions& options) {
  calls.push_back({source, destination, audio.CallCodec.Str(), audio.ConversionRate,
                   std::string(caption), options.loudness});
  if (onConvert) onConvert();
  if (failCaption && *failCaption == caption) return {1, 0, "told to fail"};
  if (replyBytes) {
    WriteWholeFile(destination, *replyBytes);
    return {0, 1, {}};
  }
  return AudioConversion(source, destination, audio, caption, progress, options);
}

}  // namespace corvane::test
