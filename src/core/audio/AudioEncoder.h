#pragma once
// Writes 16-bit samples as an audio file in the codec the call names. The
// container follows the codec ("libvorbis" Ogg, "libmp3lame" MP3, the PCM
// variants WAV), so a destination typed without an extension still gets the
// right file; other FFmpeg encoders go into the container the extension names.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace corvane {

struct EncoderSettings {
  std::string codec;  // FFmpeg encoder name
  int sampleRate = 0;
  int channels = 1;       // samples are interleaved when more than one
  std::string container;  // FFmpeg muxer name; empty: by codec, else by extension
  // Variable-bitrate quality on the codec's own scale (Vorbis -1 to 10);
  // none: the codec's default.
  std::optional<double> quality;
  // Whose extension picks the container when neither the codec nor the
  // container above does; empty: the written file's own name.
  std::filesystem::path nameForContainer;
};

// The muxer that carries the codec: "ogg", "mp3", "wav"; empty for codecs
// without a fixed container.
std::string ContainerForCodec(const std::string& codec);

class AudioEncoder {
 public:
  AudioEncoder();
  ~AudioEncoder();
  AudioEncoder(AudioEncoder&& other) noexcept;
  AudioEncoder& operator=(AudioEncoder&& other) noexcept;
  AudioEncoder(const AudioEncoder&) = delete;
  AudioEncoder& operator=(const AudioEncoder&) = delete;

  // Creates (or truncates) the file and writes the container's header. False,
  // with Error() set, for an unknown codec, a rate the codec does not take or
  // a file that cannot be created.
  bool Open(const std::filesystem::path& path, const EncoderSettings& settings);
  // Encodes interleaved samples; their count must be a multiple of the channels.
  bool Write(std::span<const std::int16_t> samples);
  // Encodes what is left, writes the trailer and closes the file.
  bool Finish();
  // Samples per channel taken so far.
  std::int64_t SamplesWritten() const;
  const std::string& Error() const;
  // True when Open failed on the settings (codec, rate, container) rather
  // than on the file.
  bool SettingsRejected() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace corvane
