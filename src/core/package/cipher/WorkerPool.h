#pragma once
// A few threads kept waiting for the cipher's large transforms, so a package
// of gigabytes cut into megabyte pieces does not start threads per piece.

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace corvane::tea {

class WorkerPool {
 public:
  using Task = void (*)(void* context, unsigned part);

  // The pool for this process, with one thread fewer than the processor has
  // cores: the caller works on a part too.
  static WorkerPool& Shared();

  explicit WorkerPool(unsigned threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // Parts a single run can spread over: the threads plus the caller.
  unsigned Width() const { return static_cast<unsigned>(threads_.size()) + 1; }

  // Runs task(context, part) for every part below `parts` (at most Width())
  // and returns when all are done; the first part runs on the calling thread. Returns
  // false without running anything when another caller holds the pool, so
  // the caller can do the work itself instead of queueing behind it.
  bool TryRun(unsigned parts, Task task, void* context);

 private:
  void Serve(unsigned part);

  std::mutex runLock_;  // one run at a time
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::uint64_t generation_ = 0;
  unsigned parts_ = 0;
  unsigned pending_ = 0;
  Task task_ = nullptr;
  void* context_ = nullptr;
  bool stopping_ = false;
  pid_t owner_;  // the process that started the threads
  std::vector<std::thread> threads_;
};

}  // namespace corvane::tea
