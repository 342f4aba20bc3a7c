#include "package/cipher/BackgroundWriter.h"

namespace corvane {

BackgroundWriter::BackgroundWriter(ByteSink& sink) : sink_(sink), thread_([this] { Run(); }) {}

BackgroundWriter::~BackgroundWriter() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

bool BackgroundWriter::Put(std::span<const std::uint8_t> data) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
  if (failed_) return false;
  pending_ = data;
  busy_ = true;
  lock.unlock();
  changed_.notify_all();
  return true;
}

bool BackgroundWriter::Finish() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !busy_; });
  return !failed_;
}

void BackgroundWriter::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return busy_ || stopping_; });
    if (!busy_) return;
    const std::span<const std::uint8_t> data = pending_;
    lock.unlock();
    const bool whole = sink_.Write(data) == data.size();
    lock.lock();
    failed_ = failed_ || !whole;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace corvane
