#pragma once
// Measures the loudness of files on a thread of its own, so a list can say
// how loud each of its files is without the screen waiting for the meter.
// A file is measured once, and again only after it has changed.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "audio/Loudness.h"

namespace corvane {

class LoudnessSurvey {
 public:
  LoudnessSurvey() = default;
  LoudnessSurvey(const LoudnessSurvey&) = delete;
  LoudnessSurvey& operator=(const LoudnessSurvey&) = delete;
  // Stops the file being measured and waits for the thread.
  ~LoudnessSurvey();

  enum class State { Waiting, Measured, Failed };
  struct Finding {
    State state = State::Waiting;
    LoudnessFigures figures;
  };
  // What is known of the file as it is now; when nothing is, it is queued
  // to be measured and the finding is Waiting.
  Finding Of(const std::filesystem::path& file);

 private:
  // What tells one version of a file from another.
  struct Stamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written;
    bool operator==(const Stamp&) const = default;
  };
  struct Entry {
    Stamp stamp;
    Finding finding;
  };
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::filesystem::path> queue_;
  std::map<std::filesystem::path, Entry> known_;
  std::atomic<bool> stopping_ = false;
  std::thread worker_;  // started by the first file queued
};

}  // namespace corvane
