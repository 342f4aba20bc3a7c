#include "audio/AudioDecoder.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "audio/InputFile.h"
#include "audio/MediaOwners.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

namespace corvane {
namespace {

// A stream that keeps failing without yielding a sample is given up on
// rather than read to the end of a damaged file one error at a time.
constexpr int kMaxErrorsInARow = 500;
// Bounds on one decoded frame, so a damaged stream cannot make the resampler
// ask for unbounded memory: its length, the lowest rate taken (which bounds
// the upsampling ratio) and the samples it may turn into.
constexpr int kMaxFrameSamples = 1 << 20;
constexpr int kMinSourceRate = 1000;
constexpr int kMaxFrameOutput = 1 << 24;

double Seconds(std::int64_t value, AVRational base) {
  return static_cast<double>(value) * av_q2d(base);
}

AudioFileInfo InfoOf(const media::OpenedInput& opened) {
  const AVFormatContext* format = opened.format.get();
  const AVStream* stream = format->streams[opened.stream];
  AudioFileInfo info;
  info.container = format->iformat->name;
  info.codec = avcodec_get_name(stream->codecpar->codec_id);
  info.sampleRate = stream->codecpar->sample_rate;
  info.channels = stream->codecpar->ch_layout.nb_channels;
  if (format->duration > 0) {
    info.durationSeconds = static_cast<double>(format->duration) / AV_TIME_BASE;
  } else if (stream->duration > 0) {
    info.durationSeconds = Seconds(stream->duration, stream->time_base);
  }
  return info;
}

// The channel layout FFmpeg resamples from: a decoder that knows only the
// channel count gets the usual layout for that count.
void UsableLayout(const AVChannelLayout& given, AVChannelLayout& layout) {
  if (given.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&given) == 0) {
    av_channel_layout_default(&layout, given.nb_channels);
  } else {
    av_channel_layout_copy(&layout, &given);
  }
}

}  // namespace

std::optional<AudioFileInfo> ProbeAudioFile(const std::filesystem::path& path, std::string* error) {
  media::OpenedInput opened;
  std::string reason;
  if (!media::OpenInputFile(path.string(), false, opened, reason)) {
    if (error != nullptr) *error = reason;
    return std::nullopt;
  }
  return InfoOf(opened);
}

struct AudioDecoder::State {
  media::OpenedInput input;
  media::CodecContext codec;
  media::Resampler resampler;
  media::Frame frame;
  media::Packet packet;
  AudioFileInfo source;
  int outputRate = 0;
  std::int64_t maxSamples = 0;

  // What the resampler was set up for; rebuilt when a frame differs.
  int inFormat = -1;
  int inRate = 0;
  AVChannelLayout inLayout{};

  std::vector<std::int16_t> pending;
  std::size_t pendingAt = 0;
  std::int64_t delivered = 0;
  std::int64_t produced = 0;

  bool inputEnded = false;
  bool drainSent = false;
  bool finished = false;
  bool failed = false;
  int errorsInARow = 0;
  std::int64_t skipped = 0;
  std::string error;
  double position = 0;

  ~State() { av_channel_layout_uninit(&inLayout); }

  void Fail(std::string reason) {
    failed = true;
    finished = true;
    error = std::move(reason);
  }

  // Appends what the resampler gives for these input samples (none: flush).
  void Resample(const std::uint8_t** data, int count) {
    const int room = swr_get_out_samples(resampler.get(), count);
    if (room < 0) return Fail("resampling failed: " + media::ErrorText(room));
    if (room > kMaxFrameOutput) return Fail("a frame of the audio is too large");
    if (room == 0) return;
    const std::size_t at = pending.size();
    pending.resize(at + static_cast<std::size_t>(room));
    auto* out = reinterpret_cast<std::uint8_t*>(pending.data() + at);
    const int made = swr_convert(resampler.get(), &out, room, data, count);
    if (made < 0) {
      pending.resize(at);
      return Fail("resampling failed: " + media::ErrorText(made));
    }
    pending.resize(at + static_cast<std::size_t>(made));
    produced += made;
    if (produced > maxSamples) Fail("the audio is longer than the engine accepts");
  }

  void FlushResampler() {
    if (resampler) Resample(nullptr, 0);
  }

  bool Configure(const AVFrame& f) {
    AVChannelLayout layout{};
    UsableLayout(f.ch_layout, layout);
    const bool same = resampler && inFormat == f.format && inRate == f.sample_rate &&
                      av_channel_layout_compare(&layout, &inLayout) == 0;
    if (same) {
      av_channel_layout_uninit(&layout);
      return true;
    }
    FlushResampler();
    resampler.reset();
    av_channel_layout_uninit(&inLayout);
    inLayout = layout;
    inFormat = f.format;
    inRate = f.sample_rate;
    if (failed) return false;

    AVChannelLayout mono{};
    av_channel_layout_default(&mono, 1);
    SwrContext* raw = nullptr;
    int code =
        swr_alloc_set_opts2(&raw, &mono, AV_SAMPLE_FMT_S16, outputRate, &inLayout,
                            static_cast<AVSampleFormat>(f.format), f.sample_rate, 0, nullptr);
    av_channel_layout_uninit(&mono);
    media::Resampler owner(raw);
    if (code >= 0) code = swr_init(raw);
    if (code < 0) {
      Fail("cannot resample this audio: " + media::ErrorText(code));
      return false;
    }
    resampler = std::move(owner);
    return true;
  }

  void Convert(const AVFrame& f) {
    if (f.nb_samples <= 0) return;
    if (f.sample_rate < kMinSourceRate || f.sample_rate > kMaxSampleRate ||
        f.nb_samples > kMaxFrameSamples || f.ch_layout.nb_channels <= 0) {
      NoteError();
      return;
    }
    if (!Configure(f)) return;
    Resample(const_cast<const std::uint8_t**>(f.extended_data), f.nb_samples);
    errorsInARow = 0;
  }

  void NoteError() {
    ++skipped;
    if (++errorsInARow > kMaxErrorsInARow) Fail("the audio data is damaged");
  }

  // Decodes until there are pending samples or the stream is over.
  void Refill() {
    while (pendingAt >= pending.size() && !finished) {
      pending.clear();
      pendingAt = 0;
      int code = avcodec_receive_frame(codec.get(), frame.get());
      if (code == 0) {
        Convert(*frame);
        av_frame_unref(frame.get());
        continue;
      }
      if (code == AVERROR_EOF) {
        FlushResampler();
        finished = true;
        continue;
      }
      if (code != AVERROR(EAGAIN)) {
        NoteError();
        continue;
      }
      if (inputEnded) {
        if (drainSent) {
          // A decoder that neither drains nor ends: stop here.
          FlushResampler();
          finished = true;
          continue;
        }
        avcodec_send_packet(codec.get(), nullptr);
        drainSent = true;
        continue;
      }
      code = av_read_frame(input.format.get(), packet.get());
      if (code < 0) {
        inputEnded = true;
        continue;
      }
      if (packet->stream_index == input.stream) {
        const AVStream* stream = input.format->streams[input.stream];
        if (packet->pts != AV_NOPTS_VALUE) position = Seconds(packet->pts, stream->time_base);
        code = avcodec_send_packet(codec.get(), packet.get());
        if (code < 0 && code != AVERROR(EAGAIN)) NoteError();
      }
      av_packet_unref(packet.get());
    }
  }
};

AudioDecoder::AudioDecoder() = default;
AudioDecoder::~AudioDecoder() = default;
AudioDecoder::AudioDecoder(AudioDecoder&& other) noexcept = default;
AudioDecoder& AudioDecoder::operator=(AudioDecoder&& other) noexcept = default;

bool AudioDecoder::Open(const std::filesystem::path& path, int outputRate,
                        std::int64_t maxSeconds) {
  state_ = std::make_unique<State>();
  State& s = *state_;
  if (outputRate < 0 || outputRate > kMaxSampleRate) {
    s.Fail("the sample rate " + std::to_string(outputRate) + " Hz is out of range");
    return false;
  }
  std::string reason;
  if (!media::OpenInputFile(path.string(), true, s.input, reason)) {
    s.Fail(reason);
    return false;
  }
  s.source = InfoOf(s.input);
  const AVStream* stream = s.input.format->streams[s.input.stream];
  s.codec.reset(avcodec_alloc_context3(s.input.decoder));
  s.frame.reset(av_frame_alloc());
  s.packet.reset(av_packet_alloc());
  if (!s.codec || !s.frame || !s.packet) {
    s.Fail("out of memory");
    return false;
  }
  int code = avcodec_parameters_to_context(s.codec.get(), stream->codecpar);
  if (code >= 0) code = avcodec_open2(s.codec.get(), s.input.decoder, nullptr);
  if (code < 0) {
    s.Fail("cannot decode " + s.source.codec + ": " + media::ErrorText(code));
    return false;
  }
  const int rate = outputRate != 0 ? outputRate : s.codec->sample_rate;
  if (rate <= 0 || rate > kMaxSampleRate) {
    s.Fail("the source has no usable sample rate");
    return false;
  }
  s.outputRate = rate;
  s.maxSamples = std::max<std::int64_t>(0, maxSeconds) * rate;
  return true;
}

void AudioDecoder::Close() { state_.reset(); }

bool AudioDecoder::IsOpen() const { return state_ && !state_->failed && state_->codec != nullptr; }

const AudioFileInfo& AudioDecoder::Source() const {
  static const AudioFileInfo none;
  return state_ ? state_->source : none;
}

int AudioDecoder::OutputRate() const { return state_ ? state_->outputRate : 0; }

std::size_t AudioDecoder::Read(std::span<std::int16_t> into) {
  if (!state_ || !state_->codec) return 0;
  State& s = *state_;
  std::size_t done = 0;
  while (done < into.size()) {
    s.Refill();
    const std::size_t available = s.pending.size() - s.pendingAt;
    if (available == 0) break;
    const std::size_t n = std::min(available, into.size() - done);
    std::memcpy(into.data() + done, s.pending.data() + s.pendingAt, n * sizeof(std::int16_t));
    s.pendingAt += n;
    done += n;
  }
  s.delivered += static_cast<std::int64_t>(done);
  return done;
}

bool AudioDecoder::Failed() const { return state_ && state_->failed; }

const std::string& AudioDecoder::Error() const {
  static const std::string none;
  return state_ ? state_->error : none;
}

std::int64_t AudioDecoder::SamplesDelivered() const { return state_ ? state_->delivered : 0; }

std::int64_t AudioDecoder::SkippedErrors() const { return state_ ? state_->skipped : 0; }

double AudioDecoder::Fraction() const {
  if (!state_ || state_->source.durationSeconds <= 0) return 0;
  return std::clamp(state_->position / state_->source.durationSeconds, 0.0, 1.0);
}

}  // namespace corvane
