#pragma once
// A sound input the recorder captures from: the desktop's microphones
// through Qt, a generated signal in tests, or nothing at all (the null input
// reports no device, and the recorder says so).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// The capture format, fixed: PCM, one channel, 22050 Hz, 16 bits.
inline constexpr int kCaptureRate = 22050;

class AudioInput {
 public:
  virtual ~AudioInput() = default;
  // The input devices' names, in the platform's order.
  virtual std::vector<std::string> Devices() = 0;
  // Whether the device takes the capture format.
  virtual bool SupportsCaptureFormat(std::size_t device) = 0;
  // Starts capturing from the device; false when it cannot.
  virtual bool Start(std::size_t device) = 0;
  // Appends the samples captured since the last call.
  virtual void TakeCaptured(std::vector<std::int16_t>& into) = 0;
  // Ends the capture. Samples not yet taken are dropped and nothing arrives
  // afterwards, so a caller that wants the end of a take takes it first.
  virtual void Stop() = 0;
};

class NullAudioInput final : public AudioInput {
 public:
  std::vector<std::string> Devices() override { return {}; }
  bool SupportsCaptureFormat(std::size_t) override { return false; }
  bool Start(std::size_t) override { return false; }
  void TakeCaptured(std::vector<std::int16_t>&) override {}
  void Stop() override {}
};

}  // namespace corvane
