#include "package/cipher/WorkerPool.h"

#include <unistd.h>

#include <system_error>

namespace corvane::tea {

WorkerPool& WorkerPool::Shared() {
  static WorkerPool pool(
      std::thread::hardware_concurrency() > 1 ? std::thread::hardware_concurrency() - 1 : 0);
  return pool;
}

WorkerPool::WorkerPool(unsigned threads) : owner_(::getpid()) {
  threads_.reserve(threads);
  for (unsigned i = 0; i < threads; ++i) {
    try {
      threads_.emplace_back([this, part = i + 1] { Serve(part); });
    } catch (const std::system_error&) {
      break;  // run with the threads we got; the caller still does its part
    }
  }
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : threads_) t.join();
}

bool WorkerPool::TryRun(unsigned parts, Task task, void* context) {
  // A forked child has none of the threads; it must not wait for them.
  if (::getpid() != owner_) return false;
  std::unique_lock run(runLock_, std::try_to_lock);
  if (!run.owns_lock()) return false;
  if (parts > Width()) parts = Width();
  if (parts > 1) {
    std::lock_guard lock(mutex_);
    task_ = task;
    context_ = context;
    parts_ = parts;
    pending_ = parts - 1;
    ++generation_;
  }
  if (parts > 1) wake_.notify_all();
  if (parts > 0) task(context, 0);
  if (parts > 1) {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return pending_ == 0; });
  }
  return true;
}

void WorkerPool::Serve(unsigned part) {
  std::uint64_t seen = 0;
  for (;;) {
    Task task = nullptr;
    void* context = nullptr;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
      if (stopping_) return;
      seen = generation_;
      if (part >= parts_) continue;
      task = task_;
      context = context_;
    }
    task(context, part);
    bool last = false;
    {
      std::lock_guard lock(mutex_);
      last = --pending_ == 0;
    }
    if (last) finished_.notify_one();
  }
}

}  // namespace corvane::tea
