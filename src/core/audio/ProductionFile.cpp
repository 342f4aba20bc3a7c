#include "audio/ProductionFile.h"

#include <array>
#include <bit>

#include "audio/WaveFormat.h"
#include "common/ByteOrder.h"

namespace corvane {

ProductionFile::~ProductionFile() = default;

bool ProductionFile::Open(const std::filesystem::path& path, std::uint32_t sampleRate) {
  file_.emplace(path);
  sampleRate_ = sampleRate;
  dataLength_ = 0;
  // The lengths are stated once the samples are all written.
  const auto header = ProductionHeader(sampleRate, 0);
  ok_ = file_->IsOpen() && file_->Stream().Write(header) == header.size();
  if (!ok_) file_.reset();
  return ok_;
}

bool ProductionFile::Put(std::span<const std::int16_t> samples) {
  if (!ok_) return false;
  const std::uint64_t bytes = samples.size() * 2;
  if (dataLength_ + bytes > kMaxWaveDataLength) return ok_ = false;
  if constexpr (std::endian::native == std::endian::little) {
    const std::span raw(reinterpret_cast<const std::uint8_t*>(samples.data()), bytes);
    ok_ = file_->Stream().Write(raw) == raw.size();
  } else {
    std::array<std::uint8_t, 1 << 16> piece{};
    for (std::size_t at = 0; ok_ && at < samples.size();) {
      const std::size_t n = std::min(samples.size() - at, piece.size() / 2);
      for (std::size_t k = 0; k < n; ++k) {
        WriteLE16(piece.data() + 2 * k, static_cast<std::uint16_t>(samples[at + k]));
      }
      ok_ = file_->Stream().Write(std::span(piece.data(), n * 2)) == n * 2;
      at += n;
    }
  }
  dataLength_ += bytes;
  return ok_;
}

bool ProductionFile::Finish() {
  if (!ok_) {
    file_.reset();
    return false;
  }
  ok_ = false;
  const auto header = ProductionHeader(sampleRate_, static_cast<std::uint32_t>(dataLength_));
  const bool ok = file_->Stream().WriteAt(0, header) == header.size() && file_->Commit();
  file_.reset();
  return ok;
}

bool WriteProductionFile(const std::filesystem::path& path, std::uint32_t sampleRate,
                         std::span<const std::int16_t> samples) {
  ProductionFile file;
  return file.Open(path, sampleRate) && file.Put(samples) && file.Finish();
}

}  // namespace corvane
