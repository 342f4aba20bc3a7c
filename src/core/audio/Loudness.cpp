#include "audio/Loudness.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "audio/AudioDecoder.h"

namespace corvane {
namespace {

struct MeterDeleter {
  void operator()(ebur128_state* state) const noexcept { ebur128_destroy(&state); }
};

constexpr std::size_t kBlockSamples = 1 << 16;

using Meter = std::unique_ptr<ebur128_state, MeterDeleter>;

// The loudness range is the spread (10th to 95th percentile) of the
// short-term loudness, gated at -70 LUFS and at 20 LU below its mean. The
// library takes the short-term loudness once a second for it; broadcast
// meters (FFmpeg's among them) take it ten times a second, which gives a
// different range on material that changes quickly. So the short-term
// loudness is read from the library every 100 ms and the range reckoned
// here, with a histogram so a long file needs no more memory than a short one.
class RangeHistogram {
 public:
  void Add(double lufs) {
    if (!(lufs > kAbsoluteGate)) return;
    const auto bin = static_cast<std::size_t>(
        std::clamp((lufs - kAbsoluteGate) / kBinLu, 0.0, static_cast<double>(kBins - 1)));
    ++bins_[bin];
    ++count_;
    energy_ += std::pow(10.0, lufs / 10);
  }
  double Lu() const {
    if (count_ == 0) return 0;
    const double gate = 10 * std::log10(energy_ / static_cast<double>(count_)) - 20;
    const auto first = static_cast<std::size_t>(std::max(0.0, (gate - kAbsoluteGate) / kBinLu));
    std::uint64_t gated = 0;
    for (std::size_t bin = first; bin < kBins; ++bin) gated += bins_[bin];
    if (gated == 0) return 0;
    return Percentile(first, gated, 0.95) - Percentile(first, gated, 0.10);
  }

 private:
  static constexpr double kAbsoluteGate = -70;
  static constexpr double kBinLu = 0.01;
  static constexpr std::size_t kBins = 10000;  // up to +30 LUFS, far past full scale

  double Percentile(std::size_t first, std::uint64_t gated, double fraction) const {
    const auto rank = static_cast<std::uint64_t>(std::lround(static_cast<double>(gated - 1) * fraction));
    std::uint64_t seen = 0;
    for (std::size_t bin = first; bin < kBins; ++bin) {
      seen += bins_[bin];
      if (seen > rank) return kAbsoluteGate + (static_cast<double>(bin) + 0.5) * kBinLu;
    }
    return 0;
  }

  std::vector<std::uint64_t> bins_ = std::vector<std::uint64_t>(kBins);
  std::uint64_t count_ = 0;
  double energy_ = 0;
};

// The meter and what is reckoned beside it.
struct Measuring {
  Meter meter;
  std::optional<RangeHistogram> range;  // only when asked for
  std::size_t step = 0;        // samples between short-term readings: 100 ms
  std::size_t intoStep = 0;    // samples since the last short-term reading
  std::size_t fullWindow = 0;  // samples in 3 s, before which there is no short-term loudness
  std::size_t added = 0;
};

std::optional<Measuring> OpenMeter(int rate, RangeWanted range, LoudnessFigures& figures) {
  const bool wanted = range == RangeWanted::Yes;
  Meter meter(ebur128_init(1, static_cast<unsigned long>(rate),
                           EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK | (wanted ? EBUR128_MODE_S : 0)));
  if (!meter) {
    figures.error = "the loudness meter cannot measure at " + std::to_string(rate) + " Hz";
    return std::nullopt;
  }
  const auto step = static_cast<std::size_t>(std::max(rate / 10, 1));
  std::optional<RangeHistogram> histogram;
  if (wanted) histogram.emplace();
  return Measuring{std::move(meter), std::move(histogram), step, 0, step * 30, 0};
}

bool Add(Measuring& m, std::span<const std::int16_t> samples, LoudnessFigures& figures) {
  while (!samples.empty()) {
    // Without the range the samples go to the meter as they come.
    const std::size_t n = m.range ? std::min(samples.size(), m.step - m.intoStep) : samples.size();
    if (ebur128_add_frames_short(m.meter.get(), samples.data(), n) != EBUR128_SUCCESS) {
      figures.error = "the loudness meter ran out of memory";
      return false;
    }
    samples = samples.subspan(n);
    if (!m.range) break;
    m.added += n;
    m.intoStep += n;
    if (m.intoStep < m.step) break;
    m.intoStep = 0;
    double shortTerm = 0;
    if (m.added >= m.fullWindow &&
        ebur128_loudness_shortterm(m.meter.get(), &shortTerm) == EBUR128_SUCCESS) {
      m.range->Add(shortTerm);
    }
  }
  return true;
}

void Finish(Measuring& m, LoudnessFigures& figures) {
  double peak = 0;
  if (ebur128_loudness_global(m.meter.get(), &figures.integratedLufs) != EBUR128_SUCCESS ||
      ebur128_true_peak(m.meter.get(), 0, &peak) != EBUR128_SUCCESS) {
    figures.error = "the loudness could not be measured";
    return;
  }
  figures.rangeLu = m.range ? m.range->Lu() : std::numeric_limits<double>::quiet_NaN();
  figures.truePeakDbtp = 20 * std::log10(peak);  // -inf for silence
  figures.measured = true;
}

}  // namespace

LoudnessFigures MeasureLoudness(const std::filesystem::path& file, RangeWanted range,
                                const std::atomic<bool>* cancelled, int rate) {
  LoudnessFigures figures;
  AudioDecoder decoder;
  if (!decoder.Open(file, rate)) {
    figures.error = decoder.Error();
    return figures;
  }
  std::optional<Measuring> meter = OpenMeter(decoder.OutputRate(), range, figures);
  if (!meter) return figures;
  std::vector<std::int16_t> block(kBlockSamples);
  for (std::size_t got; (got = decoder.Read(block)) > 0;) {
    if (cancelled && *cancelled) {
      figures.error = "the measuring was cancelled";
      return figures;
    }
    if (!Add(*meter, std::span(block).first(got), figures)) return figures;
  }
  if (decoder.Failed()) {
    figures.error = decoder.Error();
    return figures;
  }
  Finish(*meter, figures);
  return figures;
}

LoudnessFigures MeasureLoudness(std::span<const std::int16_t> samples, int rate,
                                RangeWanted range) {
  LoudnessFigures figures;
  std::optional<Measuring> meter = OpenMeter(rate, range, figures);
  if (meter && Add(*meter, samples, figures)) Finish(*meter, figures);
  return figures;
}

double NormalisingGainDb(const LoudnessFigures& figures, const LoudnessTarget& target) {
  if (!figures.measured || !std::isfinite(figures.integratedLufs)) return 0;
  const double toTarget = target.lufs - figures.integratedLufs;
  if (!std::isfinite(figures.truePeakDbtp)) return toTarget;
  return std::min(toTarget, target.truePeakCeilingDbtp - figures.truePeakDbtp);
}

}  // namespace corvane
