#include "audio/InputFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <string_view>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace corvane::media {
namespace {

// Containers that name other files or addresses to read: an audio file that
// turns out to be one of these could make the engine read anything.
constexpr std::array<std::string_view, 4> kRefusedContainers = {"hls", "concat", "dash",
                                                                "ffmetadata"};

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

class Dictionary {
 public:
  Dictionary() = default;
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;
  ~Dictionary() { av_dict_free(&entries_); }
  void Set(const char* key, const char* value) { av_dict_set(&entries_, key, value, 0); }
  AVDictionary** Address() { return &entries_; }

 private:
  AVDictionary* entries_ = nullptr;
};

}  // namespace

bool OpenInputFile(const std::string& path, bool needDecoder, OpenedInput& opened,
                   std::string& error) {
  SilenceLibraryLog();
  opened = OpenedInput{};
  Dictionary options;
  options.Set("protocol_whitelist", "file");
  const AVInputFormat* forced = nullptr;
  // Raw PCM has no header to recognise it by: a ".pcm" file is read as
  // 16-bit little-endian mono at 22050 Hz, the recorder's own format.
  if (LowerExtension(path) == ".pcm") {
    forced = av_find_input_format("s16le");
    options.Set("sample_rate", "22050");
  }

  AVFormatContext* raw = nullptr;
  int code = avformat_open_input(&raw, FileUrl(path).c_str(), forced, options.Address());
  if (code < 0) {
    error = "cannot open " + path + ": " + ErrorText(code);
    return false;
  }
  opened.format.reset(raw);
  const std::string_view container = raw->iformat->name;
  if (std::find(kRefusedContainers.begin(), kRefusedContainers.end(), container) !=
      kRefusedContainers.end()) {
    error = path + " is a " + std::string(container) + " list, not an audio file";
    opened = OpenedInput{};
    return false;
  }
  code = avformat_find_stream_info(raw, nullptr);
  if (code < 0) {
    error = "cannot read " + path + ": " + ErrorText(code);
    opened = OpenedInput{};
    return false;
  }
  const AVCodec* decoder = nullptr;
  code = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, needDecoder ? &decoder : nullptr, 0);
  if (code < 0) {
    error = path + " holds no audio stream" +
            (code == AVERROR_DECODER_NOT_FOUND ? std::string(" that can be decoded") : "");
    opened = OpenedInput{};
    return false;
  }
  opened.stream = code;
  opened.decoder = decoder;
  return true;
}

}  // namespace corvane::media
