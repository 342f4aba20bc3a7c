#include "audio/RecorderEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <system_error>

#include "audio/ProductionFile.h"

namespace corvane {

int InputLevel(std::span<const std::int16_t> block) {
  if (block.empty()) return 0;
  std::int64_t sum = 0;
  for (const std::int16_t s : block) sum += std::abs(static_cast<int>(s)) * 100 / 16383;
  return static_cast<int>(
      std::min<std::int64_t>(sum / static_cast<std::int64_t>(block.size()), 100));
}

std::string RecordingTimeText(std::int32_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds % 3600 / 60,
                seconds % 60);
  return text;
}

std::filesystem::path RecorderWorkFile(const std::filesystem::path& applicationFolder) {
  return applicationFolder / "record.wav";
}

RecorderEngine::RecorderEngine(AudioInput& input, std::filesystem::path workFile,
                               std::int32_t limitSeconds)
    : input_(input), workFile_(std::move(workFile)), limitSeconds_(limitSeconds) {}

RecorderEngine::~RecorderEngine() {
  // The capture must end before its buffer goes.
  if (recording_) input_.Stop();
}

std::vector<std::string> RecorderEngine::Devices() { return input_.Devices(); }

RecordStart RecorderEngine::Start(std::size_t device) {
  if (recording_) Stop();
  elapsedTenths_ = 0;
  take_.clear();
  meter_.clear();
  if (device >= input_.Devices().size()) return RecordStart::NoDevice;
  if (!input_.SupportsCaptureFormat(device)) return RecordStart::FormatUnsupported;
  if (!input_.Start(device)) return RecordStart::Failed;
  recording_ = true;
  return RecordStart::Started;
}

RecorderTick RecorderEngine::Tick() {
  RecorderTick tick;
  if (!recording_) return tick;
  ++elapsedTenths_;
  tick.seconds = elapsedTenths_ / 10;

  if (!TakeArrived()) tick.limitReached = true;
  // The meter fills with the first block after it was last read, then waits.
  const std::size_t want = kMeterBlockSamples - meter_.size();
  meter_.insert(meter_.end(), arrived_.begin(),
                arrived_.begin() + static_cast<std::ptrdiff_t>(std::min(want, arrived_.size())));
  if (meter_.size() == kMeterBlockSamples) {
    tick.level = InputLevel(meter_);
    meter_.clear();
  }

  if (tick.seconds >= limitSeconds_) tick.limitReached = true;
  if (tick.limitReached) {
    Stop();
    tick.level = 0;
  }
  return tick;
}

bool RecorderEngine::TakeArrived() {
  arrived_.clear();
  input_.TakeCaptured(arrived_);
  // A timer running late lets more than its count of samples in: the take
  // still ends at the limit's length.
  const std::size_t limit = static_cast<std::size_t>(limitSeconds_) * kCaptureRate;
  const std::size_t kept = std::min(arrived_.size(), limit - std::min(limit, take_.size()));
  try {
    take_.insert(take_.end(), arrived_.begin(),
                 arrived_.begin() + static_cast<std::ptrdiff_t>(kept));
  } catch (const std::bad_alloc&) {
    return false;  // out of memory mid-take: what was recorded stays
  }
  return take_.size() < limit;
}

bool RecorderEngine::Stop() {
  if (!recording_) return false;
  recording_ = false;
  // What the device delivered up to now is still waiting in the input, and
  // stopping the input drops it: take it first.
  TakeArrived();
  input_.Stop();
  meter_.clear();
  if (take_.empty()) return false;
  std::error_code ignored;
  if (workFile_.has_parent_path())
    std::filesystem::create_directories(workFile_.parent_path(), ignored);
  return WriteProductionFile(workFile_, kCaptureRate, take_);
}

void RecorderEngine::Discard() {
  if (recording_) {
    recording_ = false;
    input_.Stop();
  }
  elapsedTenths_ = 0;
  take_.clear();
  take_.shrink_to_fit();
  meter_.clear();
  std::error_code ignored;
  std::filesystem::remove(workFile_, ignored);
}

}  // namespace corvane
