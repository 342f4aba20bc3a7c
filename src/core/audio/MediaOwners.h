#pragma once
// Move-only owners of the FFmpeg objects the audio engine uses. Only the
// engine's own .cpp files include FFmpeg; everyone else sees these names as
// incomplete types, so no FFmpeg header leaks out of the audio folder.

#include <memory>
#include <string>

extern "C" {
struct AVFormatContext;
struct AVCodecContext;
struct SwrContext;
struct AVFrame;
struct AVPacket;
}

namespace corvane::media {

struct InputFormatDeleter {
  void operator()(AVFormatContext* context) const noexcept;
};
// An output context also owns the file it writes: the deleter closes it.
struct OutputFormatDeleter {
  void operator()(AVFormatContext* context) const noexcept;
};
struct CodecContextDeleter {
  void operator()(AVCodecContext* context) const noexcept;
};
struct ResamplerDeleter {
  void operator()(SwrContext* context) const noexcept;
};
struct FrameDeleter {
  void operator()(AVFrame* frame) const noexcept;
};
struct PacketDeleter {
  void operator()(AVPacket* packet) const noexcept;
};

using InputFormat = std::unique_ptr<AVFormatContext, InputFormatDeleter>;
using OutputFormat = std::unique_ptr<AVFormatContext, OutputFormatDeleter>;
using CodecContext = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using Resampler = std::unique_ptr<SwrContext, ResamplerDeleter>;
using Frame = std::unique_ptr<AVFrame, FrameDeleter>;
using Packet = std::unique_ptr<AVPacket, PacketDeleter>;

// FFmpeg's text for an error code, e.g. "Invalid data found when processing input".
std::string ErrorText(int code);

// Keeps FFmpeg from printing to the terminal: every failure reaches the
// caller as a status with a reason instead. Safe to call more than once.
void SilenceLibraryLog();

// "file:" + path, so that a name holding a colon is never taken for a
// protocol such as "http:".
std::string FileUrl(const std::string& path);

}  // namespace corvane::media
