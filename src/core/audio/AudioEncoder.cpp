#include "audio/AudioEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "audio/AudioDecoder.h"
#include "audio/MediaOwners.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

namespace corvane {
namespace {

// Frame length for encoders that take any length (the PCM family).
constexpr int kVariableFrameSamples = 4096;
constexpr int kMaxChannels = 8;

bool CanFill(AVSampleFormat format) {
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_S16:
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_S32:
    case AV_SAMPLE_FMT_U8:
    case AV_SAMPLE_FMT_DBL:
      return true;
    default:
      return false;
  }
}

// 16-bit samples as the encoder wants them; S16 itself when it takes it.
AVSampleFormat ChooseFormat(const AVCodec& codec) {
  if (codec.sample_fmts == nullptr) return AV_SAMPLE_FMT_S16;
  AVSampleFormat chosen = AV_SAMPLE_FMT_NONE;
  for (const AVSampleFormat* f = codec.sample_fmts; *f != AV_SAMPLE_FMT_NONE; ++f) {
    if (*f == AV_SAMPLE_FMT_S16 || *f == AV_SAMPLE_FMT_S16P) return *f;
    if (chosen == AV_SAMPLE_FMT_NONE && CanFill(*f)) chosen = *f;
  }
  return chosen;
}

bool TakesRate(const AVCodec& codec, int rate) {
  if (codec.supported_samplerates == nullptr) return true;
  for (const int* r = codec.supported_samplerates; *r != 0; ++r) {
    if (*r == rate) return true;
  }
  return false;
}

template <typename T, typename Convert>
void Spread(const std::int16_t* in, int samples, int channels, bool planar, std::uint8_t** data,
            Convert convert) {
  if (planar) {
    for (int c = 0; c < channels; ++c) {
      T* out = reinterpret_cast<T*>(data[c]);
      for (int i = 0; i < samples; ++i) out[i] = convert(in[i * channels + c]);
    }
  } else {
    T* out = reinterpret_cast<T*>(data[0]);
    const int total = samples * channels;
    for (int i = 0; i < total; ++i) out[i] = convert(in[i]);
  }
}

void Fill(const std::int16_t* in, int samples, int channels, AVSampleFormat format,
          std::uint8_t** data) {
  const bool planar = av_sample_fmt_is_planar(format) != 0;
  switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_S16:
      if (!planar) {
        std::memcpy(data[0], in,
                    static_cast<std::size_t>(samples) * channels * sizeof(std::int16_t));
      } else {
        Spread<std::int16_t>(in, samples, channels, true, data, [](std::int16_t s) { return s; });
      }
      break;
    case AV_SAMPLE_FMT_FLT:
      Spread<float>(in, samples, channels, planar, data,
                    [](std::int16_t s) { return static_cast<float>(s) * (1.0f / 32768.0f); });
      break;
    case AV_SAMPLE_FMT_DBL:
      Spread<double>(in, samples, channels, planar, data,
                     [](std::int16_t s) { return static_cast<double>(s) / 32768.0; });
      break;
    case AV_SAMPLE_FMT_S32:
      Spread<std::int32_t>(in, samples, channels, planar, data,
                           [](std::int16_t s) { return static_cast<std::int32_t>(s) * 65536; });
      break;
    case AV_SAMPLE_FMT_U8:
      Spread<std::uint8_t>(in, samples, channels, planar, data, [](std::int16_t s) {
        return static_cast<std::uint8_t>((s >> 8) + 128);
      });
      break;
    default:
      break;
  }
}

}  // namespace

std::string ContainerForCodec(const std::string& codec) {
  if (codec == "libvorbis") return "ogg";
  if (codec == "libmp3lame") return "mp3";
  if (codec == "pcm_s16le" || codec == "pcm_u8" || codec == "pcm_alaw" || codec == "pcm_mulaw") {
    return "wav";
  }
  return {};
}

struct AudioEncoder::State {
  media::OutputFormat output;
  media::CodecContext codec;
  media::Frame frame;
  media::Packet packet;
  AVStream* stream = nullptr;
  int channels = 1;
  int frameSamples = kVariableFrameSamples;
  std::vector<std::int16_t> queue;  // interleaved samples not yet encoded
  std::size_t queueAt = 0;
  std::int64_t taken = 0;
  std::int64_t sent = 0;
  bool finished = false;
  bool settingsRejected = true;
  std::string error;

  bool Fail(std::string reason) {
    if (error.empty()) error = std::move(reason);
    return false;
  }

  bool Drain() {
    for (;;) {
      const int code = avcodec_receive_packet(codec.get(), packet.get());
      if (code == AVERROR(EAGAIN) || code == AVERROR_EOF) return true;
      if (code < 0) return Fail("encoding failed: " + media::ErrorText(code));
      av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      const int written = av_interleaved_write_frame(output.get(), packet.get());
      if (written < 0) return Fail("writing failed: " + media::ErrorText(written));
    }
  }

  bool SendFrame(const std::int16_t* samples, int count) {
    int code = av_frame_make_writable(frame.get());
    if (code < 0) return Fail("out of memory");
    frame->nb_samples = count;
    Fill(samples, count, channels, codec->sample_fmt, frame->extended_data);
    frame->pts = sent;
    sent += count;
    code = avcodec_send_frame(codec.get(), frame.get());
    if (code < 0) return Fail("encoding failed: " + media::ErrorText(code));
    return Drain();
  }
};

AudioEncoder::AudioEncoder() = default;
AudioEncoder::~AudioEncoder() = default;
AudioEncoder::AudioEncoder(AudioEncoder&& other) noexcept = default;
AudioEncoder& AudioEncoder::operator=(AudioEncoder&& other) noexcept = default;

bool AudioEncoder::Open(const std::filesystem::path& path, const EncoderSettings& settings) {
  media::SilenceLibraryLog();
  state_ = std::make_unique<State>();
  State& s = *state_;
  if (settings.sampleRate <= 0 || settings.sampleRate > kMaxSampleRate) {
    return s.Fail("the sample rate " + std::to_string(settings.sampleRate) + " Hz is out of range");
  }
  if (settings.channels < 1 || settings.channels > kMaxChannels) {
    return s.Fail("unsupported channel count " + std::to_string(settings.channels));
  }
  const AVCodec* encoder = avcodec_find_encoder_by_name(settings.codec.c_str());
  if (encoder == nullptr || encoder->type != AVMEDIA_TYPE_AUDIO) {
    return s.Fail("unknown audio codec \"" + settings.codec + "\"");
  }
  std::string container = settings.container;
  if (container.empty()) container = ContainerForCodec(settings.codec);
  const AVOutputFormat* format =
      container.empty()
          ? av_guess_format(nullptr,
                            (settings.nameForContainer.empty() ? path : settings.nameForContainer)
                                .filename()
                                .string()
                                .c_str(),
                            nullptr)
                        : av_guess_format(container.c_str(), nullptr, nullptr);
  if (format == nullptr) return s.Fail("no container for codec \"" + settings.codec + "\"");
  if (avformat_query_codec(format, encoder->id, FF_COMPLIANCE_NORMAL) == 0) {
    return s.Fail(std::string("a ") + format->name + " file cannot hold " + settings.codec);
  }
  if (!TakesRate(*encoder, settings.sampleRate)) {
    return s.Fail(settings.codec + " does not take " + std::to_string(settings.sampleRate) + " Hz");
  }
  const AVSampleFormat sampleFormat = ChooseFormat(*encoder);
  if (sampleFormat == AV_SAMPLE_FMT_NONE)
    return s.Fail(settings.codec + " takes no usable samples");

  AVFormatContext* raw = nullptr;
  if (avformat_alloc_output_context2(&raw, format, nullptr, nullptr) < 0 || raw == nullptr) {
    return s.Fail("out of memory");
  }
  s.output.reset(raw);
  // The same samples always make the same file (the Ogg stream's serial
  // number would otherwise be random), so a saved package can be checked
  // byte for byte and two saves of one project are the same.
  raw->flags |= AVFMT_FLAG_BITEXACT;
  s.codec.reset(avcodec_alloc_context3(encoder));
  s.frame.reset(av_frame_alloc());
  s.packet.reset(av_packet_alloc());
  s.stream = avformat_new_stream(raw, nullptr);
  if (!s.codec || !s.frame || !s.packet || s.stream == nullptr) return s.Fail("out of memory");

  AVCodecContext& c = *s.codec;
  c.flags |= AV_CODEC_FLAG_BITEXACT;
  c.sample_rate = settings.sampleRate;
  c.sample_fmt = sampleFormat;
  av_channel_layout_default(&c.ch_layout, settings.channels);
  c.time_base = AVRational{1, settings.sampleRate};
  if ((format->flags & AVFMT_GLOBALHEADER) != 0) c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (settings.quality) {
    c.flags |= AV_CODEC_FLAG_QSCALE;
    c.global_quality = static_cast<int>(std::lround(*settings.quality * FF_QP2LAMBDA));
  }
  int code = avcodec_open2(&c, encoder, nullptr);
  if (code < 0) return s.Fail("cannot start " + settings.codec + ": " + media::ErrorText(code));
  s.channels = settings.channels;
  if (c.frame_size > 0 && (encoder->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) == 0) {
    s.frameSamples = c.frame_size;
  }

  code = avcodec_parameters_from_context(s.stream->codecpar, &c);
  if (code < 0) return s.Fail("out of memory");
  s.stream->time_base = c.time_base;

  s.frame->format = c.sample_fmt;
  s.frame->sample_rate = c.sample_rate;
  s.frame->nb_samples = s.frameSamples;
  av_channel_layout_copy(&s.frame->ch_layout, &c.ch_layout);
  if (av_frame_get_buffer(s.frame.get(), 0) < 0) return s.Fail("out of memory");

  s.settingsRejected = false;
  code = avio_open(&raw->pb, media::FileUrl(path.string()).c_str(), AVIO_FLAG_WRITE);
  if (code < 0) return s.Fail("cannot create " + path.string() + ": " + media::ErrorText(code));
  code = avformat_write_header(raw, nullptr);
  if (code < 0) return s.Fail("cannot write " + path.string() + ": " + media::ErrorText(code));
  return true;
}

bool AudioEncoder::Write(std::span<const std::int16_t> samples) {
  if (!state_ || !state_->error.empty() || state_->finished || !state_->codec) return false;
  State& s = *state_;
  if (samples.size() % static_cast<std::size_t>(s.channels) != 0) {
    return s.Fail("samples do not fill every channel");
  }
  s.taken += static_cast<std::int64_t>(samples.size()) / s.channels;
  const std::size_t frameValues = static_cast<std::size_t>(s.frameSamples) * s.channels;
  std::size_t at = 0;
  // Complete a frame left over from the last call first.
  if (s.queue.size() > s.queueAt) {
    const std::size_t missing = frameValues - (s.queue.size() - s.queueAt);
    const std::size_t n = std::min(missing, samples.size());
    s.queue.insert(s.queue.end(), samples.begin(),
                   samples.begin() + static_cast<std::ptrdiff_t>(n));
    at = n;
    if (s.queue.size() - s.queueAt < frameValues) return true;
    if (!s.SendFrame(s.queue.data() + s.queueAt, s.frameSamples)) return false;
    s.queue.clear();
    s.queueAt = 0;
  }
  // Whole frames straight from the caller's samples.
  while (samples.size() - at >= frameValues) {
    if (!s.SendFrame(samples.data() + at, s.frameSamples)) return false;
    at += frameValues;
  }
  s.queue.assign(samples.begin() + static_cast<std::ptrdiff_t>(at), samples.end());
  s.queueAt = 0;
  return true;
}

bool AudioEncoder::Finish() {
  if (!state_ || !state_->codec || state_->finished) return false;
  State& s = *state_;
  s.finished = true;
  bool ok = s.error.empty();
  if (ok && s.queue.size() > s.queueAt) {
    ok = s.SendFrame(s.queue.data() + s.queueAt,
                     static_cast<int>((s.queue.size() - s.queueAt) / s.channels));
  }
  if (ok) {
    const int code = avcodec_send_frame(s.codec.get(), nullptr);
    ok = code >= 0 ? s.Drain() : s.Fail("encoding failed: " + media::ErrorText(code));
  }
  if (ok) {
    const int code = av_write_trailer(s.output.get());
    if (code < 0) ok = s.Fail("writing failed: " + media::ErrorText(code));
  }
  AVFormatContext* raw = s.output.get();
  if (raw->pb != nullptr) {
    const int code = avio_closep(&raw->pb);
    if (ok && code < 0) ok = s.Fail("writing failed: " + media::ErrorText(code));
  }
  return ok;
}

std::int64_t AudioEncoder::SamplesWritten() const { return state_ ? state_->taken : 0; }

bool AudioEncoder::SettingsRejected() const { return state_ && state_->settingsRejected; }

const std::string& AudioEncoder::Error() const {
  static const std::string none;
  return state_ ? state_->error : none;
}

}  // namespace corvane
