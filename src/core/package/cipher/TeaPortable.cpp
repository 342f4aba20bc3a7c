// Processor-independent kernels. The interleaved one keeps several blocks in
// flight so the round dependency chain of one block does not stall the core;
// compilers may also map its lanes onto whatever vector unit the baseline has.

#include "package/cipher/TeaBlocks.h"

namespace corvane::tea {
namespace {

constexpr std::size_t kLanes = 4;

}  // namespace

void EncipherBlockwise(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  for (std::size_t i = 0; i < blocks; ++i) EncipherOne(key, data + 8 * i);
}

void DecipherBlockwise(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  for (std::size_t i = 0; i < blocks; ++i) DecipherOne(key, data + 8 * i);
}

namespace {

// Four blocks at a time in both directions; only the rounds differ.
template <bool kEncipher>
void Interleaved(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  const std::uint32_t k0 = key[0], k1 = key[1], k2 = key[2], k3 = key[3];
  std::size_t done = 0;
  for (; blocks - done >= kLanes; done += kLanes) {
    std::uint8_t* p = data + 8 * done;
    std::uint32_t v0[kLanes], v1[kLanes];
    for (std::size_t l = 0; l < kLanes; ++l) {
      v0[l] = LoadBigEndian(p + 8 * l);
      v1[l] = LoadBigEndian(p + 8 * l + 4);
    }
    if constexpr (kEncipher) {
      std::uint32_t sum = 0;
      for (int r = 0; r < kCycles; ++r) {
        sum += kDelta;
        for (std::size_t l = 0; l < kLanes; ++l)
          v0[l] += ((v1[l] << 4) + k0) ^ (v1[l] + sum) ^ ((v1[l] >> 5) + k1);
        for (std::size_t l = 0; l < kLanes; ++l)
          v1[l] += ((v0[l] << 4) + k2) ^ (v0[l] + sum) ^ ((v0[l] >> 5) + k3);
      }
    } else {
      std::uint32_t sum = kDecipherSumStart;
      for (int r = 0; r < kCycles; ++r) {
        for (std::size_t l = 0; l < kLanes; ++l)
          v1[l] -= ((v0[l] << 4) + k2) ^ (v0[l] + sum) ^ ((v0[l] >> 5) + k3);
        for (std::size_t l = 0; l < kLanes; ++l)
          v0[l] -= ((v1[l] << 4) + k0) ^ (v1[l] + sum) ^ ((v1[l] >> 5) + k1);
        sum -= kDelta;
      }
    }
    for (std::size_t l = 0; l < kLanes; ++l) {
      StoreBigEndian(p + 8 * l, v0[l]);
      StoreBigEndian(p + 8 * l + 4, v1[l]);
    }
  }
  if constexpr (kEncipher) {
    EncipherBlockwise(key, data + 8 * done, blocks - done);
  } else {
    DecipherBlockwise(key, data + 8 * done, blocks - done);
  }
}

}  // namespace

void EncipherInterleaved(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  Interleaved<true>(key, data, blocks);
}

void DecipherInterleaved(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks) {
  Interleaved<false>(key, data, blocks);
}

}  // namespace corvane::tea
