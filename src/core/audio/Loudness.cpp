#include "audio/Loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "audio/AudioDecoder.h"

namespace corvane {
namespace {

struct MeterDeleter {
  void operator()(ebur128_state* state) const noexcept { ebur128_destroy(&state); }
};

constexpr std::size_t kBlockSamples = 1 << 16;

}  // namespace

namespace {

using Meter = std::unique_ptr<ebur128_state, MeterDeleter>;

Meter OpenMeter(int rate, LoudnessFigures& figures) {
  Meter meter(ebur128_init(1, static_cast<unsigned long>(rate),
                           EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_TRUE_PEAK));
  if (!meter) figures.error = "the loudness meter cannot measure at " + std::to_string(rate) + " Hz";
  return meter;
}

bool Add(ebur128_state* meter, std::span<const std::int16_t> samples, LoudnessFigures& figures) {
  if (samples.empty() || ebur128_add_frames_short(meter, samples.data(), samples.size()) == EBUR128_SUCCESS) {
    return true;
  }
  figures.error = "the loudness meter ran out of memory";
  return false;
}

void Finish(ebur128_state* meter, LoudnessFigures& figures) {
  double peak = 0;
  if (ebur128_loudness_global(meter, &figures.integratedLufs) != EBUR128_SUCCESS ||
      ebur128_loudness_range(meter, &figures.rangeLu) != EBUR128_SUCCESS ||
      ebur128_true_peak(meter, 0, &peak) != EBUR128_SUCCESS) {
    figures.error = "the loudness could not be measured";
    return;
  }
  figures.truePeakDbtp = 20 * std::log10(peak);  // -inf for silence
  figures.measured = true;
}

}  // namespace

LoudnessFigures MeasureLoudness(const std::filesystem::path& file,
                                const std::atomic<bool>* cancelled) {
  LoudnessFigures figures;
  AudioDecoder decoder;
  if (!decoder.Open(file)) {
    figures.error = decoder.Error();
    return figures;
  }
  const Meter meter = OpenMeter(decoder.OutputRate(), figures);
  if (!meter) return figures;
  std::vector<std::int16_t> block(kBlockSamples);
  for (std::size_t got; (got = decoder.Read(block)) > 0;) {
    if (cancelled && *cancelled) {
      figures.error = "the measuring was cancelled";
      return figures;
    }
    if (!Add(meter.get(), std::span(block).first(got), figures)) return figures;
  }
  if (decoder.Failed()) {
    figures.error = decoder.Error();
    return figures;
  }
  Finish(meter.get(), figures);
  return figures;
}

LoudnessFigures MeasureLoudness(std::span<const std::int16_t> samples, int rate) {
  LoudnessFigures figures;
  const Meter meter = OpenMeter(rate, figures);
  if (meter && Add(meter.get(), samples, figures)) Finish(meter.get(), figures);
  return figures;
}

double NormalisingGainDb(const LoudnessFigures& figures, const LoudnessTarget& target) {
  if (!figures.measured || !std::isfinite(figures.integratedLufs)) return 0;
  const double toTarget = target.lufs - figures.integratedLufs;
  if (!std::isfinite(figures.truePeakDbtp)) return toTarget;
  return std::min(toTarget, target.truePeakCeilingDbtp - figures.truePeakDbtp);
}

}  // namespace corvane
