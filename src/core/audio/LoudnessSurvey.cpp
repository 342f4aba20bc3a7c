#include "audio/LoudnessSurvey.h"

#include <algorithm>
#include <system_error>

namespace corvane {

LoudnessSurvey::~LoudnessSurvey() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

LoudnessSurvey::Finding LoudnessSurvey::Of(const std::filesystem::path& file) {
  std::error_code sizeError;
  std::error_code timeError;
  const Stamp stamp{std::filesystem::file_size(file, sizeError),
                    std::filesystem::last_write_time(file, timeError)};
  Finding missing{State::Failed, {}};
  if (sizeError || timeError) {
    missing.figures.error = "the file cannot be read";
    return missing;
  }
  const std::lock_guard lock(mutex_);
  auto [at, added] = known_.try_emplace(file, Entry{stamp, {}});
  if (!added && at->second.stamp == stamp) return at->second.finding;
  // New, or changed since it was measured: measured (again) in turn, once.
  at->second = Entry{stamp, {}};
  if (std::find(queue_.begin(), queue_.end(), file) == queue_.end()) queue_.push_back(file);
  if (!worker_.joinable()) worker_ = std::thread([this] { Run(); });
  wake_.notify_one();
  return at->second.finding;
}

void LoudnessSurvey::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    const std::filesystem::path file = queue_.front();
    queue_.pop_front();
    lock.unlock();
    const LoudnessFigures figures = MeasureLoudness(file, RangeWanted::No, &stopping_);
    lock.lock();
    // A file changed while it was measured stays waiting; its new version
    // is in the queue.
    const auto at = known_.find(file);
    if (at != known_.end() && at->second.finding.state == State::Waiting &&
        std::count(queue_.begin(), queue_.end(), file) == 0) {
      at->second.finding = {figures.measured ? State::Measured : State::Failed, figures};
    }
  }
}

}  // namespace corvane
