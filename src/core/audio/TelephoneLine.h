#pragma once
// What a caller hears of a production: a telephone line carries 8 kHz
// samples of the 300-3400 Hz band, companded with G.711 mu-law. Rendering
// through it lets the operator hear the bass vanish and the sibilants grate
// before the callers do.

#include <array>
#include <cstdint>
#include <span>

namespace corvane {

inline constexpr int kTelephoneRate = 8000;

// G.711 mu-law, both ways.
std::uint8_t MuLawEncode(std::int16_t sample);
std::int16_t MuLawDecode(std::uint8_t code);

// The line itself, for samples already at kTelephoneRate (resampling there
// takes away everything above about 3.9 kHz): the band below 300 Hz cut
// steeply, then each sample through mu-law and back. Keeps its state from
// one block to the next. The two steps are apart so that a gain can come
// between them: the band is what a caller's loudness is measured on.
class TelephoneLine {
 public:
  TelephoneLine();
  void Carry(std::span<std::int16_t> samples) {
    CutBass(samples);
    Compand(samples);
  }
  void CutBass(std::span<std::int16_t> samples);
  static void Compand(std::span<std::int16_t> samples);

 private:
  struct Section {
    double b0, b1, b2, a1, a2;
    double z1 = 0, z2 = 0;
  };
  std::array<Section, 3> highPass_;
};

}  // namespace corvane
