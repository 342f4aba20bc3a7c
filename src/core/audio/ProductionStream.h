#pragma once
// The production the way a player plays a channel: the music files back to
// back, and each message laid over the music with a two-second fade-down
// before it, a fade-up after it and a fixed spacing between messages.
// Positions count bytes of 16-bit sample data, two per sample; every level
// is applied in double precision and truncated toward zero.
//
// The production is never held whole: the messages are taken first, then the
// music streams through a window a few seconds long, and each stretch of the
// production goes to the sink as soon as nothing later can change it. An
// hour of production thus stays in the processor's cache from the decoder to
// the file.

#include <cstdint>
#include <deque>
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

// Receives the production's samples in order.
class ProductionSink {
 public:
  virtual ~ProductionSink() = default;
  // False when they could not be taken; the stream then stops.
  virtual bool Put(std::span<const std::int16_t> samples) = 0;
};

// A decoded message: its little-endian 16-bit samples are `length` bytes at
// `offset` in `bytes` (the list file as read, header and all).
struct DecodedMessage {
  std::vector<std::uint8_t> bytes;
  std::size_t offset = 0;
  std::size_t length = 0;
};

class ProductionStream {
 public:
  // capacityBytes bounds the production: nothing is placed at or beyond it.
  ProductionStream(std::int64_t bytesPerSecond, std::int64_t capacityBytes,
                   const MixSettings& settings, ProductionSink& sink);

  // Message pass: every message, in order, before any music. Only the part
  // of a message that can fall inside the capacity is kept. False, and
  // nothing taken, once the music has begun.
  bool AddMessage(DecodedMessage message);

  // Music pass: appends little-endian 16-bit samples scaled by the music
  // level; a file may come in any number of pieces.
  void AddMusic(std::span<const std::uint8_t> samples);

  // The music is over: the rest of the production goes to the sink. False
  // when the sink refused samples at any point.
  bool Finish();

  std::int64_t MusicEnd() const { return musicEnd_; }
  // The production's data length L in bytes, within the capacity; final
  // after Finish.
  std::int64_t Length() const { return emitted_; }
  // True when something would have reached beyond the capacity and was left out.
  bool WasCut() const { return cut_; }

 private:
  enum class Step : std::uint8_t { FadeDown, Message, FadeUp, FadeOut };
  // A stretch of the production that one step of one message changes.
  struct Region {
    Step step;
    std::int64_t begin;
    std::int64_t end;
    std::size_t message;
  };
  struct Message {
    DecodedMessage decoded;
    std::int64_t length;  // in bytes, whole samples, of which the kept part may be less
    std::size_t kept;     // samples kept
  };

  // Lays out the messages' regions as far as the music so far settles them.
  void Schedule(bool musicOver);
  // Sends everything before byte position `end` to the sink.
  void Emit(std::int64_t end);
  void Apply(const Region& region, std::int64_t from, std::int64_t to, std::int16_t* out);
  // The position up to which the production is settled.
  std::int64_t Settled(bool musicOver) const;
  void PrepareFades();

  std::int64_t bytesPerSecond_;
  std::int64_t capacity_;
  MixSettings settings_;
  ProductionSink& sink_;
  std::vector<Message> messages_;
  std::int64_t leastMessageEnd_ = 0;  // where the messages so far end at the earliest
  std::vector<double> fadeDown_;
  std::vector<double> fadeUp_;
  std::vector<double> fadeOut_;

  // Music not yet sent: window_ holds the positions from emitted_ on.
  SampleBuffer window_;
  std::int64_t musicEnd_ = 0;  // E, as far as the music has come
  std::int64_t emitted_ = 0;
  bool musicBegun_ = false;
  bool failed_ = false;
  bool cut_ = false;

  // The messages' layout: regions not yet fully sent, in order.
  std::deque<Region> regions_;
  std::size_t nextMessage_ = 0;
  std::int64_t position_ = 0;  // p
  int state_ = 1;
  // The message whose fade after it waits on where the music ends.
  bool awaitingFade_ = false;
  std::int64_t endMark_ = -1;  // set by the fade-out of the last message
};

}  // namespace corvane
