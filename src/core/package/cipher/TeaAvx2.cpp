// Eight blocks per 256-bit register pair: after a byte swap the V0 words of
// the eight blocks sit in one register and the V1 words in another, so one
// instruction does a round step for all of them. Several register pairs are
// kept in flight to cover the latency of the round chain.

#include "package/cipher/TeaBlocks.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define CORVANE_TARGET_AVX2 __attribute__((target("avx2")))
#define CORVANE_INLINE_AVX2 __attribute__((target("avx2"), always_inline)) inline

namespace corvane::tea {
namespace {

constexpr std::size_t kBlocksPerPair = 8;
constexpr int kPairsInFlight = 3;

// Per 128-bit lane: byte-swap each word and exchange words 1 and 2, so that
// a 64-bit unpack of two registers separates V0 from V1. Applying it twice
// restores the original order, so it also undoes itself on the way out.
CORVANE_INLINE_AVX2 __m256i WordOrder() {
  return _mm256_setr_epi8(3, 2, 1, 0, 11, 10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12,  //
                          3, 2, 1, 0, 11, 10, 9, 8, 7, 6, 5, 4, 15, 14, 13, 12);
}

CORVANE_INLINE_AVX2 __m256i Mix(__m256i v, __m256i sum, __m256i ka, __m256i kb) {
  const __m256i shiftedLeft = _mm256_add_epi32(_mm256_slli_epi32(v, 4), ka);
  const __m256i withSum = _mm256_add_epi32(v, sum);
  const __m256i shiftedRight = _mm256_add_epi32(_mm256_srli_epi32(v, 5), kb);
  return _mm256_xor_si256(_mm256_xor_si256(shiftedLeft, withSum), shiftedRight);
}

template <bool kEncipher, int kPairs>
CORVANE_INLINE_AVX2 void TransformGroup(const std::uint32_t* key, std::uint8_t* p) {
  const __m256i order = WordOrder();
  const __m256i k0 = _mm256_set1_epi32(static_cast<int>(key[0]));
  const __m256i k1 = _mm256_set1_epi32(static_cast<int>(key[1]));
  const __m256i k2 = _mm256_set1_epi32(static_cast<int>(key[2]));
  const __m256i k3 = _mm256_set1_epi32(static_cast<int>(key[3]));
  const __m256i delta = _mm256_set1_epi32(static_cast<int>(kDelta));

  __m256i v0[kPairs], v1[kPairs];
#pragma GCC unroll 8
  for (int i = 0; i < kPairs; ++i) {
    const auto* src = reinterpret_cast<const __m256i*>(p + 64 * i);
    const __m256i a = _mm256_shuffle_epi8(_mm256_loadu_si256(src), order);
    const __m256i b = _mm256_shuffle_epi8(_mm256_loadu_si256(src + 1), order);
    v0[i] = _mm256_unpacklo_epi64(a, b);
    v1[i] = _mm256_unpackhi_epi64(a, b);
  }

  if constexpr (kEncipher) {
    __m256i sum = _mm256_setzero_si256();
    for (int r = 0; r < kCycles; ++r) {
      sum = _mm256_add_epi32(sum, delta);
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v0[i] = _mm256_add_epi32(v0[i], Mix(v1[i], sum, k0, k1));
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v1[i] = _mm256_add_epi32(v1[i], Mix(v0[i], sum, k2, k3));
    }
  } else {
    __m256i sum = _mm256_set1_epi32(static_cast<int>(kDecipherSumStart));
    for (int r = 0; r < kCycles; ++r) {
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v1[i] = _mm256_sub_epi32(v1[i], Mix(v0[i], sum, k2, k3));
#pragma GCC unroll 8
      for (int i = 0; i < kPairs; ++i) v0[i] = _mm256_sub_epi32(v0[i], Mix(v1[i], sum, k0, k1));
      sum = _mm256_sub_epi32(sum, delta);
    }
  }

#pragma GCC unroll 8
  for (int i = 0; i < kPairs; ++i) {
    auto* dst = reinterpret_cast<__m256i*>(p + 64 * i);
    _mm256_storeu_si256(dst, _mm256_shuffle_epi8(_mm256_unpacklo_epi64(v0[i], v1[i]), order));
    _mm256_storeu_si256(dst + 1, _mm256_shuffle_epi8(_mm256_unpackhi_epi64(v0[i], v1[i]), order));
  }
}

template <bool kEncipher>
CORVANE_TARGET_AVX2 void Run(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
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

void EncipherAvx2(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  Run<true>(key, data, blocks);
}

void DecipherAvx2(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  Run<false>(key, data, blocks);
}

}  // namespace corvane::tea

#endif
