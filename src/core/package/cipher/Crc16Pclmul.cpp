// Folding with 128-bit carry-less multiplication (see Crc16Folding.h). Eight
// accumulators take turns on consecutive blocks so the multiplier's latency
// is hidden; each moves 1024 bits per step and they are folded together at
// the end.

#include "package/cipher/Crc16Folding.h"
#include "package/cipher/Crc16Paths.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define CORVANE_TARGET_PCLMUL __attribute__((target("pclmul,sse4.1")))
#define CORVANE_INLINE_PCLMUL __attribute__((target("pclmul,sse4.1"), always_inline)) inline

namespace corvane::crc16 {
namespace {

constexpr int kAccumulators = 8;
constexpr std::size_t kStride = 16 * kAccumulators;
constexpr FoldConstants kFold128 = FoldBy(128);
constexpr FoldConstants kFoldStride = FoldBy(8 * kStride);

CORVANE_INLINE_PCLMUL __m128i Reversal() {
  return _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
}

CORVANE_INLINE_PCLMUL __m128i Constants(FoldConstants k) {
  return _mm_set_epi64x(static_cast<long long>(k.high), static_cast<long long>(k.low));
}

CORVANE_INLINE_PCLMUL __m128i Load(const std::uint8_t* p, __m128i reversal) {
  return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), reversal);
}

// a moved along by the distance of k, plus the block found there.
CORVANE_INLINE_PCLMUL __m128i Fold(__m128i a, __m128i k, __m128i block) {
  return _mm_xor_si128(
      _mm_xor_si128(_mm_clmulepi64_si128(a, k, 0x00), _mm_clmulepi64_si128(a, k, 0x11)), block);
}

CORVANE_TARGET_PCLMUL std::uint16_t Run(std::uint16_t crc, const std::uint8_t* p, std::size_t n) {
  if (n < 16) return UpdateSliced(crc, p, n);
  const __m128i reversal = Reversal();
  const __m128i fold128 = Constants(kFold128);
  // The running value enters as an XOR on the first two message bytes,
  // which after the reversal are the top 16 bits of the register.
  const __m128i seed = _mm_set_epi64x(static_cast<long long>(std::uint64_t{crc} << 48), 0);

  __m128i a;
  if (n >= 2 * kStride) {
    __m128i acc[kAccumulators];
#pragma GCC unroll 8
    for (int i = 0; i < kAccumulators; ++i) acc[i] = Load(p + 16 * i, reversal);
    acc[0] = _mm_xor_si128(acc[0], seed);
    p += kStride;
    n -= kStride;
    const __m128i foldStride = Constants(kFoldStride);
    for (; n >= kStride; p += kStride, n -= kStride) {
#pragma GCC unroll 8
      for (int i = 0; i < kAccumulators; ++i)
        acc[i] = Fold(acc[i], foldStride, Load(p + 16 * i, reversal));
    }
    a = acc[0];
#pragma GCC unroll 8
    for (int i = 1; i < kAccumulators; ++i) a = Fold(a, fold128, acc[i]);
  } else {
    a = _mm_xor_si128(Load(p, reversal), seed);
    p += 16;
    n -= 16;
  }
  for (; n >= 16; p += 16, n -= 16) a = Fold(a, fold128, Load(p, reversal));

  // The checksum from zero of A's 16 bytes is A*x^16 mod P: the checksum of
  // everything folded so far.
  std::uint8_t bytes[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes), _mm_shuffle_epi8(a, reversal));
  return UpdateSliced(UpdateSliced(0, bytes, sizeof bytes), p, n);
}

}  // namespace

std::uint16_t UpdatePclmul(std::uint16_t crc, const std::uint8_t* data, std::size_t length) {
  return Run(crc, data, length);
}

}  // namespace corvane::crc16

#endif
