#pragma once
// The recorder behind "Audio Recorder": captures 22050 Hz mono 16-bit from
// an input, counts tenths of a second on the screen's 100 ms timer, shows
// the input level of each 0.1-second block, stops by itself after an hour,
// and writes the take to its work file as a mono 16-bit WAV.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "audio/AudioInput.h"

namespace corvane {

// Samples in one meter block: 0.1 second.
inline constexpr std::size_t kMeterBlockSamples = kCaptureRate / 10;

// The level bar's value for one block: the mean of |s| * 100 / 16383 over
// its samples, each term truncated, at most 100.
int InputLevel(std::span<const std::int16_t> block);

// "%02d:%02d:%02d": hours, minutes, seconds.
std::string RecordingTimeText(std::int32_t seconds);

// Where a take is kept until it is saved: the application folder's "record.wav".
std::filesystem::path RecorderWorkFile(const std::filesystem::path& applicationFolder);

enum class RecordStart { Started, NoDevice, FormatUnsupported, Failed };

struct RecorderTick {
  std::int32_t seconds = 0;
  int level = 0;
  bool limitReached = false;  // the recording stopped by itself
};

class RecorderEngine {
 public:
  // A take holds at most this long; it stops by itself when either the
  // timer's count or the samples reach it.
  static constexpr std::int32_t kLimitSeconds = 3600;

  RecorderEngine(AudioInput& input, std::filesystem::path workFile,
                 std::int32_t limitSeconds = kLimitSeconds);
  RecorderEngine(const RecorderEngine&) = delete;
  RecorderEngine& operator=(const RecorderEngine&) = delete;
  ~RecorderEngine();

  std::vector<std::string> Devices();
  // Discards any take and starts capturing; on failure nothing changes but
  // the discarded take.
  RecordStart Start(std::size_t device);
  // The 100 ms timer while recording: one more tenth, the captured samples
  // taken in, the meter read. At the limit the recording stops itself.
  RecorderTick Tick();
  // Ends the capture and writes the work file (creating its folder) when
  // anything was recorded. False when nothing was written.
  bool Stop();
  // Drops the take and deletes the work file.
  void Discard();

  bool IsRecording() const { return recording_; }
  bool HasTake() const { return elapsedTenths_ > 0; }
  std::int32_t ElapsedTenths() const { return elapsedTenths_; }
  std::span<const std::int16_t> Take() const { return take_; }
  const std::filesystem::path& WorkFile() const { return workFile_; }

 private:
  // Moves what the input captured into the take, up to the limit's length;
  // false when the take is full or memory ran out.
  bool TakeArrived();

  AudioInput& input_;
  std::filesystem::path workFile_;
  std::int32_t limitSeconds_;
  bool recording_ = false;
  std::int32_t elapsedTenths_ = 0;
  std::vector<std::int16_t> take_;
  std::vector<std::int16_t> meter_;
  std::vector<std::int16_t> arrived_;
};

}  // namespace corvane
