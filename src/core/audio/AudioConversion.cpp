#include "audio/AudioConversion.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/AudioDecoder.h"
#include "audio/AudioEncoder.h"
#include "audio/StreamCopy.h"
#include "audio/TelephoneLine.h"
#include "common/ReplacingFile.h"

namespace corvane {
namespace {

constexpr std::size_t kChunkSamples = 16384;

ConversionResult Failure(ConversionStatus status, std::string reason) {
  return {static_cast<std::int32_t>(status), 0, std::move(reason)};
}

// Reports whole percents, each once.
class PercentReporter {
 public:
  PercentReporter(Progress& progress, std::string_view caption) : progress_(progress) {
    progress_.SetCaption(caption);
    progress_.SetRange(0, 100);
    progress_.SetPosition(0);
  }
  void At(double fraction) {
    const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
    if (percent > last_) {
      last_ = percent;
      progress_.SetPosition(percent);
    }
  }

 private:
  Progress& progress_;
  int last_ = 0;
};

// Scales samples by a gain in dB, rounding; the ceiling keeps them inside
// the 16-bit range, so clamping only guards rounding at the very top.
void ApplyGain(std::span<std::int16_t> samples, double gainDb) {
  const double factor = std::pow(10.0, gainDb / 20.0);
  for (std::int16_t& s : samples) {
    s = static_cast<std::int16_t>(std::clamp(std::lround(s * factor), -32768L, 32767L));
  }
}

// A file normalised on conversion is decoded once, into memory, measured
// there and then scaled and encoded; past this many samples (an hour at
// 48 kHz) it is measured in a pass of its own instead, so memory stays
// bounded whatever the rate.
constexpr std::size_t kMaxHeldSamples = std::size_t{3600} * 48000;

ConversionResult Encode(const std::filesystem::path& source, const std::filesystem::path& work,
                        const std::filesystem::path& destination, const std::string& codec,
                        int rate, const ConversionOptions& options, PercentReporter& percent) {
  double gainDb = 0;
  const std::optional<LoudnessTarget>& loudness = options.loudness;
  std::optional<TelephoneLine> line;
  if (options.telephone) line.emplace();
  AudioDecoder decoder;
  if (!decoder.Open(source, rate)) {
    return Failure(ConversionStatus::SourceUnreadable, decoder.Error());
  }
  AudioEncoder encoder;
  if (!encoder.Open(work, {codec, rate, 1, {}, {}, destination})) {
    return Failure(
        encoder.SettingsRejected() ? ConversionStatus::Unsupported : ConversionStatus::WriteFailed,
        encoder.Error());
  }
  std::vector<std::int16_t> held;
  std::vector<std::int16_t> chunk(kChunkSamples);
  const auto write = [&](std::span<std::int16_t> samples) {
    if (gainDb != 0) ApplyGain(samples, gainDb);
    if (line) TelephoneLine::Compand(samples);
    return samples.empty() || encoder.Write(samples);
  };
  bool holding = loudness.has_value();
  for (;;) {
    const std::size_t n = decoder.Read(chunk);
    const std::span<std::int16_t> got(chunk.data(), n);
    if (line) line->CutBass(got);
    if (holding && held.size() + n <= kMaxHeldSamples) {
      held.insert(held.end(), got.begin(), got.end());
    } else {
      if (holding) {
        // Too long to hold: measured on its own, then written as it comes.
        holding = false;
        const LoudnessFigures figures = MeasureLoudness(source, RangeWanted::No, nullptr, rate);
        if (!figures.measured) return Failure(ConversionStatus::SourceUnreadable, figures.error);
        gainDb = NormalisingGainDb(figures, *loudness);
        if (!write(held)) return Failure(ConversionStatus::WriteFailed, encoder.Error());
        held = {};
      }
      if (!write(got)) return Failure(ConversionStatus::WriteFailed, encoder.Error());
    }
    // A file held to be measured is only half done once decoded.
    percent.At(holding ? decoder.Fraction() / 2 : decoder.Fraction());
    if (n < chunk.size()) break;
  }
  if (decoder.Failed()) return Failure(ConversionStatus::SourceUnreadable, decoder.Error());
  // A stream with frames but not one of them decodable is damaged; one that
  // is simply empty converts to an empty file.
  if (decoder.SamplesDelivered() == 0 && decoder.SkippedErrors() > 0) {
    return Failure(ConversionStatus::SourceUnreadable,
                   source.string() + " holds no decodable audio");
  }
  if (holding) {
    gainDb = NormalisingGainDb(MeasureLoudness(held, rate, RangeWanted::No), *loudness);
    for (std::size_t at = 0; at < held.size(); at += kChunkSamples) {
      const std::size_t n = std::min(kChunkSamples, held.size() - at);
      if (!write(std::span(held).subspan(at, n))) {
        return Failure(ConversionStatus::WriteFailed, encoder.Error());
      }
      percent.At(0.5 + 0.5 * static_cast<double>(at + n) / static_cast<double>(held.size()));
    }
  }
  if (!encoder.Finish()) return Failure(ConversionStatus::WriteFailed, encoder.Error());
  return {0, static_cast<std::int32_t>(decoder.SamplesDelivered() / rate), {}, gainDb};
}

}  // namespace

ConversionResult AudioConversion(const std::filesystem::path& source,
                                 const std::filesystem::path& destination,
                                 const ST_AUDIO_TYPE& audio, std::string_view caption,
                                 Progress& progress, const ConversionOptions& options) {
  const std::string codec = audio.CallCodec.Str();
  const int rate = options.telephone ? kTelephoneRate : audio.ConversionRate;
  if (codec.empty())
    return Failure(ConversionStatus::Unsupported, "no codec named for the conversion");
  if (codec != "copy" && (rate <= 0 || rate > kMaxSampleRate)) {
    return Failure(ConversionStatus::Unsupported,
                   "the conversion rate " + std::to_string(rate) + " Hz is out of range");
  }
  if (destination.empty() || destination.filename().empty()) {
    return Failure(ConversionStatus::WriteFailed, "no destination file named");
  }

  PercentReporter percent(progress, caption);
  ReplacingFile work(destination);
  if (!work.IsOpen()) {
    return Failure(ConversionStatus::WriteFailed, "cannot create a file beside " + destination.string());
  }
  ConversionResult result;
  if (codec == "copy") {
    const StreamCopyResult copied =
        CopyAudioStream(source, work.WritePath(), destination, [&](double f) { percent.At(f); });
    result = copied.ok ? ConversionResult{0, static_cast<std::int32_t>(copied.seconds), {}}
                       : Failure(ConversionStatus::SourceUnreadable, copied.error);
  } else {
    result = Encode(source, work.WritePath(), destination, codec, rate, options, percent);
  }
  if (!result.Succeeded()) return result;
  if (!work.Commit()) {
    return Failure(ConversionStatus::WriteFailed, "cannot replace " + destination.string());
  }
  percent.At(1.0);
  return result;
}

}  // namespace corvane
