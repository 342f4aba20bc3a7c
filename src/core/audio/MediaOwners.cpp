#include "audio/MediaOwners.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libswresample/swresample.h>
}

namespace corvane::media {

void InputFormatDeleter::operator()(AVFormatContext* context) const noexcept {
  avformat_close_input(&context);
}

void OutputFormatDeleter::operator()(AVFormatContext* context) const noexcept {
  if (context == nullptr) return;
  if (context->pb != nullptr && (context->oformat->flags & AVFMT_NOFILE) == 0) {
    avio_closep(&context->pb);
  }
  avformat_free_context(context);
}

void CodecContextDeleter::operator()(AVCodecContext* context) const noexcept {
  avcodec_free_context(&context);
}

void ResamplerDeleter::operator()(SwrContext* context) const noexcept { swr_free(&context); }

void FrameDeleter::operator()(AVFrame* frame) const noexcept { av_frame_free(&frame); }

void PacketDeleter::operator()(AVPacket* packet) const noexcept { av_packet_free(&packet); }

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  if (av_strerror(code, text, sizeof text) < 0) return "error " + std::to_string(code);
  return text;
}

void SilenceLibraryLog() { av_log_set_level(AV_LOG_QUIET); }

std::string FileUrl(const std::string& path) { return "file:" + path; }

}  // namespace corvane::media
