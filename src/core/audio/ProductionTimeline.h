#pragma once
// The production the way a player plays a channel: the music files back to
// back, and each message laid over the music with a two-second fade-down
// before it, a fade-up after it and a fixed spacing between messages.
// Positions count bytes of 16-bit sample data, two per sample; every level
// is applied in double precision and truncated toward zero.

#include <cstdint>
#include <span>
#include <vector>

#include "audio/SampleBuffer.h"

#include "channel/ChannelConfig.h"

namespace corvane {

struct MixSettings {
  int musicLevel = 10;             // music input level, tenths
  int messageLevel = 10;           // message input level, tenths
  int crossFade = 0;               // X: the music's level under a message, tenths
  int secondsBetweenMessages = 0;  // T
  bool endMusicAfterLastMessage = false;

  static MixSettings Of(const ChannelConfig& channel);
};

class ProductionTimeline {
 public:
  // capacityBytes bounds the production: nothing is placed at or beyond it.
  ProductionTimeline(std::int64_t bytesPerSecond, std::int64_t capacityBytes,
                     const MixSettings& settings);

  // Commits memory for the expected length up front (at most the capacity);
  // throws std::bad_alloc when there is none.
  void Reserve(std::int64_t bytes);

  // Music pass: appends little-endian 16-bit samples scaled by the music
  // level; a file may come in any number of pieces.
  void AddMusic(std::span<const std::uint8_t> samples);
  // Message pass, after all music: gap, fade-down, the message, then a
  // fade-up, or for the last message with "End Music After Last Message" a
  // fade-out that ends the production.
  void AddMessage(std::span<const std::uint8_t> samples, bool last);

  std::int64_t MusicEnd() const { return musicEnd_; }
  // The production's data length L in bytes, within the capacity.
  std::int64_t Length() const;
  // The first Length() / 2 samples.
  std::span<const std::int16_t> Samples() const;
  // True when something would have reached beyond the capacity and was left out.
  bool WasCut() const { return cut_; }

 private:
  // Makes the samples below byte position end addressable (silence where
  // nothing was placed), within the capacity.
  void Cover(std::int64_t end);
  // Samples from the position that a step of count bytes may write, within
  // the capacity; marks the production cut when that is fewer.
  std::size_t Writable(std::int64_t count);
  // Scales the samples from the position by factors[k] / 10 (one factor a
  // step of two bytes), advancing the position, and stops early where the
  // position reaches stop. False when it stopped early.
  bool Fade(const std::vector<double>& factors, std::int64_t stop);
  // The fades' factors in tenths for each step i (in bytes) of the F bytes:
  // down 10 - i(10 - X)/F, up X + i(10 - X)/F, out X - iX/F.
  void PrepareFades();

  std::int64_t bytesPerSecond_;
  std::int64_t capacity_;
  MixSettings settings_;
  SampleBuffer mix_;
  std::int64_t musicEnd_ = 0;  // E
  std::int64_t position_ = 0;  // p
  int state_ = 1;
  std::int64_t endMark_ = -1;  // set by the fade-out of the last message
  std::vector<double> fadeDown_;
  std::vector<double> fadeUp_;
  std::vector<double> fadeOut_;
  bool cut_ = false;
};

}  // namespace corvane
