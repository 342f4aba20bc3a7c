#pragma once
// Writes one buffer on a thread of its own while the caller fills and
// transforms the next, so reading, ciphering and writing a large member
// overlap instead of taking turns.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "common/ByteStream.h"

namespace corvane {

class BackgroundWriter {
 public:
  explicit BackgroundWriter(ByteSink& sink);
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;
  ~BackgroundWriter();

  // Waits until the previous buffer is written, then starts writing this
  // one; the caller must not touch it until the next Put or Finish. False
  // when an earlier write fell short (nothing more is written then).
  bool Put(std::span<const std::uint8_t> data);
  // Waits for the last write; false when any write fell short.
  bool Finish();

 private:
  void Run();

  ByteSink& sink_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::span<const std::uint8_t> pending_;
  bool busy_ = false;
  bool failed_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace corvane
