#include "audio/SampleBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

namespace corvane {

SampleBuffer::~SampleBuffer() { ::operator delete(data_); }

SampleBuffer::SampleBuffer(SampleBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

SampleBuffer& SampleBuffer::operator=(SampleBuffer&& other) noexcept {
  if (this != &other) {
    ::operator delete(data_);
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void SampleBuffer::Reserve(std::size_t samples) {
  if (samples <= capacity_) return;
  if (samples > SIZE_MAX / sizeof(std::int16_t)) throw std::bad_alloc();
  auto* grown = static_cast<std::int16_t*>(::operator new(samples * sizeof(std::int16_t)));
  if (size_ > 0) std::memcpy(grown, data_, size_ * sizeof(std::int16_t));
  ::operator delete(data_);
  data_ = grown;
  capacity_ = samples;
}

void SampleBuffer::Resize(std::size_t samples) {
  if (samples > capacity_) Reserve(std::max(samples, capacity_ + capacity_ / 2));
  size_ = samples;
}

}  // namespace corvane
