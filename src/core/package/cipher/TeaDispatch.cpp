// Picks the cipher kernel for this processor and spreads large buffers over
// the worker threads. Blocks are independent, so any split gives the bytes of
// the block-by-block definition.

#include <algorithm>
#include <array>

#include "common/CpuFeatures.h"
#include "package/cipher/TeaBlocks.h"
#include "package/cipher/WorkerPool.h"

namespace corvane::tea {
namespace {

// Parts start on multiples of this many blocks, so every part but the last
// runs whole vector groups and no two parts share a cache line.
constexpr std::size_t kPartAlignBlocks = 64;

struct KernelTable {
  std::array<Kernel, 4> kernels{};
  std::size_t count = 0;
};

KernelTable BuildTable() {
  KernelTable table;
  table.kernels[table.count++] = {"blockwise", &EncipherBlockwise, &DecipherBlockwise};
  table.kernels[table.count++] = {"interleaved", &EncipherInterleaved, &DecipherInterleaved};
#if defined(__x86_64__) || defined(__i386__)
  const cpu::Features& cpu = cpu::Detected();
  if (cpu.avx2) table.kernels[table.count++] = {"avx2", &EncipherAvx2, &DecipherAvx2};
  if (cpu.avx512) table.kernels[table.count++] = {"avx512", &EncipherAvx512, &DecipherAvx512};
#endif
  return table;
}

struct SplitJob {
  BlockKernel kernel;
  const std::uint32_t* key;
  std::uint8_t* data;
  std::size_t blocks;
  unsigned parts;
};

std::size_t PartStart(const SplitJob& job, unsigned part) {
  if (part >= job.parts) return job.blocks;
  const std::size_t units = job.blocks / kPartAlignBlocks;
  return units * part / job.parts * kPartAlignBlocks;
}

void RunPart(void* context, unsigned part) {
  const auto& job = *static_cast<const SplitJob*>(context);
  const std::size_t begin = PartStart(job, part);
  const std::size_t end = PartStart(job, part + 1);
  job.kernel(job.key, job.data + 8 * begin, end - begin);
}

}  // namespace

std::span<const Kernel> KernelsOnThisCpu() {
  static const KernelTable table = BuildTable();
  return {table.kernels.data(), table.count};
}

const Kernel& FastestKernel() { return KernelsOnThisCpu().back(); }

void TransformBlocks(const Kernel& kernel, const std::uint32_t* key, std::uint8_t* data,
                     std::size_t blocks, CipherDirection direction, bool allowThreads) {
  const BlockKernel run =
      direction == CipherDirection::Encipher ? kernel.encipher : kernel.decipher;
  const std::size_t bytes = blocks * 8;
  if (allowThreads && bytes >= kThreadedMinBytes) {
    WorkerPool& pool = WorkerPool::Shared();
    // Each part gets at least half the threshold, so a buffer just over it
    // is not cut into slivers on a many-core machine.
    const std::size_t byWork = bytes / (kThreadedMinBytes / 2);
    const auto parts = static_cast<unsigned>(std::min<std::size_t>(pool.Width(), byWork));
    if (parts > 1) {
      SplitJob job{run, key, data, blocks, parts};
      if (pool.TryRun(parts, &RunPart, &job)) return;
    }
  }
  run(key, data, blocks);
}

}  // namespace corvane::tea
