#include "audio/MixKernels.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "audio/MixKernelsAvx2.h"
#include "common/ByteOrder.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvane {
namespace {

std::int16_t Saturate(std::int64_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::int32_t SampleAt(const std::uint8_t* samples, std::size_t k) {
  return static_cast<std::int16_t>(ReadLE16(samples + 2 * k));
}

// Why these give the double results. For whole n and d the exact quotient
// n / d is either whole or a multiple of 1/d away from one; the double
// quotient of numbers this small is off by far less than 1/d, so truncating
// it gives the integer quotient, as the scalar loops compute it. The vector
// loops keep that guarantee three ways:
// - levels in range (|n/d| < 2^16, d <= 20): n times the single-precision
//   reciprocal of d is off by less than 1/128; adding half the smallest gap,
//   1/(2d), away from zero before truncating lands inside the right whole
//   number every time, with no division at all;
// - music with a larger level (|n| < 2^24, d = 10): a single-precision
//   division is off by less than 1/32, below the gap of 1/10;
// - messages with larger levels keep double precision.

void ScaleMusicScalar(const std::uint8_t* samples, std::size_t count, int level,
                      std::int16_t* out) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Saturate(SampleAt(samples, k) * level / 10);
}

void LayMessageScalar(const std::uint8_t* samples, std::size_t count, int level, int crossFade,
                      std::int16_t* mix) {
  const int divisor = crossFade + 10;
  for (std::size_t k = 0; k < count; ++k) {
    mix[k] = Saturate((level * SampleAt(samples, k) + crossFade * mix[k]) / divisor);
  }
}

#if defined(__SSE2__)
// x86 is little-endian: the sample bytes load as they are.

bool InRange(int value) { return value >= 0 && value <= 10; }
// The 16-bit products hold only for levels that fit 16 bits signed; the
// settings are bytes, so this is a guard against misuse, not a real case.
bool FitsVector(int value) { return value >= 0 && value <= 255; }

// Eight 16-bit products widened to two vectors of four 32-bit ones.
void Widen(__m128i s, __m128i level, __m128i& low, __m128i& high) {
  const __m128i lo = _mm_mullo_epi16(s, level);
  const __m128i hi = _mm_mulhi_epi16(s, level);
  low = _mm_unpacklo_epi16(lo, hi);
  high = _mm_unpackhi_epi16(lo, hi);
}

// Four whole numerators divided by d and truncated toward zero.
class ReciprocalDivider {
 public:
  explicit ReciprocalDivider(int d)
      : reciprocal_(_mm_set1_ps(1.0f / static_cast<float>(d))),
        halfGap_(_mm_set1_ps(0.5f / static_cast<float>(d))),
        sign_(_mm_set1_ps(-0.0f)) {}
  __m128i operator()(__m128i n) const {
    const __m128 q = _mm_mul_ps(_mm_cvtepi32_ps(n), reciprocal_);
    const __m128 away = _mm_or_ps(_mm_and_ps(q, sign_), halfGap_);
    return _mm_cvttps_epi32(_mm_add_ps(q, away));
  }

 private:
  __m128 reciprocal_;
  __m128 halfGap_;
  __m128 sign_;
};

class SingleDivider {
 public:
  explicit SingleDivider(int d) : d_(_mm_set1_ps(static_cast<float>(d))) {}
  __m128i operator()(__m128i n) const {
    return _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(n), d_));
  }

 private:
  __m128 d_;
};

class DoubleDivider {
 public:
  explicit DoubleDivider(int d) : d_(_mm_set1_pd(d)) {}
  __m128i operator()(__m128i n) const {
    const __m128d a = _mm_div_pd(_mm_cvtepi32_pd(n), d_);
    const __m128d b = _mm_div_pd(_mm_cvtepi32_pd(_mm_srli_si128(n, 8)), d_);
    return _mm_unpacklo_epi64(_mm_cvttpd_epi32(a), _mm_cvttpd_epi32(b));
  }

 private:
  __m128d d_;
};

template <typename Divider>
void ScaleMusicSse2(const std::uint8_t* samples, std::size_t count, int level, Divider divide,
                    std::int16_t* out) {
  const __m128i levels = _mm_set1_epi16(static_cast<short>(level));
  std::size_t k = 0;
  for (; k + 8 <= count; k += 8) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + 2 * k));
    __m128i low;
    __m128i high;
    Widen(s, levels, low, high);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k),
                     _mm_packs_epi32(divide(low), divide(high)));
  }
  ScaleMusicScalar(samples + 2 * k, count - k, level, out + k);
}

template <typename Divider>
void LayMessageSse2(const std::uint8_t* samples, std::size_t count, int level, int crossFade,
                    Divider divide, std::int16_t* mix) {
  const __m128i levels = _mm_set1_epi16(static_cast<short>(level));
  const __m128i fades = _mm_set1_epi16(static_cast<short>(crossFade));
  std::size_t k = 0;
  for (; k + 8 <= count; k += 8) {
    const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(samples + 2 * k));
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mix + k));
    __m128i mLow;
    __m128i mHigh;
    __m128i sLow;
    __m128i sHigh;
    Widen(m, levels, mLow, mHigh);
    Widen(s, fades, sLow, sHigh);
    const __m128i a = divide(_mm_add_epi32(mLow, sLow));
    const __m128i b = divide(_mm_add_epi32(mHigh, sHigh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(mix + k), _mm_packs_epi32(a, b));
  }
  LayMessageScalar(samples + 2 * k, count - k, level, crossFade, mix + k);
}
#endif

}  // namespace

void ScaleMusic(const std::uint8_t* samples, std::size_t count, int level, std::int16_t* out) {
  if (count == 0) return;  // an empty production may have no memory yet
  // Full level, the usual setting: on a little-endian machine the samples as they are.
  if (level == 10 && std::endian::native == std::endian::little) {
    if (static_cast<const void*>(out) != samples)
      std::memcpy(out, samples, count * sizeof(std::int16_t));
    return;
  }
#if defined(__SSE2__)
  if (InRange(level)) {
    const std::size_t done = avx2::Available() ? avx2::ScaleMusic(samples, count, level, out) : 0;
    return ScaleMusicSse2(samples + 2 * done, count - done, level, ReciprocalDivider(10), out + done);
  }
  if (FitsVector(level)) return ScaleMusicSse2(samples, count, level, SingleDivider(10), out);
#endif
  ScaleMusicScalar(samples, count, level, out);
}

void LayMessage(const std::uint8_t* samples, std::size_t count, int level, int crossFade,
                std::int16_t* mix) {
#if defined(__SSE2__)
  if (InRange(level) && InRange(crossFade)) {
    const std::size_t done =
        avx2::Available() ? avx2::LayMessage(samples, count, level, crossFade, mix) : 0;
    return LayMessageSse2(samples + 2 * done, count - done, level, crossFade,
                          ReciprocalDivider(crossFade + 10), mix + done);
  }
  if (FitsVector(level) && FitsVector(crossFade)) {
    return LayMessageSse2(samples, count, level, crossFade, DoubleDivider(crossFade + 10), mix);
  }
#endif
  LayMessageScalar(samples, count, level, crossFade, mix);
}

void FadeSamples(const double* factors, std::size_t count, std::int16_t* out) {
  const std::size_t done = avx2::Available() ? avx2::Fade(factors, count, out) : 0;
  for (std::size_t k = done; k < count; ++k) {
    // Every value here is a few times 32768 at most, far inside the range
    // of the conversion.
    out[k] = Saturate(static_cast<std::int64_t>(factors[k] * out[k] / 10.0));
  }
}

}  // namespace corvane
