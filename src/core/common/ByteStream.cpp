#include "common/ByteStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace corvane {

FileStream FileStream::OpenForRead(const std::filesystem::path& path) {
  return FileStream(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

FileStream FileStream::CreateForWrite(const std::filesystem::path& path) {
  return FileStream(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
}

FileStream FileStream::CreateNew(const std::filesystem::path& path) {
  return FileStream(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
}

FileStream FileStream::CreateUnnamedIn(const std::filesystem::path& folder) {
  return FileStream(::open(folder.c_str(), O_RDWR | O_TMPFILE | O_CLOEXEC, 0644));
}

FileStream::FileStream(FileStream&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileStream& FileStream::operator=(FileStream&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

FileStream::~FileStream() { Close(); }

std::size_t FileStream::Read(std::span<std::uint8_t> into) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < into.size()) {
    const ssize_t n = ::read(fd_, into.data() + done, into.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::optional<std::uint64_t> FileStream::Size() const {
  struct stat status {};
  if (fd_ < 0 || ::fstat(fd_, &status) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(status.st_size);
}

std::size_t FileStream::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < into.size()) {
    const ssize_t n = ::pread(fd_, into.data() + done, into.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t FileStream::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> from) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < from.size()) {
    const ssize_t n = ::pwrite(fd_, from.data() + done, from.size() - done,
                               static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t FileStream::Write(std::span<const std::uint8_t> from) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < from.size()) {
    const ssize_t n = ::write(fd_, from.data() + done, from.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool FileStream::Sync() { return fd_ >= 0 && ::fsync(fd_) == 0; }

bool FileStream::Close() {
  if (fd_ < 0) return true;
  const int result = ::close(std::exchange(fd_, -1));
  return result == 0;
}

std::size_t MemorySource::Read(std::span<std::uint8_t> into) {
  const std::size_t n = std::min(into.size(), data_.size() - position_);
  // An empty span may carry a null pointer, which memcpy must never see.
  if (n == 0) return 0;
  std::memcpy(into.data(), data_.data() + position_, n);
  position_ += n;
  return n;
}

std::size_t MemorySink::Write(std::span<const std::uint8_t> from) {
  if (from.empty()) return 0;
  bytes.insert(bytes.end(), from.begin(), from.end());
  return from.size();
}

}  // namespace corvane
