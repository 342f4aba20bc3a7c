#pragma once
// Byte source and sink doubles that fail after a set number of bytes and
// record the size of every call, for checking how a stream reads and writes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "common/ByteStream.h"

namespace corvane::testing {

// Delivers data, but never more than `limit` bytes in total.
class LimitedSource final : public ByteSource {
 public:
  explicit LimitedSource(std::span<const std::uint8_t> data,
                         std::size_t limit = std::numeric_limits<std::size_t>::max())
      : data_(data), limit_(std::min(limit, data.size())) {}

  std::size_t Read(std::span<std::uint8_t> into) override {
    requests.push_back(into.size());
    const std::size_t n = std::min(into.size(), limit_ - position_);
    if (n > 0) std::memcpy(into.data(), data_.data() + position_, n);
    position_ += n;
    return n;
  }

  std::size_t Position() const { return position_; }
  std::vector<std::size_t> requests;

 private:
  std::span<const std::uint8_t> data_;
  std::size_t limit_;
  std::size_t position_ = 0;
};

// Accepts bytes until `limit` in total have been written.
class LimitedSink final : public ByteSink {
 public:
  explicit LimitedSink(std::size_t limit = std::numeric_limits<std::size_t>::max())
      : limit_(limit) {}

  std::size_t Write(std::span<const std::uint8_t> from) override {
    requests.push_back(from.size());
    const std::size_t n = std::min(from.size(), limit_ - bytes.size());
    bytes.insert(bytes.end(), from.begin(), from.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
  }

  std::vector<std::uint8_t> bytes;
  std::vector<std::size_t> requests;

 private:
  std::size_t limit_;
};

}  // namespace corvane::testing
