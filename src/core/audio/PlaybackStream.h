#pragma once
// What a sound device plays: a file decoded through the engine into
// interleaved frames of the device's own rate, channel count and sample type.
// The Qt player feeds its output from here, so the device needs no decoder.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "audio/AudioDecoder.h"

namespace corvane {

enum class PlaybackSample { Int16, Float };

struct PlaybackFormat {
  int rate = 0;
  int channels = 1;
  PlaybackSample sample = PlaybackSample::Int16;

  int FrameBytes() const { return channels * (sample == PlaybackSample::Int16 ? 2 : 4); }
};

class PlaybackStream {
 public:
  // Opens the file for playing in the format; false with Error() set when it
  // holds no decodable audio or the format is unusable.
  bool Open(const std::filesystem::path& path, const PlaybackFormat& format);
  // Lets go of the file.
  void Close();
  bool IsOpen() const { return decoder_.IsOpen(); }

  // Fills out with whole frames in the host's byte order and returns the
  // bytes filled; fewer than fit only at the end of the file.
  std::size_t Fill(std::span<std::uint8_t> out);
  bool Finished() const { return finished_; }
  const std::string& Error() const { return error_; }

 private:
  AudioDecoder decoder_;
  PlaybackFormat format_;
  std::vector<std::int16_t> mono_;
  bool finished_ = true;
  std::string error_;
};

}  // namespace corvane
