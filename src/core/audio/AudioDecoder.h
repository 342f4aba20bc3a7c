#pragma once
// Reads any audio file FFmpeg understands and yields mono 16-bit samples at
// the rate asked for, whatever the source's format, channels or rate. The
// converter, the mixer's preparation and the player all decode through it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace corvane {

struct AudioFileInfo {
  std::string container;  // FFmpeg's name of the format, e.g. "ogg", "wav"
  std::string codec;      // e.g. "vorbis", "pcm_s16le"
  int sampleRate = 0;
  int channels = 0;
  double durationSeconds = 0;  // the container's own figure; 0 when it has none
};

// Nothing, with the reason in error when given, when the file is no readable audio.
std::optional<AudioFileInfo> ProbeAudioFile(const std::filesystem::path& path,
                                            std::string* error = nullptr);

class AudioDecoder {
 public:
  // A day of audio: no file the players take is longer, and a damaged file
  // that claims to go on forever stops here.
  static constexpr std::int64_t kDefaultMaxSeconds = 24 * 3600;

  AudioDecoder();
  ~AudioDecoder();
  AudioDecoder(AudioDecoder&& other) noexcept;
  AudioDecoder& operator=(AudioDecoder&& other) noexcept;
  AudioDecoder(const AudioDecoder&) = delete;
  AudioDecoder& operator=(const AudioDecoder&) = delete;

  // Opens the file and prepares to deliver samples at outputRate (the
  // source's own rate when 0). False, with Error() set, when the file holds
  // no decodable audio or the rate is out of range.
  bool Open(const std::filesystem::path& path, int outputRate = 0,
            std::int64_t maxSeconds = kDefaultMaxSeconds);
  // Releases the file.
  void Close();
  bool IsOpen() const;

  const AudioFileInfo& Source() const;
  int OutputRate() const;

  // Fills into with the next samples. Fewer than asked only at the end of the
  // stream or when decoding failed (Failed() tells which).
  std::size_t Read(std::span<std::int16_t> into);
  bool Failed() const;
  const std::string& Error() const;
  std::int64_t SamplesDelivered() const;
  // Packets or frames that could not be decoded and were skipped.
  std::int64_t SkippedErrors() const;
  // How far through the source decoding has got, 0 to 1; 0 when the source
  // does not tell its length.
  double Fraction() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The largest output or input rate the engine accepts.
inline constexpr int kMaxSampleRate = 384000;

}  // namespace corvane
