#include "audio/ProductionTimeline.h"

#include <algorithm>
#include <limits>

#include "audio/MixKernels.h"

namespace corvane {
namespace {

// Levels outside their ranges (a damaged settings record) could leave 16
// bits; such a sample is held at the limit.
std::int16_t Saturate(std::int64_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

// Truncates toward zero, as the conversion to an integer does. Every value
// here is a few times 32768 at most, far inside the range of the conversion.
std::int16_t ToSample(double value) { return Saturate(static_cast<std::int64_t>(value)); }

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

ProductionTimeline::ProductionTimeline(std::int64_t bytesPerSecond, std::int64_t capacityBytes,
                                       const MixSettings& settings)
    : bytesPerSecond_(std::max<std::int64_t>(bytesPerSecond, 0)),
      capacity_(std::max<std::int64_t>(capacityBytes, 0) & ~std::int64_t{1}),
      settings_(settings) {}

void ProductionTimeline::Reserve(std::int64_t bytes) {
  mix_.Reserve(static_cast<std::size_t>(std::clamp<std::int64_t>(bytes, 0, capacity_) / 2));
}

void ProductionTimeline::Cover(std::int64_t end) {
  const auto samples = static_cast<std::size_t>(std::min(end, capacity_) / 2);
  const std::size_t from = mix_.Size();
  if (samples <= from) return;
  mix_.Resize(samples);
  std::fill(mix_.Data() + from, mix_.Data() + samples, std::int16_t{0});
}

std::size_t ProductionTimeline::Writable(std::int64_t count) {
  const std::int64_t room = std::clamp<std::int64_t>(capacity_ - position_, 0, count);
  if (room < count) cut_ = true;
  return static_cast<std::size_t>(room / 2);
}

bool ProductionTimeline::Fade(const std::vector<double>& factors, std::int64_t stop) {
  const auto count = static_cast<std::int64_t>(factors.size()) * 2;
  // Each step first checks the position against stop; positions are even.
  const std::int64_t steps = std::clamp<std::int64_t>((stop - position_) / 2, 0, count / 2);
  Cover(position_ + steps * 2);
  const std::size_t writable = Writable(steps * 2);
  std::int16_t* mix = mix_.Data() + (writable > 0 ? position_ / 2 : 0);
  for (std::size_t k = 0; k < writable; ++k) mix[k] = ToSample(factors[k] * mix[k] / 10.0);
  position_ += steps * 2;
  return steps * 2 == count;
}

void ProductionTimeline::PrepareFades() {
  if (!fadeDown_.empty() || bytesPerSecond_ == 0) return;
  const std::int64_t F = 2 * bytesPerSecond_;
  const int X = settings_.crossFade;
  const auto steps = static_cast<std::size_t>(F / 2);
  fadeDown_.resize(steps);
  fadeUp_.resize(steps);
  fadeOut_.resize(steps);
  const auto f = static_cast<double>(F);
  for (std::size_t k = 0; k < steps; ++k) {
    const auto i = static_cast<double>(2 * k);  // the step's byte offset
    fadeDown_[k] = 10.0 - i * (10 - X) / f;
    fadeUp_[k] = X + i * (10 - X) / f;
    fadeOut_[k] = X - i * X / f;
  }
}

void ProductionTimeline::AddMusic(std::span<const std::uint8_t> samples) {
  const std::size_t count = samples.size() / 2;
  const std::int64_t room = std::max<std::int64_t>(capacity_ - musicEnd_, 0) / 2;
  const std::size_t fits = std::min<std::size_t>(count, static_cast<std::size_t>(room));
  if (fits < count) cut_ = true;
  // The music pass runs before any message, so it always appends at the end.
  const auto at = static_cast<std::size_t>(musicEnd_ / 2);
  mix_.Resize(at + fits);
  ScaleMusic(samples.data(), fits, settings_.musicLevel, mix_.Data() + at);
  musicEnd_ += static_cast<std::int64_t>(fits) * 2;
}

void ProductionTimeline::AddMessage(std::span<const std::uint8_t> samples, bool last) {
  const std::int64_t B = bytesPerSecond_;
  const std::int64_t T = settings_.secondsBetweenMessages;
  const int X = settings_.crossFade;
  const std::int64_t E = musicEnd_;
  constexpr std::int64_t kNoStop = std::numeric_limits<std::int64_t>::max();
  PrepareFades();

  // Gap: the music plays on unchanged.
  position_ += (T - std::min<std::int64_t>(2 * state_, T)) * B;

  // Fade-down to the cross-fade level over two seconds.
  Fade(fadeDown_, kNoStop);

  // The message over the faded music.
  const std::int64_t messageBytes = static_cast<std::int64_t>(samples.size() / 2) * 2;
  Cover(position_ + messageBytes);
  const std::size_t writable = Writable(messageBytes);
  if (writable > 0) {
    LayMessage(samples.data(), writable, settings_.messageLevel, X, mix_.Data() + position_ / 2);
  }
  position_ += messageBytes;

  if (last && settings_.endMusicAfterLastMessage) {
    // Fade-out; the production ends where it stops.
    Fade(fadeOut_, E);
    endMark_ = position_;
    return;
  }
  // Fade-up to full music; cut short where the music ends.
  state_ = Fade(fadeUp_, E) ? 2 : 1;
}

std::int64_t ProductionTimeline::Length() const {
  const std::int64_t length = endMark_ >= 0 ? endMark_ : std::max(position_, musicEnd_);
  return std::clamp<std::int64_t>(length, 0, capacity_);
}

std::span<const std::int16_t> ProductionTimeline::Samples() const {
  const auto count = static_cast<std::size_t>(Length() / 2);
  return {mix_.Data(), std::min(count, mix_.Size())};
}

}  // namespace corvane
