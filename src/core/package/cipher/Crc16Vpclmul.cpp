// Folding as in the PCLMULQDQ path, four 128-bit lanes per 512-bit register
// and four registers in flight: 256 bytes per step. VPTERNLOGQ merges the two
// products with the new data in one instruction.

#include "package/cipher/Crc16Folding.h"
#include "package/cipher/Crc16Paths.h"

#if defined(__x86_64__) || defined(__i386__)
#include "package/cipher/Intrinsics.h"

#define CORVANE_TARGET_VPCLMUL \
  __attribute__((target("avx512f,avx512bw,avx512vl,vpclmulqdq,pclmul,sse4.1")))
#define CORVANE_INLINE_VPCLMUL                                                 \
  __attribute__((target("avx512f,avx512bw,avx512vl,vpclmulqdq,pclmul,sse4.1"), \
                 always_inline)) inline

namespace corvane::crc16 {
namespace {

constexpr int kRegisters = 4;
constexpr std::size_t kStride = 64 * kRegisters;
constexpr FoldConstants kFold512 = FoldBy(512);
constexpr FoldConstants kFoldStride = FoldBy(8 * kStride);
constexpr int kXorOfThree = 0x96;

CORVANE_INLINE_VPCLMUL __m512i Reversal() {
  return _mm512_broadcast_i32x4(
      _mm_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0));
}

CORVANE_INLINE_VPCLMUL __m512i Constants(FoldConstants k) {
  return _mm512_broadcast_i32x4(
      _mm_set_epi64x(static_cast<long long>(k.high), static_cast<long long>(k.low)));
}

CORVANE_INLINE_VPCLMUL __m512i Load(const std::uint8_t* p, __m512i reversal) {
  return _mm512_shuffle_epi8(_mm512_loadu_si512(p), reversal);
}

// Each lane moved along by the distance of k, plus the lane found there.
CORVANE_INLINE_VPCLMUL __m512i Fold(__m512i a, __m512i k, __m512i block) {
  return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(a, k, 0x00),
                                   _mm512_clmulepi64_epi128(a, k, 0x11), block, kXorOfThree);
}

CORVANE_TARGET_VPCLMUL std::uint16_t Run(std::uint16_t crc, const std::uint8_t* p, std::size_t n) {
  if (n < 2 * kStride) return UpdatePclmul(crc, p, n);
  const __m512i reversal = Reversal();
  // The running value XORed onto the first two message bytes: the top 16
  // bits of lane 0 after the reversal.
  const __m512i seed =
      _mm512_inserti32x4(_mm512_setzero_si512(),
                         _mm_set_epi64x(static_cast<long long>(std::uint64_t{crc} << 48), 0), 0);

  __m512i acc[kRegisters];
#pragma GCC unroll 4
  for (int i = 0; i < kRegisters; ++i) acc[i] = Load(p + 64 * i, reversal);
  acc[0] = _mm512_xor_si512(acc[0], seed);
  p += kStride;
  n -= kStride;
  const __m512i foldStride = Constants(kFoldStride);
  for (; n >= kStride; p += kStride, n -= kStride) {
#pragma GCC unroll 4
    for (int i = 0; i < kRegisters; ++i)
      acc[i] = Fold(acc[i], foldStride, Load(p + 64 * i, reversal));
  }
  const __m512i fold512 = Constants(kFold512);
  __m512i a = acc[0];
#pragma GCC unroll 4
  for (int i = 1; i < kRegisters; ++i) a = Fold(a, fold512, acc[i]);
  for (; n >= 64; p += 64, n -= 64) a = Fold(a, fold512, Load(p, reversal));

  // The 64 bytes of A, in message order, are congruent to everything folded
  // so far; their checksum from zero is that of the message so far.
  std::uint8_t bytes[64];
  _mm512_storeu_si512(bytes, _mm512_shuffle_epi8(a, reversal));
  return UpdatePclmul(UpdatePclmul(0, bytes, sizeof bytes), p, n);
}

}  // namespace

std::uint16_t UpdateVpclmul(std::uint16_t crc, const std::uint8_t* data, std::size_t length) {
  return Run(crc, data, length);
}

}  // namespace corvane::crc16

#endif
