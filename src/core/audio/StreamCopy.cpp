#include "audio/StreamCopy.h"

#include <algorithm>

#include "audio/AudioDecoder.h"
#include "audio/InputFile.h"
#include "audio/MediaOwners.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace corvane {

StreamCopyResult CopyAudioStream(const std::filesystem::path& source,
                                 const std::filesystem::path& destination,
                                 const std::filesystem::path& extensionSource,
                                 const std::function<void(double)>& progress) {
  StreamCopyResult result;
  media::OpenedInput input;
  if (!media::OpenInputFile(source.string(), false, input, result.error)) return result;
  const AVStream* in = input.format->streams[input.stream];

  const AVOutputFormat* format =
      av_guess_format(nullptr, extensionSource.filename().string().c_str(), nullptr);
  if (format == nullptr) format = av_guess_format(input.format->iformat->name, nullptr, nullptr);
  if (format == nullptr) {
    result.error = "no container to copy " + source.string() + " into";
    return result;
  }
  if (avformat_query_codec(format, in->codecpar->codec_id, FF_COMPLIANCE_NORMAL) == 0) {
    result.error = std::string("a ") + format->name + " file cannot hold " +
                   avcodec_get_name(in->codecpar->codec_id);
    return result;
  }
  AVFormatContext* raw = nullptr;
  if (avformat_alloc_output_context2(&raw, format, nullptr, nullptr) < 0 || raw == nullptr) {
    result.error = "out of memory";
    return result;
  }
  media::OutputFormat output(raw);
  raw->flags |= AVFMT_FLAG_BITEXACT;  // the same source always makes the same file
  AVStream* out = avformat_new_stream(raw, nullptr);
  media::Packet packet(av_packet_alloc());
  if (out == nullptr || !packet || avcodec_parameters_copy(out->codecpar, in->codecpar) < 0) {
    result.error = "out of memory";
    return result;
  }
  out->codecpar->codec_tag = 0;
  out->time_base = in->time_base;
  int code = avio_open(&raw->pb, media::FileUrl(destination.string()).c_str(), AVIO_FLAG_WRITE);
  if (code >= 0) code = avformat_write_header(raw, nullptr);
  if (code < 0) {
    result.error = "cannot write " + destination.string() + ": " + media::ErrorText(code);
    return result;
  }

  const double total =
      input.format->duration > 0 ? static_cast<double>(input.format->duration) / AV_TIME_BASE : 0.0;
  std::int64_t first = AV_NOPTS_VALUE;
  std::int64_t end = AV_NOPTS_VALUE;
  const double limit = static_cast<double>(AudioDecoder::kDefaultMaxSeconds);
  while (av_read_frame(input.format.get(), packet.get()) >= 0) {
    if (packet->stream_index != input.stream) {
      av_packet_unref(packet.get());
      continue;
    }
    if (packet->pts != AV_NOPTS_VALUE) {
      if (first == AV_NOPTS_VALUE) first = packet->pts;
      end = std::max(end, packet->pts + std::max<std::int64_t>(packet->duration, 0));
      const double at = static_cast<double>(end - first) * av_q2d(in->time_base);
      if (at > limit) {
        av_packet_unref(packet.get());
        result.error = "the audio is longer than the engine accepts";
        return result;
      }
      if (total > 0) progress(std::clamp(at / total, 0.0, 1.0));
    }
    av_packet_rescale_ts(packet.get(), in->time_base, out->time_base);
    packet->stream_index = out->index;
    packet->pos = -1;
    code = av_interleaved_write_frame(raw, packet.get());
    if (code < 0) {
      result.error = "writing failed: " + media::ErrorText(code);
      return result;
    }
  }
  code = av_write_trailer(raw);
  const int closed = avio_closep(&raw->pb);
  if (code < 0 || closed < 0) {
    result.error = "writing failed: " + media::ErrorText(code < 0 ? code : closed);
    return result;
  }
  if (first != AV_NOPTS_VALUE && end > first) {
    result.seconds = static_cast<double>(end - first) * av_q2d(in->time_base);
  } else {
    result.seconds = total;
  }
  if (result.seconds <= 0 && first == AV_NOPTS_VALUE) {
    result.error = source.string() + " holds no audio";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace corvane
