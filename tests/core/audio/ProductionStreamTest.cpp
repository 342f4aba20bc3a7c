// The production timeline at 100 Hz, so one second is 100 samples (200
// bytes) and a two-second fade is 200 samples: every expected position and
// level below is worked out by hand from the player's rules.
#include "audio/ProductionTimeline.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/ByteOrder.h"
#include "core/audio/AudioSignals.h"

namespace corvane::test {
namespace {

constexpr std::int64_t kRate = 100;
constexpr std::int64_t kBytesPerSecond = 2 * kRate;
constexpr std::int64_t kRoomy = 1 << 20;

std::vector<std::uint8_t> Bytes(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> out(samples.size() * 2);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    WriteLE16(out.data() + 2 * i, static_cast<std::uint16_t>(samples[i]));
  }
  return out;
}

MixSettings Settings(int music, int message, int crossFade, int between,
                     bool endAfterLast = false) {
  return {music, message, crossFade, between, endAfterLast};
}

std::vector<std::int16_t> Mixed(const ProductionTimeline& t) {
  const auto s = t.Samples();
  return {s.begin(), s.end()};
}

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

TEST(ProductionTimelineTest, WithoutMessagesTheMusicPlaysBackToBackAtItsLevel) {
  ProductionTimeline t(kBytesPerSecond, kRoomy, Settings(5, 10, 3, 10));
  t.AddMusic(Bytes(Constant(1000, 150)));
  t.AddMusic(Bytes(Constant(-1001, 50)));
  const auto s = Mixed(t);
  EXPECT_EQ(t.Length(), 400);
  EXPECT_TRUE(AllEqual(s, 0, 150, 500));
  EXPECT_TRUE(AllEqual(s, 150, 200, -500));  // -500.5 truncates toward zero
}

TEST(ProductionTimelineTest, WithoutMusicEachMessageStandsAloneOverSilence) {
  // Message level 8 over X = 2: 3000 becomes 8 * 3000 / 12 = 2000.
  ProductionTimeline t(kBytesPerSecond, kRoomy, Settings(10, 8, 2, 10));
  t.AddMessage(Bytes(Constant(3000, 100)), false);
  t.AddMessage(Bytes(Constant(-3001, 100)), true);
  const auto s = Mixed(t);
  // The first starts T = 10 s in; the next T after the first one's end.
  EXPECT_TRUE(AllEqual(s, 0, 1000, 0));
  EXPECT_TRUE(AllEqual(s, 1000, 1100, 2000));
  EXPECT_TRUE(AllEqual(s, 1100, 2100, 0));
  EXPECT_TRUE(AllEqual(s, 2100, 2200, -2000));
  EXPECT_EQ(t.Length(), 2200 * 2);
}

class TenSecondsCrossFadeTwo : public ::testing::Test {
 protected:
  // A minute of music at 10000, level 10; messages of 1200 at level 10.
  TenSecondsCrossFadeTwo() : t(kBytesPerSecond, kRoomy, Settings(10, 10, 2, 10)) {
    t.AddMusic(Bytes(Constant(10000, 6000)));
    t.AddMessage(Bytes(Constant(1200, 100)), false);
    t.AddMessage(Bytes(Constant(1200, 100)), true);
    s = Mixed(t);
  }
  ProductionTimeline t;
  std::vector<std::int16_t> s;
};

TEST_F(TenSecondsCrossFadeTwo, TheFirstMessageStartsTenSecondsIn) {
  // (10 * 1200 + 2 * 10000) / 12 = 2666.67
  EXPECT_TRUE(AllEqual(s, 0, 800, 10000));
  EXPECT_TRUE(AllEqual(s, 1000, 1100, 2666));
  EXPECT_EQ(s[999], 2040);  // last fade-down step: factor 10 - 398 * 8 / 400 = 2.04
}

TEST_F(TenSecondsCrossFadeTwo, TheFadesRunTwoSecondsEitherSideOfEachMessage) {
  EXPECT_EQ(s[800], 10000);  // fade-down starts at full level
  EXPECT_EQ(s[900], 6000);   // halfway: 10 - 200 * 8 / 400 = 6
  EXPECT_EQ(s[1100], 2000);  // fade-up starts at X
  EXPECT_EQ(s[1200], 6000);  // halfway up
  EXPECT_EQ(s[1299], 9960);  // last step: 2 + 398 * 8 / 400 = 9.96
}

TEST_F(TenSecondsCrossFadeTwo, TenSecondsLieBetweenOneMessageAndTheNext) {
  // 2 s up (1100..1300), 6 s of untouched music, 2 s down (1900..2100).
  EXPECT_TRUE(AllEqual(s, 1300, 1900, 10000));
  EXPECT_EQ(s[1900], 10000);
  EXPECT_EQ(s[2099], 2040);
  EXPECT_TRUE(AllEqual(s, 2100, 2200, 2666));
  EXPECT_TRUE(AllEqual(s, 2400, 6000, 10000));
  EXPECT_EQ(t.Length(), 6000 * 2);  // the music outlasts the messages
}

TEST(ProductionTimelineTest, BelowFourSecondsTheGapIsZeroAndMessagesAreFourSecondsApart) {
  for (const int between : {0, 3}) {
    ProductionTimeline t(kBytesPerSecond, kRoomy, Settings(10, 10, 0, between));
    t.AddMusic(Bytes(Constant(5000, 3000)));
    for (int k = 0; k < 3; ++k) t.AddMessage(Bytes(Constant(700, 100)), k == 2);
    const auto s = Mixed(t);
    // The first waits max(T - 2, 0) s, then fades down for 2 s.
    const std::size_t first = between == 3 ? 300 : 200;
    EXPECT_TRUE(AllEqual(s, first, first + 100, 700)) << "T = " << between;
    EXPECT_TRUE(AllEqual(s, first + 500, first + 600, 700)) << "T = " << between;
    EXPECT_TRUE(AllEqual(s, first + 1000, first + 1100, 700)) << "T = " << between;
    // Between them only the fades: up from silence, straight back down.
    EXPECT_EQ(s[first + 100], 0);
    EXPECT_EQ(s[first + 200], 2500);
    EXPECT_EQ(s[first + 300], 5000);
    EXPECT_EQ(s[first + 400], 2500);
  }
}

TEST(ProductionTimelineTest, EndMusicAfterLastMessageEndsTwoSecondsAfterIt) {
  ProductionTimeline t(kBytesPerSecond, kRoomy, Settings(10, 10, 2, 10, true));
  t.AddMusic(Bytes(Constant(10000, 6000)));
  t.AddMessage(Bytes(Constant(1200, 100)), false);
  t.AddMessage(Bytes(Constant(1200, 100)), true);
  const auto s = Mixed(t);
  // Only the last message ends the music; the first one fades back up.
  EXPECT_EQ(s[1299], 9960);
  EXPECT_TRUE(AllEqual(s, 2100, 2200, 2666));
  EXPECT_EQ(t.Length(), 2400 * 2);
  EXPECT_EQ(s[2200], 2000);  // fade-out from X = 2 ...
  EXPECT_EQ(s[2300], 1000);  // ... halfway at 1 ...
  EXPECT_EQ(s[2399], 10);    // ... to 2 - 398 * 2 / 400 = 0.01
}

TEST(ProductionTimelineTest, EndMusicAfterLastMessageStopsAtTheEndOfTheMusic) {
  ProductionTimeline t(kBytesPerSecond, kRoomy, Settings(10, 10, 2, 10, true));
  t.AddMusic(Bytes(Constant(10000, 1150)));
  t.AddMessage(Bytes(Constant(1200, 100)), true);
  EXPECT_EQ(t.Length(), 1150 * 2);

  // A message running past the music ends the production where it ends.
  ProductionTimeline late(kBytesPerSecond, kRoomy, Settings(10, 10, 2, 10, true));
  late.AddMusic(Bytes(Constant(10000, 1050)));
  late.AddMessage(Bytes(Constant(1200, 100)), true);
  const auto s = Mixed(late);
  EXPECT_EQ(late.Length(), 1100 * 2);
  EXPECT_TRUE(AllEqual(s, 1000, 1050, 2666));
  EXPECT_TRUE(AllEqual(s, 1050, 1100, 1000));  // over silence: 10 * 1200 / 12
}

TEST(ProductionTimelineTest, AFadeUpCutShortByTheMusicEndShortensTheNextWait) {
  ProductionTimeline t(kBytesPerSecond, kRoomy, Settings(10, 10, 2, 10));
  t.AddMusic(Bytes(Constant(10000, 1150)));
  t.AddMessage(Bytes(Constant(1200, 100)), false);
  t.AddMessage(Bytes(Constant(1200, 100)), true);
  const auto s = Mixed(t);
  EXPECT_EQ(s[1149], 2000 + 49 * 40);  // the fade-up got 50 steps before the music ended
  // The fade-up counts as not done: the next message waits T - 2, then fades.
  EXPECT_TRUE(AllEqual(s, 1150, 2150, 0));
  EXPECT_TRUE(AllEqual(s, 2150, 2250, 1000));
  EXPECT_EQ(t.Length(), 2250 * 2);
}

TEST(ProductionTimelineTest, NothingIsPlacedBeyondTheCapacity) {
  const std::int64_t capacity = 2 * 500;
  ProductionTimeline t(kBytesPerSecond, capacity, Settings(10, 10, 2, 4));
  t.AddMusic(Bytes(Constant(100, 400)));
  t.AddMusic(Bytes(Constant(200, 400)));  // only 100 of these fit
  EXPECT_EQ(t.MusicEnd(), capacity);
  for (int k = 0; k < 5; ++k) t.AddMessage(Bytes(Constant(50, 300)), k == 4);
  EXPECT_TRUE(t.WasCut());
  EXPECT_EQ(t.Length(), capacity);
  const auto s = Mixed(t);
  ASSERT_EQ(s.size(), 500u);
  EXPECT_EQ(s[450], (50 * 10 + 200 * 2) / 12);  // the first message over the second file

  // A capacity too small for even one sample takes nothing at all.
  ProductionTimeline none(kBytesPerSecond, 1, Settings(10, 10, 2, 4));
  none.AddMusic(Bytes(Constant(100, 10)));
  none.AddMessage(Bytes(Constant(100, 10)), true);
  EXPECT_EQ(none.Length(), 0);
  EXPECT_TRUE(none.Samples().empty());
}

TEST(ProductionTimelineTest, LevelsOutsideTheirRangesAreHeldAtTheSampleLimits) {
  ProductionTimeline t(kBytesPerSecond, kRoomy, Settings(255, 255, 0, 0));
  t.AddMusic(Bytes({30000, -30000, 10, -32768}));
  const auto s = Mixed(t);
  EXPECT_EQ(s, (std::vector<std::int16_t>{32767, -32768, 255, -32768}));
}

TEST(ProductionTimelineTest, MixSettingsComeFromTheChannel) {
  ChannelConfig channel;
  channel.MusicVolume = 7;
  channel.MessageVolume = 9;
  channel.CrossFadeVolume = 3;
  channel.Time_Between_Messages = 42;
  channel.LimitLengthEnabled = 1;
  const MixSettings m = MixSettings::Of(channel);
  EXPECT_EQ(m.musicLevel, 7);
  EXPECT_EQ(m.messageLevel, 9);
  EXPECT_EQ(m.crossFade, 3);
  EXPECT_EQ(m.secondsBetweenMessages, 42);
  EXPECT_TRUE(m.endMusicAfterLastMessage);
}

}  // namespace
}  // namespace corvane::test
