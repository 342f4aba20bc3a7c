#pragma once
// A file's bytes mapped into memory for writing: the space is reserved on the
// storage first, so a full disk is an error here rather than a crash later,
// and pieces of it can then be filled by several threads without write calls.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "common/ByteStream.h"

namespace corvane {

class MappedFile {
 public:
  // Sizes the open file to `size` bytes, reserves them and maps them. Nothing
  // when any step fails (no space, a size limit, no memory).
  static std::optional<MappedFile> ForWriting(FileStream& file, std::uint64_t size);

  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&&) = delete;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  std::uint8_t* Data() const { return data_; }
  std::uint64_t Size() const { return size_; }

 private:
  MappedFile(std::uint8_t* data, std::uint64_t size) : data_(data), size_(size) {}
  std::uint8_t* data_;
  std::uint64_t size_;
};

}  // namespace corvane
