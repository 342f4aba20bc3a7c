#include "audio/ProductionStream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "audio/MixKernels.h"

namespace corvane {
namespace {

// The production goes to the sink in stretches of this many samples: small
// enough to stay in the processor's cache between the decoder and the file.
constexpr std::size_t kStretchSamples = 32 * 1024;
constexpr std::int64_t kStretchBytes = 2 * kStretchSamples;

}  // namespace

MixSettings MixSettings::Of(const ChannelConfig& channel) {
  MixSettings s;
  s.musicLevel = channel.MusicVolume;
  s.messageLevel = channel.MessageVolume;
  s.crossFade = channel.CrossFadeVolume;
  s.secondsBetweenMessages = channel.Time_Between_Messages;
  s.endMusicAfterLastMessage = channel.LimitLengthEnabled != 0;
  return s;
}

ProductionStream::ProductionStream(std::int64_t bytesPerSecond, std::int64_t capacityBytes,
                                   const MixSettings& settings, ProductionSink& sink)
    : bytesPerSecond_(std::max<std::int64_t>(bytesPerSecond, 0)),
      capacity_(std::max<std::int64_t>(capacityBytes, 0) & ~std::int64_t{1}),
      settings_(settings),
      sink_(sink) {
  PrepareFades();
}

void ProductionStream::PrepareFades() {
  // The fades' factors in tenths for each step i (in bytes) of the F bytes:
  // down 10 - i(10 - X)/F, up X + i(10 - X)/F, out X - iX/F.
  const std::int64_t F = 2 * bytesPerSecond_;
  const int X = settings_.crossFade;
  const auto steps = static_cast<std::size_t>(F / 2);
  fadeDown_.resize(steps);
  fadeUp_.resize(steps);
  fadeOut_.resize(steps);
  const auto f = static_cast<double>(F);
  for (std::size_t k = 0; k < steps; ++k) {
    const auto i = static_cast<double>(2 * k);
    fadeDown_[k] = 10.0 - i * (10 - X) / f;
    fadeUp_[k] = X + i * (10 - X) / f;
    fadeOut_[k] = X - i * X / f;
  }
}

bool ProductionStream::AddMessage(DecodedMessage message) {
  if (musicBegun_) return false;
  const std::size_t offset = std::min(message.offset, message.bytes.size());
  const std::size_t available = std::min(message.length, message.bytes.size() - offset) / 2 * 2;
  const auto length = static_cast<std::int64_t>(available);
  // Gaps only push a message later, so this is where it begins at the earliest.
  const std::int64_t earliest = leastMessageEnd_ + static_cast<std::int64_t>(fadeDown_.size()) * 2;
  const auto kept = static_cast<std::size_t>(std::clamp<std::int64_t>(capacity_ - earliest, 0, length) / 2);
  leastMessageEnd_ = earliest + length;
  // What can never fall inside the capacity is not kept in memory.
  if (kept == 0) {
    message.bytes = {};
  } else if (kept * 2 < message.bytes.size() - offset) {
    message.bytes.resize(offset + kept * 2);
    message.bytes.shrink_to_fit();
  }
  message.offset = offset;
  message.length = kept * 2;
  messages_.push_back({std::move(message), length, kept});
  return true;
}

void ProductionStream::Schedule(bool musicOver) {
  const auto fadeBytes = static_cast<std::int64_t>(fadeDown_.size()) * 2;
  for (;;) {
    if (awaitingFade_) {
      // The fade after a message stops where the music ends; until the music
      // has come that far, or is over, it is not known how long it runs.
      if (!musicOver && musicEnd_ < position_ + fadeBytes) return;
      const std::int64_t stop = musicOver ? musicEnd_ : std::numeric_limits<std::int64_t>::max();
      const std::int64_t steps = std::clamp<std::int64_t>((stop - position_) / 2, 0, fadeBytes / 2);
      const bool out = nextMessage_ == messages_.size() && settings_.endMusicAfterLastMessage;
      regions_.push_back({out ? Step::FadeOut : Step::FadeUp, position_, position_ + 2 * steps,
                          nextMessage_ - 1});
      position_ += 2 * steps;
      if (out) {
        endMark_ = position_;  // the production ends here
      } else {
        state_ = 2 * steps == fadeBytes ? 2 : 1;
      }
      awaitingFade_ = false;
    }
    if (nextMessage_ == messages_.size()) return;
    const std::size_t k = nextMessage_++;
    // Gap: the music plays on unchanged.
    const std::int64_t T = settings_.secondsBetweenMessages;
    position_ += (T - std::min<std::int64_t>(2 * state_, T)) * bytesPerSecond_;
    regions_.push_back({Step::FadeDown, position_, position_ + fadeBytes, k});
    position_ += fadeBytes;
    regions_.push_back({Step::Message, position_, position_ + messages_[k].length, k});
    position_ += messages_[k].length;
    awaitingFade_ = true;
  }
}

std::int64_t ProductionStream::Settled(bool musicOver) const {
  std::int64_t end = capacity_;
  if (awaitingFade_) end = std::min(end, position_);
  if (endMark_ >= 0) end = std::min(end, endMark_);
  if (!musicOver) return std::min(end, musicEnd_);
  return std::min(end, endMark_ >= 0 ? endMark_ : std::max(position_, musicEnd_));
}

void ProductionStream::Apply(const Region& region, std::int64_t from, std::int64_t to,
                             std::int16_t* out) {
  const auto count = static_cast<std::size_t>((to - from) / 2);
  const auto k = static_cast<std::size_t>((from - region.begin) / 2);
  switch (region.step) {
    case Step::FadeDown:
      return FadeSamples(fadeDown_.data() + k, count, out);
    case Step::FadeUp:
      return FadeSamples(fadeUp_.data() + k, count, out);
    case Step::FadeOut:
      return FadeSamples(fadeOut_.data() + k, count, out);
    case Step::Message: {
      const Message& m = messages_[region.message];
      const std::size_t n = k < m.kept ? std::min(count, m.kept - k) : 0;
      if (n > 0) {
        LayMessage(m.decoded.bytes.data() + m.decoded.offset + 2 * k, n, settings_.messageLevel,
                   settings_.crossFade, out);
      }
      return;
    }
  }
}

void ProductionStream::Emit(std::int64_t end) {
  std::size_t sent = 0;  // samples at the window's front already sent
  while (!failed_ && emitted_ < end) {
    const std::int64_t to = std::min(end, emitted_ + kStretchBytes);
    const auto count = static_cast<std::size_t>((to - emitted_) / 2);
    const std::size_t held = window_.Size() - sent;
    if (held < count) {
      // Past the music's end: silence under the messages.
      if (held == 0) {
        window_.Resize(0);
        sent = 0;
      }
      const std::size_t from = window_.Size();
      window_.Resize(sent + count);
      std::fill(window_.Data() + from, window_.Data() + sent + count, std::int16_t{0});
    }
    std::int16_t* out = window_.Data() + sent;
    for (auto it = regions_.begin(); it != regions_.end() && it->begin < to; ++it) {
      const std::int64_t a = std::max(it->begin, emitted_);
      const std::int64_t b = std::min(it->end, to);
      if (a < b) Apply(*it, a, b, out + (a - emitted_) / 2);
    }
    while (!regions_.empty() && regions_.front().end <= to) regions_.pop_front();
    if (!sink_.Put(std::span<const std::int16_t>(out, count))) failed_ = true;
    sent += count;
    emitted_ = to;
  }
  // What is not sent yet moves to the window's front.
  const std::size_t rest = window_.Size() - sent;
  if (sent > 0 && rest > 0) {
    std::memmove(window_.Data(), window_.Data() + sent, rest * sizeof(std::int16_t));
  }
  window_.Resize(rest);
}

void ProductionStream::AddMusic(std::span<const std::uint8_t> samples) {
  musicBegun_ = true;
  const std::size_t count = samples.size() / 2;
  const std::int64_t room = std::max<std::int64_t>(capacity_ - musicEnd_, 0) / 2;
  const std::size_t fits = std::min<std::size_t>(count, static_cast<std::size_t>(room));
  if (fits < count) cut_ = true;
  for (std::size_t done = 0; done < fits && !failed_;) {
    const std::size_t n = std::min(fits - done, kStretchSamples);
    // Music past the end a fade-out has set is never heard.
    const std::int64_t keepEnd = endMark_ >= 0 ? endMark_ : capacity_;
    const auto keep = static_cast<std::size_t>(
        std::clamp<std::int64_t>((keepEnd - musicEnd_) / 2, 0, static_cast<std::int64_t>(n)));
    if (keep > 0) {
      const std::size_t at = window_.Size();
      window_.Resize(at + keep);
      ScaleMusic(samples.data() + 2 * done, keep, settings_.musicLevel, window_.Data() + at);
    }
    musicEnd_ += static_cast<std::int64_t>(n) * 2;
    done += n;
    Schedule(false);
    Emit(Settled(false));
  }
}

bool ProductionStream::Finish() {
  musicBegun_ = true;
  Schedule(true);
  const std::int64_t length = endMark_ >= 0 ? endMark_ : std::max(position_, musicEnd_);
  if (length > capacity_) cut_ = true;
  Emit(Settled(true));
  return !failed_;
}

}  // namespace corvane
