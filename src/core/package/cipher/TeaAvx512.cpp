// Sixteen blocks per 512-bit register pair, laid out as in the AVX2 kernel.
// VPTERNLOGD folds the three-way XOR of a round step into one instruction,
// and the 32 vector registers leave room for four pairs in flight.

#include "package/cipher/TeaBlocks.h"

#if defined(__x86_64__) || defined(__i386__)
#include "package/cipher/Intrinsics.h"

#define CORVANE_TARGET_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl")))
#define CORVANE_INLINE_AVX512 \
  __attribute__((target("avx512f,avx512bw,avx512vl"), always_inline)) inline

namespace corvane::tea {
namespace {

constexpr std::size_t kBlocksPerPair = 16;
constexpr int kPairsInFlight = 4;
constexpr int kXorOfThree = 0x96;

// See WordOrder in the AVX2 kernel: the same per-lane byte order, four lanes.
CORVANE_INLINE_AVX512 __m512i WordOrder() {
  return _mm512_broadcast_i32x4(
      _mm_setr_epi8(3, 2, 1, 0, 11, 10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12));
}

CORVANE_INLINE_AVX512 __m512i Mix(__m512i v, __m512i sum, __m512i ka, __m512i kb) {
  return _mm512_ternarylogic_epi32(_mm512_add_epi32(_mm512_slli_epi32(v, 4), ka),
                                   _mm512_add_epi32(v, sum),
                                   _mm512_add_epi32(_mm512_srli_epi32(v, 5), kb), kXorOfThree);
}

template <bool kEncipher, int kPairs>
CORVANE_INLINE_AVX512 void TransformGroup(const std::uint32_t* key, std::uint8_t* p) {
  const __m512i order = WordOrder();
  const __m512i k0 = _mm512_set1_epi32(static_cast<int>(key[0]));
  const __m512i k1 = _mm512_set1_epi32(static_cast<int>(key[1]));
  const __m512i k2 = _mm512_set1_epi32(static_cast<int>(key[2]));
  const __m512i k3 = _mm512_set1_epi32(static_cast<int>(key[3]));
  const __m512i delta = _mm512_set1_epi32(static_cast<int>(kDelta));

  __m512i v0[kPairs], v1[kPairs];
#pragma GCC unroll 8
  for (int i = 0; i < kPairs; ++i) {
    const std::uint8_t* src = p + 128 * i;
    const __m512i a = _mm512_shuffle_epi8(_mm512_loadu_si512(src), order);
    const __m512i b = _mm512_shuffle_epi8(_mm512_loadu_si512(src + 64), order);
    v0[i] = _mm512_unpacklo_epi64(a, b);
    v1[i] = _mm512_unpackhi_epi64(a, b);
  }

  if constexpr (kEncipher) {
    __m512i sum = _mm512_setzero_si512();
    for (int r = 0; r < kCycles; ++r) {
      sum = _mm512_add_epi32(sum, delta);
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v0[i] = _mm512_add_epi32(v0[i], Mix(v1[i], sum, k0, k1));
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v1[i] = _mm512_add_epi32(v1[i], Mix(v0[i], sum, k2, k3));
    }
  } else {
    __m512i sum = _mm512_set1_epi32(static_cast<int>(kDecipherSumStart));
    for (int r = 0; r < kCycles; ++r) {
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v1[i] = _mm512_sub_epi32(v1[i], Mix(v0[i], sum, k2, k3));
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v0[i] = _mm512_sub_epi32(v0[i], Mix(v1[i], sum, k0, k1));
      sum = _mm512_sub_epi32(sum, delta);
    }
  }

#pragma GCC unroll 8
  for (int i = 0; i < kPairs; ++i) {
    std::uint8_t* dst = p + 128 * i;
    _mm512_storeu_si512(dst, _mm512_shuffle_epi8(_mm512_unpacklo_epi64(v0[i], v1[i]), order));
    _mm512_storeu_si512(dst + 64, _mm512_shuffle_epi8(_mm512_unpackhi_epi64(v0[i], v1[i]), order));
  }
}

template <bool kEncipher>
CORVANE_TARGET_AVX512 void Run(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  constexpr std::size_t kGroup = kBlocksPerPair * kPairsInFlight;
  std::size_t done = 0;
  for (; blocks - done >= kGroup; done += kGroup)
    TransformGroup<kEncipher, kPairsInFlight>(key, data + 8 * done);
  for (; blocks - done >= kBlocksPerPair; done += kBlocksPerPair)
    TransformGroup<kEncipher, 1>(key, data + 8 * done);
  if constexpr (kEncipher) {
    EncipherBlockwise(key, data + 8 * done, blocks - done);
  } else {
    DecipherBlockwise(key, data + 8 * done, blocks - done);
  }
}

}  // namespace

void EncipherAvx512(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  Run<true>(key, data, blocks);
}

void DecipherAvx512(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  Run<false>(key, data, blocks);
}

}  // namespace corvane::tea

#endif
