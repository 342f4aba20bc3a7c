#pragma once
// Starts one of the project's executables and waits for it, with a time limit.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvane::test {

struct ChildResult {
  std::optional<int> exitCode;  // none when it was killed or did not end in time
  std::chrono::milliseconds elapsed{0};
  std::string out;
  std::string err;
};

// Runs program with arguments; the environment is this process's with the
// given variables set. Kills the child when it outlives the limit. whileRunning,
// when given, runs on its own thread with the child's id from its start, while
// the output is collected, so it may wait for the child or signal it.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::map<std::string, std::string>& environment,
                     std::chrono::milliseconds limit = std::chrono::seconds(10),
                     const std::function<void(pid_t)>& whileRunning = {});

}  // namespace corvane::test
