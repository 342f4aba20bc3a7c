#pragma once
// Keeps a second copy of the program from running against the same folders.
// The lock is an advisory lock on a file, which the system drops when the
// holding process ends in any way, so a crash never locks the operator out.

#include <filesystem>

namespace corvane {

class InstanceLock {
 public:
  enum class Result { Acquired, HeldElsewhere, Unavailable };

  InstanceLock() = default;
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  ~InstanceLock();

  // Tries to take the lock file in the folder without waiting. Unavailable
  // means the lock file could not be opened at all (e.g. a read-only folder).
  Result Acquire(const std::filesystem::path& folder);
  void Release();

  static constexpr const char* kFileName = "corvane.lock";

 private:
  int fd_ = -1;
};

}  // namespace corvane
