#pragma once
// Byte sources and sinks: the files, buffers and test doubles that the cipher
// and the package formats read from and write to.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace corvane {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to into.size() bytes; fewer means end of data or an error.
  virtual std::size_t Read(std::span<std::uint8_t> into) = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes up to from.size() bytes; fewer means the write failed.
  virtual std::size_t Write(std::span<const std::uint8_t> from) = 0;
};

// A file opened for reading or writing; closed when destroyed.
class FileStream final : public ByteSource, public ByteSink {
 public:
  static FileStream OpenForRead(const std::filesystem::path& path);
  // Creates the file, or truncates an existing one.
  static FileStream CreateForWrite(const std::filesystem::path& path);
  // Creates the file for reading and writing; fails when anything has that name.
  static FileStream CreateNew(const std::filesystem::path& path);
  // A file with no name in the folder, for reading and writing; it vanishes
  // when closed unless it was given a name. Fails where the system has no
  // such files.
  static FileStream CreateUnnamedIn(const std::filesystem::path& folder);

  // A stream with no file, as after Close.
  FileStream() = default;
  FileStream(FileStream&& other) noexcept;
  FileStream& operator=(FileStream&& other) noexcept;
  FileStream(const FileStream&) = delete;
  FileStream& operator=(const FileStream&) = delete;
  ~FileStream() override;

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }
  // The file's size; nothing when it cannot be told.
  std::optional<std::uint64_t> Size() const;
  std::size_t Read(std::span<std::uint8_t> into) override;
  // Reads at an offset without moving the position used by Read.
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> into);
  // Writes at an offset; several threads may read and write a file at once
  // this way.
  std::size_t WriteAt(std::uint64_t offset, std::span<const std::uint8_t> from);
  std::size_t Write(std::span<const std::uint8_t> from) override;
  // Flushes written data to the storage device.
  bool Sync();
  // Closes the file; false when the close reported an error.
  bool Close();

 private:
  explicit FileStream(int fd) : fd_(fd) {}
  int fd_ = -1;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> data) : data_(data) {}
  std::size_t Read(std::span<std::uint8_t> into) override;

 private:
  std::span<const std::uint8_t> data_;
  std::size_t position_ = 0;
};

class MemorySink final : public ByteSink {
 public:
  std::size_t Write(std::span<const std::uint8_t> from) override;
  std::vector<std::uint8_t> bytes;
};

}  // namespace corvane
