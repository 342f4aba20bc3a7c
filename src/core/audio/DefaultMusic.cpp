#include "audio/DefaultMusic.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace corvane {
namespace {

constexpr double kBeatsPerMinute = 70;
constexpr double kBeat = 60.0 / kBeatsPerMinute;
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 62;
constexpr double kTail = 4.0;  // the last chord rings out

// Eight bars: Cmaj7 Am7 Fmaj7 G6 Em7 Am7 Dm7 G7; the first note is the bass.
constexpr std::array<std::array<int, 4>, 8> kChords = {{
    {48, 52, 55, 59},
    {45, 52, 55, 60},
    {41, 52, 57, 60},
    {43, 50, 55, 59},
    {40, 50, 55, 59},
    {45, 52, 55, 60},
    {38, 53, 57, 60},
    {43, 50, 53, 59},
}};
// C major pentatonic for the melody, two octaves up from middle C.
constexpr std::array<int, 10> kMelodyScale = {72, 74, 76, 79, 81, 84, 86, 88, 91, 93};

double Hz(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

// A sine from a table: the synthesis runs millions of oscillator steps.
class SineTable {
 public:
  SineTable() {
    for (std::size_t i = 0; i < kSize; ++i) {
      table_[i] = std::sin(2 * std::numbers::pi * static_cast<double>(i) / kSize);
    }
  }
  double operator()(double phase) const {  // phase in turns
    const double x = (phase - std::floor(phase)) * kSize;
    const auto i = static_cast<std::size_t>(x);
    const double f = x - static_cast<double>(i);
    return table_[i] + f * (table_[(i + 1) % kSize] - table_[i]);
  }

 private:
  static constexpr std::size_t kSize = 4096;
  std::array<double, kSize> table_{};
};

struct Section {
  bool arpeggio;
  bool melody;
};

Section SectionAt(int bar) {
  if (bar < 8) return {false, false};
  if (bar < 24) return {true, false};
  if (bar < 40) return {true, true};
  if (bar < 48) return {true, false};
  if (bar < 60) return {true, true};
  return {false, false};
}

// A note laid onto the buffer from start for length seconds.
class Voices {
 public:
  Voices(std::vector<double>& out, int rate) : out_(out), rate_(rate) {}

  // Soft pad: two slightly detuned sines and an octave, slow attack and release.
  void Pad(int note, double start, double length, double level) {
    const double f = Hz(note);
    Render(start, length + 1.2, [&](double t, double) {
      const double attack = std::min(t / 0.9, 1.0);
      const double release = t > length ? std::max(0.0, 1 - (t - length) / 1.2) : 1.0;
      const double tone = sine_(f * 1.0015 * t) + sine_(f * 0.9985 * t) + 0.25 * sine_(2 * f * t);
      return level * attack * release * tone / 2.25;
    });
  }

  // Round bass: sine with a little second harmonic, plucked envelope.
  void Bass(int note, double start, double length, double level) {
    const double f = Hz(note);
    Render(start, length + 0.2, [&](double t, double) {
      const double env = std::min(t / 0.02, 1.0) * std::exp(-t / 1.8) *
                         (t > length ? std::max(0.0, 1 - (t - length) / 0.2) : 1.0);
      return level * env * (sine_(f * t) + 0.3 * sine_(2 * f * t));
    });
  }

  // Electric piano: a two-operator FM tone whose brightness decays.
  void Piano(int note, double start, double level) {
    const double f = Hz(note);
    Render(start, 1.6, [&](double t, double) {
      const double index = 0.8 * std::exp(-t / 0.25);
      const double env = std::min(t / 0.012, 1.0) * std::exp(-t / 0.45);
      return level * env * sine_(f * t + index / (2 * std::numbers::pi) * sine_(f * t));
    });
  }

  // Flute-like melody note with a gentle vibrato.
  void Flute(int note, double start, double length, double level) {
    const double f = Hz(note);
    Render(start, length + 0.25, [&](double t, double) {
      const double env =
          std::min(t / 0.08, 1.0) * (t > length ? std::max(0.0, 1 - (t - length) / 0.25) : 1.0);
      const double vibrato =
          0.004 * std::min(t / 0.6, 1.0) * sine_(5.2 * t) / (2 * std::numbers::pi);
      const double phase = f * t + f * vibrato;
      return level * env * (sine_(phase) + 0.18 * sine_(2 * phase) + 0.05 * sine_(3 * phase));
    });
  }

 private:
  template <typename Shape>
  void Render(double start, double length, Shape shape) {
    const auto first = static_cast<std::size_t>(start * rate_);
    const auto count = static_cast<std::size_t>(length * rate_);
    for (std::size_t i = 0; i < count && first + i < out_.size(); ++i) {
      const double t = static_cast<double>(i) / rate_;
      out_[first + i] += shape(t, start + t);
    }
  }

  std::vector<double>& out_;
  int rate_;
  SineTable sine_;
};

// A small Schroeder reverb: four combs in parallel, two all-passes in series.
void Reverberate(std::vector<double>& signal, int rate) {
  const std::array<double, 4> combSeconds = {0.0297, 0.0371, 0.0411, 0.0437};
  const std::array<double, 2> passSeconds = {0.005, 0.0017};
  std::vector<double> wet(signal.size(), 0.0);
  for (const double seconds : combSeconds) {
    std::vector<double> line(static_cast<std::size_t>(seconds * rate) + 1, 0.0);
    std::size_t at = 0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
      const double delayed = line[at];
      line[at] = signal[i] + 0.78 * delayed;
      wet[i] += delayed / combSeconds.size();
      at = (at + 1) % line.size();
    }
  }
  for (const double seconds : passSeconds) {
    std::vector<double> line(static_cast<std::size_t>(seconds * rate) + 1, 0.0);
    std::size_t at = 0;
    for (double& x : wet) {
      const double delayed = line[at];
      const double in = x + 0.5 * delayed;
      line[at] = in;
      x = delayed - 0.5 * in;
      at = (at + 1) % line.size();
    }
  }
  for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = 0.8 * signal[i] + 0.35 * wet[i];
}

}  // namespace

double DefaultMusicSeconds() { return kBars * kBar + kTail; }

std::vector<std::int16_t> SynthesizeDefaultMusic(int rate) {
  if (rate <= 0) return {};
  std::vector<double> mix(static_cast<std::size_t>(DefaultMusicSeconds() * rate), 0.0);
  Voices voices(mix, rate);
  unsigned walk = 7;  // the melody's steps come from a fixed little sequence
  int melodyIndex = 4;
  for (int bar = 0; bar < kBars; ++bar) {
    const bool last = bar == kBars - 1;
    const auto& chord = kChords[last ? 0 : bar % kChords.size()];
    const double start = bar * kBar;
    const double length = last ? kBar + kTail - 1.2 : kBar;
    for (std::size_t k = 1; k < chord.size(); ++k) voices.Pad(chord[k] + 12, start, length, 0.11);
    voices.Bass(chord[0], start, 2 * kBeat, 0.22);
    voices.Bass(chord[0], start + 2.5 * kBeat, 1.5 * kBeat, 0.16);

    const Section section = SectionAt(bar);
    if (section.arpeggio) {
      constexpr std::array<int, 8> pattern = {1, 2, 3, 2, 1, 2, 3, 2};
      for (int step = 0; step < 8; ++step) {
        const int note = chord[static_cast<std::size_t>(pattern[static_cast<std::size_t>(step)])] +
                         24 - (step >= 4 ? 12 : 0);
        voices.Piano(note, start + step * kBeat / 2, step % 4 == 0 ? 0.12 : 0.08);
      }
    }
    if (section.melody) {
      // Two notes a bar, moving by small steps through the scale.
      for (int half = 0; half < 2; ++half) {
        walk = walk * 1103515245u + 12345u;
        const int move = static_cast<int>((walk >> 16) % 5) - 2;
        melodyIndex = std::clamp(melodyIndex + move, 0, static_cast<int>(kMelodyScale.size()) - 1);
        const double noteLength = (half == 0 ? 2.5 : 1.5) * kBeat;
        const double at = start + (half == 0 ? 0.0 : 2.5 * kBeat);
        voices.Flute(kMelodyScale[static_cast<std::size_t>(melodyIndex)], at, noteLength * 0.9,
                     0.12);
      }
    }
  }
  Reverberate(mix, rate);

  // Fade in over two seconds, out over the last six; peak at -3 dB.
  const double total = static_cast<double>(mix.size()) / rate;
  double peak = 1e-9;
  for (std::size_t i = 0; i < mix.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    mix[i] *= std::min({1.0, t / 2.0, (total - t) / 6.0});
    peak = std::max(peak, std::abs(mix[i]));
  }
  const double gain = 0.708 * 32767 / peak;
  std::vector<std::int16_t> out(mix.size());
  for (std::size_t i = 0; i < mix.size(); ++i) {
    out[i] = static_cast<std::int16_t>(std::lround(mix[i] * gain));
  }
  return out;
}

}  // namespace corvane
