#pragma once
// Samples in one growable block. Growing leaves the new samples
// uninitialised: the production's window writes every one it adds, and
// would otherwise pay for clearing them first.

#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {

class SampleBuffer {
 public:
  SampleBuffer() = default;
  ~SampleBuffer();
  SampleBuffer(SampleBuffer&& other) noexcept;
  SampleBuffer& operator=(SampleBuffer&& other) noexcept;
  SampleBuffer(const SampleBuffer&) = delete;
  SampleBuffer& operator=(const SampleBuffer&) = delete;

  std::size_t Size() const { return size_; }
  std::int16_t* Data() { return data_; }
  const std::int16_t* Data() const { return data_; }
  std::span<const std::int16_t> View() const { return {data_, size_}; }

  // Makes room for at least this many samples; throws std::bad_alloc.
  void Reserve(std::size_t samples);
  // Changes the size; samples added are uninitialised. Throws std::bad_alloc.
  void Resize(std::size_t samples);

 private:
  std::int16_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace corvane
