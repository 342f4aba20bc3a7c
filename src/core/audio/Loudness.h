#pragma once
// How loud a file sounds as the players will play it: the integrated
// loudness (EBU R128 / ITU-R BS.1770, in LUFS), the loudness range (LU) and
// the true peak (dBTP) of its mono mix at the source's own rate, measured
// with libebur128. Every file is played in mono, so the mono mix is what a
// caller hears; for a mono file the figures are the file's own.

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace corvane {

struct LoudnessFigures {
  bool measured = false;
  std::string error;  // why not, when not measured
  double integratedLufs = 0;  // -inf (shown as "-inf") for silence
  double rangeLu = 0;  // NaN when not asked for
  double truePeakDbtp = 0;  // -inf for silence
};

// The loudness range takes a reading every 100 ms; whoever needs only the
// loudness and the peak (normalising, a tooltip) measures faster without it.
enum class RangeWanted { Yes, No };

// Once cancelled is set, the measuring stops and the figures say why. The
// file is measured at rate, its own when 0.
LoudnessFigures MeasureLoudness(const std::filesystem::path& file,
                                RangeWanted range = RangeWanted::Yes,
                                const std::atomic<bool>* cancelled = nullptr, int rate = 0);
// The same for mono samples already decoded at that rate.
LoudnessFigures MeasureLoudness(std::span<const std::int16_t> samples, int rate,
                                RangeWanted range = RangeWanted::Yes);

// Where normalising brings a file: its integrated loudness, with the true
// peak kept at or below a ceiling so nothing clips.
struct LoudnessTarget {
  double lufs = -16;
  double truePeakCeilingDbtp = -1;
};

// The gain, in dB, that brings the measured file to the target, less where
// the peak would pass the ceiling. None for silence, which has no loudness.
double NormalisingGainDb(const LoudnessFigures& figures, const LoudnessTarget& target);

}  // namespace corvane
