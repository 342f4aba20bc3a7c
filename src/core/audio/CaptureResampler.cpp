#include "audio/CaptureResampler.h"

#include <algorithm>

#include "audio/AudioInput.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

namespace corvane {
namespace {

// What sound devices offer; anything outside is a mistake, not a device.
constexpr int kMinDeviceRate = 4000;
constexpr int kMaxDeviceRate = 384000;
constexpr int kMaxDeviceChannels = 32;

AVSampleFormat SampleFormatOf(DeviceSample sample) {
  switch (sample) {
    case DeviceSample::UInt8: return AV_SAMPLE_FMT_U8;
    case DeviceSample::Int16: return AV_SAMPLE_FMT_S16;
    case DeviceSample::Int32: return AV_SAMPLE_FMT_S32;
    case DeviceSample::Float: return AV_SAMPLE_FMT_FLT;
  }
  return AV_SAMPLE_FMT_NONE;
}

}  // namespace

int DeviceFormat::FrameBytes() const {
  return channels * av_get_bytes_per_sample(SampleFormatOf(sample));
}

bool CaptureResampler::Open(const DeviceFormat& from) {
  Close();
  if (from.rate < kMinDeviceRate || from.rate > kMaxDeviceRate || from.channels < 1 ||
      from.channels > kMaxDeviceChannels || from.FrameBytes() <= 0) {
    return false;
  }
  AVChannelLayout in{};
  AVChannelLayout mono{};
  av_channel_layout_default(&in, from.channels);
  av_channel_layout_default(&mono, 1);
  SwrContext* raw = nullptr;
  int code = swr_alloc_set_opts2(&raw, &mono, AV_SAMPLE_FMT_S16, kCaptureRate, &in,
                                 SampleFormatOf(from.sample), from.rate, 0, nullptr);
  av_channel_layout_uninit(&in);
  av_channel_layout_uninit(&mono);
  media::Resampler owner(raw);
  if (code >= 0) code = swr_init(raw);
  if (code < 0) return false;
  resampler_ = std::move(owner);
  from_ = from;
  return true;
}

void CaptureResampler::Convert(std::span<const std::uint8_t> bytes,
                               std::vector<std::int16_t>& into) {
  if (!resampler_) return;
  carry_.insert(carry_.end(), bytes.begin(), bytes.end());
  const auto frameBytes = static_cast<std::size_t>(from_.FrameBytes());
  const int frames = static_cast<int>(std::min<std::size_t>(carry_.size() / frameBytes, 1 << 24));
  if (frames == 0) return;
  const int room = swr_get_out_samples(resampler_.get(), frames);
  if (room > 0) {
    const std::size_t at = into.size();
    into.resize(at + static_cast<std::size_t>(room));
    auto* out = reinterpret_cast<std::uint8_t*>(into.data() + at);
    const std::uint8_t* in = carry_.data();
    const int made = swr_convert(resampler_.get(), &out, room, &in, frames);
    into.resize(at + static_cast<std::size_t>(std::max(made, 0)));
  }
  carry_.erase(carry_.begin(), carry_.begin() + static_cast<std::ptrdiff_t>(frames * frameBytes));
}

void CaptureResampler::Close() {
  resampler_.reset();
  carry_.clear();
  from_ = {};
}

}  // namespace corvane
