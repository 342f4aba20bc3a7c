#pragma once
// The production file: the fixed 80-byte WAV header and mono 16-bit samples,
// written as they come and moved into place only when complete, so a failed
// or abandoned write never leaves a partial file, nor replaces an old one.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "audio/ProductionStream.h"
#include "common/ReplacingFile.h"

namespace corvane {

class ProductionFile final : public ProductionSink {
 public:
  ProductionFile() = default;
  ProductionFile(const ProductionFile&) = delete;
  ProductionFile& operator=(const ProductionFile&) = delete;
  // A write that was not finished leaves nothing behind.
  ~ProductionFile() override;

  // Starts the file that replaces path when finished. False when it cannot
  // be created.
  bool Open(const std::filesystem::path& path, std::uint32_t sampleRate);
  // Appends samples; false when the write failed or the WAV header could
  // not state the length any more.
  bool Put(std::span<const std::int16_t> samples) override;
  // States the length in the header and puts the file in place.
  bool Finish();

 private:
  std::optional<ReplacingFile> file_;
  std::uint32_t sampleRate_ = 0;
  std::uint64_t dataLength_ = 0;
  bool ok_ = false;
};

// Creates or replaces the file with the production header and the samples.
// False when any write failed; nothing is left behind then.
bool WriteProductionFile(const std::filesystem::path& path, std::uint32_t sampleRate,
                         std::span<const std::int16_t> samples);

}  // namespace corvane
