#pragma once
// Streams that checksum the bytes passing through them, so a package is
// checksummed while it is written or unpacked instead of in a second pass.

#include <cstdint>
#include <span>

#include "common/ByteStream.h"
#include "package/Crc16Ccitt.h"

namespace corvane {

class ChecksummingSink final : public ByteSink {
 public:
  explicit ChecksummingSink(ByteSink& inner) : inner_(inner) {}
  std::size_t Write(std::span<const std::uint8_t> from) override {
    const std::size_t written = inner_.Write(from);
    crc_ = Crc16Update(crc_, from.data(), written);
    count_ += written;
    return written;
  }
  std::uint16_t Crc() const { return crc_; }
  std::uint64_t Count() const { return count_; }

 private:
  ByteSink& inner_;
  std::uint16_t crc_ = kCrc16Start;
  std::uint64_t count_ = 0;
};

// Checksums every byte read through it, and never reads past `limit` bytes
// from where it started: the package's trailing checksum stays unread.
class ChecksummingSource final : public ByteSource {
 public:
  ChecksummingSource(ByteSource& inner, std::uint64_t limit, std::uint16_t crc = kCrc16Start)
      : inner_(inner), limit_(limit), crc_(crc) {}
  std::size_t Read(std::span<std::uint8_t> into) override {
    const std::uint64_t left = limit_ - position_;
    if (into.size() > left) into = into.first(static_cast<std::size_t>(left));
    const std::size_t got = inner_.Read(into);
    crc_ = Crc16Update(crc_, into.data(), got);
    position_ += got;
    return got;
  }
  std::uint16_t Crc() const { return crc_; }
  std::uint64_t Position() const { return position_; }

 private:
  ByteSource& inner_;
  std::uint64_t limit_;
  std::uint64_t position_ = 0;
  std::uint16_t crc_;
};

}  // namespace corvane
