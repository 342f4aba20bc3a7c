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

LoudnessFigures MeasureLoudness(const std::filesystem::path& file) {
  LoudnessFigures figures;
  AudioDecoder decoder;
  if (!decoder.Open(file)) {
    figures.error = decoder.Error();
    return figures;
  }
  const std::unique_ptr<ebur128_state, MeterDeleter> meter(
      ebur128_init(1, static_cast<unsigned long>(decoder.OutputRate()),
                   EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_TRUE_PEAK));
  if (!meter) {
    figures.error = "the loudness meter cannot measure at " + std::to_string(decoder.OutputRate()) + " Hz";
    return figures;
  }
  std::vector<std::int16_t> block(kBlockSamples);
  for (std::size_t got; (got = decoder.Read(block)) > 0;) {
    if (ebur128_add_frames_short(meter.get(), block.data(), got) != EBUR128_SUCCESS) {
      figures.error = "the loudness meter ran out of memory";
      return figures;
    }
  }
  if (decoder.Failed()) {
    figures.error = decoder.Error();
    return figures;
  }
  double peak = 0;
  if (ebur128_loudness_global(meter.get(), &figures.integratedLufs) != EBUR128_SUCCESS ||
      ebur128_loudness_range(meter.get(), &figures.rangeLu) != EBUR128_SUCCESS ||
      ebur128_true_peak(meter.get(), 0, &peak) != EBUR128_SUCCESS) {
    figures.error = "the loudness could not be measured";
    return figures;
  }
  figures.truePeakDbtp = 20 * std::log10(peak);  // -inf for silence
  figures.measured = true;
  return figures;
}

double NormalisingGainDb(const LoudnessFigures& figures, const LoudnessTarget& target) {
  if (!figures.measured || !std::isfinite(figures.integratedLufs)) return 0;
  const double toTarget = target.lufs - figures.integratedLufs;
  if (!std::isfinite(figures.truePeakDbtp)) return toTarget;
  return std::min(toTarget, target.truePeakCeilingDbtp - figures.truePeakDbtp);
}

}  // namespace corvane
