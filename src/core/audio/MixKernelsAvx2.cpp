#include "audio/MixKernelsAvx2.h"

#include "common/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define CORVANE_TARGET_AVX2 __attribute__((target("avx2")))
#define CORVANE_INLINE_AVX2 __attribute__((target("avx2"), always_inline)) inline

namespace corvane::avx2 {
namespace {

// Whole numerators below 2^24 in single precision, divided by d and
// truncated toward zero: the reciprocal times n, moved half the smallest gap
// 1/(2d) away from zero, lands inside the right whole number.
struct Reciprocal {
  __m256 reciprocal;
  __m256 halfGap;
  __m256 sign;
};

CORVANE_INLINE_AVX2 Reciprocal ReciprocalOf(int d) {
  return {_mm256_set1_ps(1.0f / static_cast<float>(d)), _mm256_set1_ps(0.5f / static_cast<float>(d)),
          _mm256_set1_ps(-0.0f)};
}

CORVANE_INLINE_AVX2 __m256i Divide(__m256 n, const Reciprocal& r) {
  const __m256 q = _mm256_mul_ps(n, r.reciprocal);
  const __m256 away = _mm256_or_ps(_mm256_and_ps(q, r.sign), r.halfGap);
  return _mm256_cvttps_epi32(_mm256_add_ps(q, away));
}

// Sixteen samples as two vectors of eight exact single-precision values.
CORVANE_INLINE_AVX2 void Load16(const std::uint8_t* at, __m256& low, __m256& high) {
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16));
  low = _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(a));
  high = _mm256_cvtepi32_ps(_mm256_cvtepi16_epi32(b));
}

// Packs two vectors of eight 32-bit results into sixteen saturated samples, in order.
CORVANE_INLINE_AVX2 void Store16(std::int16_t* at, __m256i low, __m256i high) {
  const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(low, high), 0xD8);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), packed);
}

}  // namespace

bool Available() { return cpu::Detected().avx2; }

CORVANE_TARGET_AVX2 std::size_t ScaleMusic(const std::uint8_t* samples, std::size_t count,
                                           int level, std::int16_t* out) {
  const Reciprocal tenth = ReciprocalOf(10);
  const __m256 levels = _mm256_set1_ps(static_cast<float>(level));
  std::size_t k = 0;
  for (; k + 16 <= count; k += 16) {
    __m256 low;
    __m256 high;
    Load16(samples + 2 * k, low, high);
    // s * level is whole and below 2^19: exact in single precision.
    Store16(out + k, Divide(_mm256_mul_ps(low, levels), tenth),
            Divide(_mm256_mul_ps(high, levels), tenth));
  }
  return k;
}

CORVANE_TARGET_AVX2 std::size_t LayMessage(const std::uint8_t* samples, std::size_t count,
                                           int level, int crossFade, std::int16_t* mix) {
  const Reciprocal divisor = ReciprocalOf(crossFade + 10);
  const __m256 levels = _mm256_set1_ps(static_cast<float>(level));
  const __m256 fades = _mm256_set1_ps(static_cast<float>(crossFade));
  std::size_t k = 0;
  for (; k + 16 <= count; k += 16) {
    __m256 mLow;
    __m256 mHigh;
    __m256 sLow;
    __m256 sHigh;
    Load16(samples + 2 * k, mLow, mHigh);
    Load16(reinterpret_cast<const std::uint8_t*>(mix + k), sLow, sHigh);
    // Each product and their sum stay below 2^20: all exact.
    const __m256 a = _mm256_add_ps(_mm256_mul_ps(mLow, levels), _mm256_mul_ps(sLow, fades));
    const __m256 b = _mm256_add_ps(_mm256_mul_ps(mHigh, levels), _mm256_mul_ps(sHigh, fades));
    Store16(mix + k, Divide(a, divisor), Divide(b, divisor));
  }
  return k;
}

CORVANE_TARGET_AVX2 std::size_t Fade(const double* factors, std::size_t count, std::int16_t* out) {
  const __m256d ten = _mm256_set1_pd(10.0);
  const __m256d highest = _mm256_set1_pd(32767.0);
  const __m256d lowest = _mm256_set1_pd(-32768.0);
  std::size_t k = 0;
  for (; k + 8 <= count; k += 8) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + k));
    const __m256d a = _mm256_cvtepi32_pd(_mm_cvtepi16_epi32(s));
    const __m256d b = _mm256_cvtepi32_pd(_mm_cvtepi16_epi32(_mm_srli_si128(s, 8)));
    // factor * sample / 10 in double precision, as the scalar loop does it;
    // held within 16 bits before the truncation, which then agrees with
    // truncating first.
    __m256d x = _mm256_div_pd(_mm256_mul_pd(_mm256_loadu_pd(factors + k), a), ten);
    __m256d y = _mm256_div_pd(_mm256_mul_pd(_mm256_loadu_pd(factors + k + 4), b), ten);
    x = _mm256_max_pd(_mm256_min_pd(x, highest), lowest);
    y = _mm256_max_pd(_mm256_min_pd(y, highest), lowest);
    const __m128i packed = _mm_packs_epi32(_mm256_cvttpd_epi32(x), _mm256_cvttpd_epi32(y));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), packed);
  }
  return k;
}

}  // namespace corvane::avx2

#else

namespace corvane::avx2 {
bool Available() { return false; }
std::size_t ScaleMusic(const std::uint8_t*, std::size_t, int, std::int16_t*) { return 0; }
std::size_t LayMessage(const std::uint8_t*, std::size_t, int, int, std::int16_t*) { return 0; }
std::size_t Fade(const double*, std::size_t, std::int16_t*) { return 0; }
}  // namespace corvane::avx2

#endif
