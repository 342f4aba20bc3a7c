#include "common/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <utility>

namespace corvane {

std::optional<MappedFile> MappedFile::ForWriting(FileStream& file, std::uint64_t size) {
  const int fd = file.Descriptor();
  if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) return std::nullopt;
  if (size == 0) return MappedFile(nullptr, 0);
  // Without reserved blocks a full disk would only show as a fault while
  // writing through the mapping.
  if (::posix_fallocate(fd, 0, static_cast<off_t>(size)) != 0) return std::nullopt;
  void* data = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (data == MAP_FAILED) return std::nullopt;
  return MappedFile(static_cast<std::uint8_t*>(data), size);
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)) {}

MappedFile::~MappedFile() {
  if (data_ != nullptr) ::munmap(data_, size_);
}

}  // namespace corvane
