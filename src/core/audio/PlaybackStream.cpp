#include "audio/PlaybackStream.h"

#include <cstring>

namespace corvane {
namespace {

constexpr int kMaxChannels = 8;

}  // namespace

bool PlaybackStream::Open(const std::filesystem::path& path, const PlaybackFormat& format) {
  Close();
  error_.clear();
  if (format.rate <= 0 || format.channels < 1 || format.channels > kMaxChannels) {
    error_ = "unusable output format";
    return false;
  }
  if (!decoder_.Open(path, format.rate)) {
    error_ = decoder_.Error();
    decoder_.Close();
    return false;
  }
  format_ = format;
  finished_ = false;
  return true;
}

void PlaybackStream::Close() {
  decoder_.Close();
  finished_ = true;
}

std::size_t PlaybackStream::Fill(std::span<std::uint8_t> out) {
  if (finished_) return 0;
  const auto frameBytes = static_cast<std::size_t>(format_.FrameBytes());
  const std::size_t frames = out.size() / frameBytes;
  mono_.resize(frames);
  const std::size_t got = decoder_.Read(mono_);
  if (got < frames) finished_ = true;
  std::uint8_t* at = out.data();
  for (std::size_t f = 0; f < got; ++f) {
    for (int c = 0; c < format_.channels; ++c) {
      if (format_.sample == PlaybackSample::Int16) {
        std::memcpy(at, &mono_[f], 2);
        at += 2;
      } else {
        const float value = static_cast<float>(mono_[f]) / 32768.0f;
        std::memcpy(at, &value, 4);
        at += 4;
      }
    }
  }
  return got * frameBytes;
}

}  // namespace corvane
