#include "audio/SampleBuffer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace corvane {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::align_val_t kAlignment{kHugePage};
// Below this a block is an ordinary allocation: huge pages pay off only for
// productions of minutes.
constexpr std::size_t kLargeBlock = 8 * kHugePage;

bool IsLarge(std::size_t samples) { return samples * sizeof(std::int16_t) >= kLargeBlock; }

std::int16_t* Allocate(std::size_t samples) {
  if (!IsLarge(samples)) {
    return static_cast<std::int16_t*>(::operator new(samples * sizeof(std::int16_t)));
  }
  const std::size_t bytes =
      (samples * sizeof(std::int16_t) + kHugePage - 1) / kHugePage * kHugePage;
  void* block = ::operator new(bytes, kAlignment);
#if defined(MADV_HUGEPAGE)
  // A hint only: without huge pages the buffer works the same, just slower.
  ::madvise(block, bytes, MADV_HUGEPAGE);
#endif
  return static_cast<std::int16_t*>(block);
}

// capacity is what the block was allocated for, which tells how.
void Release(std::int16_t* data, std::size_t capacity) {
  if (data == nullptr) return;
  if (IsLarge(capacity)) {
    ::operator delete(data, kAlignment);
  } else {
    ::operator delete(data);
  }
}

}  // namespace

SampleBuffer::~SampleBuffer() { Release(data_, capacity_); }

SampleBuffer::SampleBuffer(SampleBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

SampleBuffer& SampleBuffer::operator=(SampleBuffer&& other) noexcept {
  if (this != &other) {
    Release(data_, capacity_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void SampleBuffer::Reserve(std::size_t samples) {
  if (samples <= capacity_) return;
  if (samples > SIZE_MAX / sizeof(std::int16_t) - kHugePage) throw std::bad_alloc();
  std::int16_t* grown = Allocate(samples);
  if (size_ > 0) std::memcpy(grown, data_, size_ * sizeof(std::int16_t));
  Release(data_, capacity_);
  data_ = grown;
  capacity_ = samples;
}

void SampleBuffer::Resize(std::size_t samples) {
  if (samples > capacity_) Reserve(std::max(samples, capacity_ + capacity_ / 2));
  size_ = samples;
}

}  // namespace corvane
