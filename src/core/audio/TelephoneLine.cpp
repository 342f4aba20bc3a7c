#include "audio/TelephoneLine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane {
namespace {

// A sixth-order Butterworth high-pass at 250 Hz: 300 Hz loses half a dB,
// 100 Hz nearly 50. Its three sections' Q values are the Butterworth ones.
constexpr double kHighPassHz = 250;
constexpr std::array<double, 3> kSectionQ = {0.5176380902, 0.7071067812, 1.9318516526};

constexpr int kMuLawBias = 0x84;
constexpr int kMuLawClip = 32635;

}  // namespace

std::uint8_t MuLawEncode(std::int16_t sample) {
  int value = sample;
  const int sign = value < 0 ? 0x80 : 0;
  if (value < 0) value = -value;
  value = std::min(value, kMuLawClip) + kMuLawBias;
  int exponent = 7;
  for (int mask = 0x4000; (value & mask) == 0 && exponent > 0; mask >>= 1) --exponent;
  const int mantissa = (value >> (exponent + 3)) & 0x0F;
  return static_cast<std::uint8_t>(~(sign | (exponent << 4) | mantissa));
}

std::int16_t MuLawDecode(std::uint8_t code) {
  const int value = ~code & 0xFF;
  const int exponent = (value >> 4) & 0x07;
  const int magnitude = (((value & 0x0F) << 3) + kMuLawBias) << exponent;
  return static_cast<std::int16_t>((value & 0x80) != 0 ? kMuLawBias - magnitude : magnitude - kMuLawBias);
}

TelephoneLine::TelephoneLine() {
  const double w0 = 2 * std::numbers::pi * kHighPassHz / kTelephoneRate;
  for (std::size_t i = 0; i < highPass_.size(); ++i) {
    const double alpha = std::sin(w0) / (2 * kSectionQ[i]);
    const double a0 = 1 + alpha;
    const double c = std::cos(w0);
    highPass_[i] = {(1 + c) / 2 / a0, -(1 + c) / a0, (1 + c) / 2 / a0, -2 * c / a0, (1 - alpha) / a0};
  }
}

void TelephoneLine::CutBass(std::span<std::int16_t> samples) {
  for (std::int16_t& sample : samples) {
    double x = sample;
    for (Section& s : highPass_) {
      // Transposed direct form II: one state pair a section.
      const double y = s.b0 * x + s.z1;
      s.z1 = s.b1 * x - s.a1 * y + s.z2;
      s.z2 = s.b2 * x - s.a2 * y;
      x = y;
    }
    sample = static_cast<std::int16_t>(std::clamp(std::lround(x), -32768L, 32767L));
  }
}

void TelephoneLine::Compand(std::span<std::int16_t> samples) {
  for (std::int16_t& sample : samples) sample = MuLawDecode(MuLawEncode(sample));
}

}  // namespace corvane
