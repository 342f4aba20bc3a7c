#pragma once
// The block kernels behind PackageCipher. Every kernel produces the bytes of
// the one-block functions below; the vector ones only do many blocks at once.
// Tests reach each kernel through KernelsOnThisCpu() to hold them to that.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "package/PackageCipher.h"

namespace corvane::tea {

inline constexpr std::uint32_t kDelta = 0x9E3779B9u;
inline constexpr std::uint32_t kDecipherSumStart = 0xC6EF3720u;  // 32 * kDelta mod 2^32
inline constexpr int kCycles = 32;

// Below this many bytes a transform stays on the calling thread: waking the
// workers costs more than it saves on a single record.
inline constexpr std::size_t kThreadedMinBytes = 256 * 1024;

inline std::uint32_t LoadBigEndian(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

inline void StoreBigEndian(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v >> 24);
  p[1] = static_cast<std::uint8_t>(v >> 16);
  p[2] = static_cast<std::uint8_t>(v >> 8);
  p[3] = static_cast<std::uint8_t>(v);
}

inline void EncipherOne(const std::uint32_t* key, std::uint8_t* block) {
  std::uint32_t v0 = LoadBigEndian(block);
  std::uint32_t v1 = LoadBigEndian(block + 4);
  std::uint32_t sum = 0;
  for (int i = 0; i < kCycles; ++i) {
    sum += kDelta;
    v0 += ((v1 << 4) + key[0]) ^ (v1 + sum) ^ ((v1 >> 5) + key[1]);
    v1 += ((v0 << 4) + key[2]) ^ (v0 + sum) ^ ((v0 >> 5) + key[3]);
  }
  StoreBigEndian(block, v0);
  StoreBigEndian(block + 4, v1);
}

inline void DecipherOne(const std::uint32_t* key, std::uint8_t* block) {
  std::uint32_t v0 = LoadBigEndian(block);
  std::uint32_t v1 = LoadBigEndian(block + 4);
  std::uint32_t sum = kDecipherSumStart;
  for (int i = 0; i < kCycles; ++i) {
    v1 -= ((v0 << 4) + key[2]) ^ (v0 + sum) ^ ((v0 >> 5) + key[3]);
    v0 -= ((v1 << 4) + key[0]) ^ (v1 + sum) ^ ((v1 >> 5) + key[1]);
    sum -= kDelta;
  }
  StoreBigEndian(block, v0);
  StoreBigEndian(block + 4, v1);
}

// Transforms `blocks` consecutive 8-byte blocks in place. No alignment needed.
using BlockKernel = void (*)(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);

struct Kernel {
  std::string_view name;
  BlockKernel encipher;
  BlockKernel decipher;
};

// One block at a time, as the format defines it: the reference the others
// are checked against.
void EncipherBlockwise(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);
void DecipherBlockwise(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);

// Plain C++ with several blocks interleaved, for processors without a vector path.
void EncipherInterleaved(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);
void DecipherInterleaved(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);

#if defined(__x86_64__) || defined(__i386__)
// Callable only where the processor has the named extensions.
void EncipherAvx2(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);
void DecipherAvx2(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);
void EncipherAvx512(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);
void DecipherAvx512(const std::uint32_t* key, std::uint8_t* data, std::size_t blocks);
#endif

// The kernels this processor can run, slowest first; the last one is what
// PackageCipher uses.
std::span<const Kernel> KernelsOnThisCpu();
const Kernel& FastestKernel();

// Runs the kernel over the blocks, split across the shared worker threads
// when the buffer is at least kThreadedMinBytes and threading is allowed.
void TransformBlocks(const Kernel& kernel, const std::uint32_t* key, std::uint8_t* data,
                     std::size_t blocks, CipherDirection direction, bool allowThreads = true);

}  // namespace corvane::tea
