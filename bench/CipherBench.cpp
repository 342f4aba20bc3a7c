// Throughput of the package cipher and checksum beside memcpy of the same
// size, including the reference paths the fast ones replace.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "common/ByteStream.h"
#include "package/Crc16Ccitt.h"
#include "package/PackageCipher.h"
#include "package/cipher/Crc16Paths.h"
#include "package/cipher/TeaBlocks.h"

namespace {

using namespace corvane;

constexpr std::size_t kLarge = 64u << 20;
constexpr std::size_t kReferenceSize = 4u << 20;  // the slow paths need no more to be measured
constexpr std::uint32_t kKeyLow = 0x89ABCDEFu;
constexpr std::uint32_t kKeyHigh = 0x01234567u;

std::vector<std::uint8_t> RandomBuffer(std::size_t size) {
  std::vector<std::uint8_t> data(size);
  std::mt19937_64 rng(1);
  for (std::size_t i = 0; i + 8 <= size; i += 8) {
    const std::uint64_t v = rng();
    std::memcpy(data.data() + i, &v, 8);
  }
  return data;
}

void BM_Memcpy(benchmark::State& state) {
  const auto from = RandomBuffer(kLarge);
  std::vector<std::uint8_t> to(kLarge);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kLarge);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();

void TransformBench(benchmark::State& state, CipherDirection direction) {
  auto data = RandomBuffer(kLarge);
  const PackageCipher cipher(kKeyLow, kKeyHigh);
  for (auto _ : state) {
    cipher.Transform(data.data(), data.size(), direction);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLarge));
  state.SetLabel(std::string(tea::FastestKernel().name));
}

void BM_CipherEncipher(benchmark::State& state) {
  TransformBench(state, CipherDirection::Encipher);
}
void BM_CipherDecipher(benchmark::State& state) {
  TransformBench(state, CipherDirection::Decipher);
}
BENCHMARK(BM_CipherEncipher)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CipherDecipher)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each kernel alone on one thread; the reference kernels on a smaller buffer.
void BM_CipherKernel(benchmark::State& state) {
  const auto kernels = tea::KernelsOnThisCpu();
  const auto index = static_cast<std::size_t>(state.range(0));
  if (index >= kernels.size()) {
    state.SkipWithError("kernel not available on this processor");
    return;
  }
  const tea::Kernel& kernel = kernels[index];
  const std::size_t size =
      kernel.name == "blockwise" || kernel.name == "interleaved" ? kReferenceSize : kLarge;
  auto data = RandomBuffer(size);
  const PackageCipher cipher(kKeyLow, kKeyHigh);
  for (auto _ : state) {
    tea::TransformBlocks(kernel, cipher.Key(), data.data(), size / 8, CipherDirection::Encipher,
                         false);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.SetLabel(std::string(kernel.name) + " single thread");
}
BENCHMARK(BM_CipherKernel)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CipherStream(benchmark::State& state) {
  const auto plain = RandomBuffer(kLarge);
  std::vector<std::uint8_t> work(static_cast<std::size_t>(state.range(0)));
  MemorySink sink;
  sink.bytes.reserve(kLarge + 8);
  for (auto _ : state) {
    sink.bytes.clear();
    MemorySource source(plain);
    const PackageStatus status =
        CipherStream(source, sink, kLarge, work, kKeyLow, kKeyHigh, CipherDirection::Encipher);
    if (status != PackageStatus::Ok) state.SkipWithError("stream failed");
    benchmark::DoNotOptimize(sink.bytes.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLarge));
}
BENCHMARK(BM_CipherStream)
    ->Arg(static_cast<std::int64_t>(kCipherStreamMinBuffer))
    ->Arg((4 << 20) + 8)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Crc16(benchmark::State& state) {
  const auto data = RandomBuffer(kLarge);
  for (auto _ : state) benchmark::DoNotOptimize(Crc16Update(kCrc16Start, data.data(), kLarge));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLarge));
  state.SetLabel(std::string(crc16::PathsOnThisCpu().back().name));
}
BENCHMARK(BM_Crc16)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Crc16Path(benchmark::State& state) {
  const auto paths = crc16::PathsOnThisCpu();
  const auto index = static_cast<std::size_t>(state.range(0));
  if (index >= paths.size()) {
    state.SkipWithError("path not available on this processor");
    return;
  }
  const crc16::Path& path = paths[index];
  const std::size_t size =
      path.name == "bytewise" || path.name == "sliced" ? kReferenceSize : kLarge;
  const auto data = RandomBuffer(size);
  for (auto _ : state) benchmark::DoNotOptimize(path.update(kCrc16Start, data.data(), size));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.SetLabel(std::string(path.name));
}
BENCHMARK(BM_Crc16Path)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
