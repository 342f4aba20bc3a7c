#pragma once
// What an input device gives, turned into the recorder's capture format.
// Few microphones give 22050 Hz mono 16-bit themselves; most give 44.1 or
// 48 kHz stereo, so the recorder takes the device's own format and converts
// it as it arrives.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "audio/MediaOwners.h"

namespace corvane {

enum class DeviceSample { UInt8, Int16, Int32, Float };

struct DeviceFormat {
  int rate = 0;
  int channels = 0;
  DeviceSample sample = DeviceSample::Int16;

  int FrameBytes() const;
};

class CaptureResampler {
 public:
  // Ready for the format; false when it is not one a device can give.
  bool Open(const DeviceFormat& from);
  bool IsOpen() const { return resampler_ != nullptr; }
  // Appends the capture-format samples of the device's interleaved bytes (in
  // the host's byte order). A piece of a frame waits for the next call.
  void Convert(std::span<const std::uint8_t> bytes, std::vector<std::int16_t>& into);
  // Forgets the format and anything waiting.
  void Close();

 private:
  DeviceFormat from_;
  media::Resampler resampler_;
  std::vector<std::uint8_t> carry_;
};

}  // namespace corvane
