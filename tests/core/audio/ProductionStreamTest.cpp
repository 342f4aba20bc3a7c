// The production stream at 100 Hz, so one second is 100 samples (200
// bytes) and a two-second fade is 200 samples. The main cases are worked out
// by hand from the player's rules; the same rules applied the plain way, over
// the whole production in memory, check every other case.
#include "audio/ProductionStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/audio/AudioSignals.h"

namespace corvane::test {
namespace {

constexpr std::int64_t kRate = 100;
constexpr std::int64_t kBytesPerSecond = 2 * kRate;
constexpr std::int64_t kRoomy = 1 << 20;

class CollectingSink final : public ProductionSink {
 public:
  bool Put(std::span<const std::int16_t> samples) override {
    ++puts;
    if (samples.size() > refuseBeyond - std::min(refuseBeyond, s.size())) return false;
    s.insert(s.end(), samples.begin(), samples.end());
    return true;
  }
  std::vector<std::int16_t> s;
  std::size_t refuseBeyond = SIZE_MAX;
  int puts = 0;
};

DecodedMessage Message(const std::vector<std::int16_t>& samples) {
  DecodedMessage m;
  m.bytes = SampleBytes(samples);
  m.length = m.bytes.size();
  return m;
}

// A production: messages first, then the music files, each in pieces of at
// most `piece` bytes.
struct Production {
  Production(const MixSettings& settings, const std::vector<std::vector<std::int16_t>>& music,
             const std::vector<std::vector<std::int16_t>>& messages, std::int64_t capacity = kRoomy,
             std::size_t piece = SIZE_MAX)
      : stream(kBytesPerSecond, capacity, settings, sink) {
    for (const auto& m : messages) EXPECT_TRUE(stream.AddMessage(Message(m)));
    for (const auto& file : music) {
      const auto bytes = SampleBytes(file);
      for (std::size_t at = 0; at < bytes.size(); at += piece) {
        const std::size_t n = std::min(piece, bytes.size() - at);
        stream.AddMusic(std::span(bytes.data() + at, n));
      }
    }
    finished = stream.Finish();
    s = sink.s;
    EXPECT_EQ(static_cast<std::int64_t>(s.size()) * 2, stream.Length());
  }
  CollectingSink sink;
  ProductionStream stream;
  bool finished = false;
  std::vector<std::int16_t> s;
};

// True when samples [from, to) all equal value.
::testing::AssertionResult AllEqual(const std::vector<std::int16_t>& s, std::size_t from,
                                    std::size_t to, std::int16_t value) {
  for (std::size_t i = from; i < to; ++i) {
    if (i >= s.size() || s[i] != value) {
      return ::testing::AssertionFailure()
             << "sample " << i << " is " << (i < s.size() ? s[i] : -99999) << ", not " << value;
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(ProductionStreamTest, MessagesComeEveryTenSecondsWithTwoSecondFadesAroundThem) {
  // A minute of music at 10000, level 10, in pieces that end inside fades
  // and messages; messages of 1200 at level 10 over X = 2.
  const Production p(MixSettings{10, 10, 2, 10, false}, {Constant(10000, 6000)},
                     {Constant(1200, 100), Constant(1200, 100)}, kRoomy, 146);
  const auto& s = p.s;
  EXPECT_TRUE(AllEqual(s, 0, 800, 10000));
  EXPECT_EQ(s[800], 10000);  // fade-down starts at full level
  EXPECT_EQ(s[900], 6000);   // halfway: 10 - 200 * 8 / 400 = 6
  EXPECT_EQ(s[999], 2040);   // last step: 10 - 398 * 8 / 400 = 2.04
  // The first message 10 s in: (10 * 1200 + 2 * 10000) / 12 = 2666.67
  EXPECT_TRUE(AllEqual(s, 1000, 1100, 2666));
  EXPECT_EQ(s[1100], 2000);  // fade-up starts at X
  EXPECT_EQ(s[1200], 6000);  // halfway up
  EXPECT_EQ(s[1299], 9960);  // last step: 2 + 398 * 8 / 400 = 9.96
  // 2 s up, 6 s of untouched music, 2 s down: ten seconds to the next one.
  EXPECT_TRUE(AllEqual(s, 1300, 1900, 10000));
  EXPECT_EQ(s[2099], 2040);
  EXPECT_TRUE(AllEqual(s, 2100, 2200, 2666));
  EXPECT_TRUE(AllEqual(s, 2400, 6000, 10000));
  EXPECT_EQ(p.stream.Length(), 6000 * 2);  // the music outlasts the messages
}

TEST(ProductionStreamTest, EndMusicAfterLastMessageFadesOutAfterIt) {
  const Production p(MixSettings{10, 10, 2, 10, true}, {Constant(10000, 6000)},
                     {Constant(1200, 100), Constant(1200, 100)});
  const auto& s = p.s;
  // Only the last message ends the music; the first one fades back up.
  EXPECT_EQ(s[1299], 9960);
  EXPECT_TRUE(AllEqual(s, 2100, 2200, 2666));
  EXPECT_EQ(p.stream.Length(), 2400 * 2);
  EXPECT_EQ(s[2200], 2000);  // fade-out from X = 2 ...
  EXPECT_EQ(s[2300], 1000);  // ... halfway at 1 ...
  EXPECT_EQ(s[2399], 10);    // ... to 2 - 398 * 2 / 400 = 0.01
}

TEST(ProductionStreamTest, MessagesComeBeforeTheMusicAndASinkThatRefusesStopsTheStream) {
  CollectingSink sink;
  ProductionStream late(kBytesPerSecond, kRoomy, {}, sink);
  late.AddMusic(SampleBytes(Constant(100, 10)));
  EXPECT_FALSE(late.AddMessage(Message(Constant(5, 10))));
  EXPECT_TRUE(late.Finish());
  EXPECT_EQ(sink.s, Constant(100, 10));

  CollectingSink refusing;
  refusing.refuseBeyond = 50000;
  ProductionStream stream(kBytesPerSecond, kRoomy, {}, refusing);
  const auto music = SampleBytes(Constant(100, 200000));
  stream.AddMusic(music);
  const int puts = refusing.puts;
  stream.AddMusic(music);
  EXPECT_FALSE(stream.Finish());
  EXPECT_EQ(refusing.puts, puts);  // nothing more was offered once refused
  EXPECT_LE(refusing.s.size(), 50000u);
}

// The rules applied the plain way, over the whole production in memory: the
// music pass, then each message's gap, fades and samples in turn.
std::vector<std::int16_t> WholeProduction(const MixSettings& m, std::int64_t capacity,
                                          const std::vector<std::vector<std::int16_t>>& music,
                                          const std::vector<std::vector<std::int16_t>>& messages) {
  const auto clampSample = [](double v) {
    return static_cast<std::int16_t>(
        std::clamp<std::int64_t>(static_cast<std::int64_t>(v), -32768, 32767));
  };
  const std::size_t limit = static_cast<std::size_t>(capacity / 2);
  std::vector<std::int16_t> mix;
  for (const auto& file : music) {
    for (const std::int16_t v : file) {
      if (mix.size() < limit) mix.push_back(clampSample(v * m.musicLevel / 10.0));
    }
  }
  const auto E = static_cast<std::int64_t>(mix.size());  // in samples here
  const std::int64_t B = kRate;                          // samples per second
  const std::int64_t F = 2 * B;
  const double fadeBytes = 2.0 * static_cast<double>(F);
  const int X = m.crossFade;
  const auto at = [&](std::int64_t i) -> std::int16_t* {
    if (i < 0 || i >= static_cast<std::int64_t>(limit)) return nullptr;
    if (static_cast<std::size_t>(i) >= mix.size()) mix.resize(static_cast<std::size_t>(i) + 1, 0);
    return &mix[static_cast<std::size_t>(i)];
  };
  std::int64_t p = 0;
  std::int64_t end = -1;
  int state = 1;
  const std::int64_t T = m.secondsBetweenMessages;
  for (std::size_t k = 0; k < messages.size(); ++k) {
    p += (T - std::min<std::int64_t>(2 * state, T)) * B;
    for (std::int64_t i = 0; i < F; ++i) {
      const double step = 2.0 * static_cast<double>(i);  // in bytes
      if (auto* v = at(p + i)) *v = clampSample((10.0 - step * (10 - X) / fadeBytes) * *v / 10.0);
    }
    p += F;
    const auto& msg = messages[k];
    for (std::size_t i = 0; i < msg.size(); ++i) {
      if (auto* v = at(p + static_cast<std::int64_t>(i))) {
        *v = clampSample(static_cast<double>((m.messageLevel * msg[i] + X * *v) / (X + 10)));
      }
    }
    p += static_cast<std::int64_t>(msg.size());
    const std::int64_t steps = std::clamp<std::int64_t>(E - p, 0, F);
    const bool out = k + 1 == messages.size() && m.endMusicAfterLastMessage;
    for (std::int64_t i = 0; i < steps; ++i) {
      const double step = 2.0 * static_cast<double>(i);
      const double f = out ? X - step * X / fadeBytes : X + step * (10 - X) / fadeBytes;
      if (auto* v = at(p + i)) *v = clampSample(f * *v / 10.0);
    }
    p += steps;
    if (out) end = p;
    state = steps == F ? 2 : 1;
  }
  const std::int64_t length =
      std::min<std::int64_t>(end >= 0 ? end : std::max(p, E), static_cast<std::int64_t>(limit));
  mix.resize(static_cast<std::size_t>(length), 0);
  return mix;
}

TEST(ProductionStreamTest, StreamingGivesTheSameProductionAsTheWholeInMemory) {
  std::mt19937 random(20241206);
  const auto pick = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const auto samples = [&](int longest) {
    std::vector<std::int16_t> v(static_cast<std::size_t>(pick(0, longest)));
    for (auto& x : v) x = static_cast<std::int16_t>(pick(-32768, 32767));
    return v;
  };
  for (int round = 0; round < 300; ++round) {
    // Now and then out-of-range levels, productions longer than what goes to
    // the sink at once, and capacities that cut.
    const bool wild = round % 10 == 0;
    const MixSettings m{wild ? pick(0, 40) : pick(0, 10), wild ? pick(0, 40) : pick(0, 10),
                        wild ? pick(0, 255) : pick(0, 10), pick(0, 12), pick(0, 1) == 1};
    const int longest = round % 7 == 0 ? 60000 : 3000;
    std::vector<std::vector<std::int16_t>> music(static_cast<std::size_t>(pick(0, 4)));
    for (auto& file : music) file = samples(longest);
    std::vector<std::vector<std::int16_t>> messages(static_cast<std::size_t>(pick(0, 5)));
    for (auto& message : messages) message = samples(longest / 4);
    const std::int64_t capacity = pick(0, 3) == 0 ? 2 * pick(0, 5000) : kRoomy;
    const std::size_t piece = 2 * static_cast<std::size_t>(pick(1, 3000));
    const Production p(m, music, messages, capacity, piece);
    EXPECT_TRUE(p.finished);
    ASSERT_EQ(p.s, WholeProduction(m, capacity, music, messages)) << "round " << round;
  }
}

TEST(ProductionStreamTest, MixSettingsComeFromTheChannel) {
  ChannelConfig channel;
  channel.MusicVolume = 7;
  channel.MessageVolume = 9;
  channel.CrossFadeVolume = 3;
  channel.Time_Between_Messages = 42;
  channel.LimitLengthEnabled = 1;
  const MixSettings m = MixSettings::Of(channel);
  EXPECT_EQ(std::tuple(m.musicLevel, m.messageLevel, m.crossFade, m.secondsBetweenMessages,
                       m.endMusicAfterLastMessage),
            std::tuple(7, 9, 3, 42, true));
}

}  // namespace
}  // namespace corvane::test
