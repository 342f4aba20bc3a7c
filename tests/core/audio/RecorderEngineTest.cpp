// The recorder's engine driven tick by tick from a generated input.
#include "audio/RecorderEngine.h"

#include <gtest/gtest.h>


#include "audio/WaveFormat.h"
#include "core/audio/AudioSignals.h"
#include "support/ScriptedAudioInput.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

using ScriptedInput = ScriptedAudioInput;

TEST(InputLevelTest, IsTheMeanOfTruncatedPercentagesOfHalfScale) {
  EXPECT_EQ(InputLevel(Constant(16383, kMeterBlockSamples)), 100);
  EXPECT_EQ(InputLevel(Constant(-8191, kMeterBlockSamples)), 49);    // 49.99 truncated
  EXPECT_EQ(InputLevel(Constant(-32768, kMeterBlockSamples)), 100);  // 200 at most 100
  EXPECT_EQ(InputLevel(Constant(163, kMeterBlockSamples)), 0);       // each term truncates to 0
  auto half = Constant(16383, kMeterBlockSamples);
  std::fill(half.begin(), half.begin() + 1102, 0);
  EXPECT_EQ(InputLevel(half), 50);  // 1103 * 100 / 2205
  EXPECT_EQ(InputLevel({}), 0);
  EXPECT_EQ(RecordingTimeText(3661), "01:01:01");
}

class RecorderEngineTest : public ::testing::Test {
 protected:
  TempFolder folder;
  ScriptedInput input;
  std::filesystem::path work = RecorderWorkFile(folder / "Melloway");  // made when needed
};

TEST_F(RecorderEngineTest, RecordsTheTakeIntoAMonoWaveAtTheCaptureRate) {
  EXPECT_EQ(work, folder / "Melloway" / "record.wav");
  RecorderEngine engine(input, work);
  EXPECT_EQ(engine.Devices(), (std::vector<std::string>{"Microphone", "Line In"}));
  const auto tone = Sine(440, kCaptureRate, 2.5, 8000);
  for (std::size_t at = 0; at < tone.size(); at += kMeterBlockSamples) {
    input.blocks.emplace_back(tone.begin() + static_cast<std::ptrdiff_t>(at),
                              tone.begin() + static_cast<std::ptrdiff_t>(at + kMeterBlockSamples));
  }
  ASSERT_EQ(engine.Start(1), RecordStart::Started);
  EXPECT_EQ(input.started, (std::vector<std::size_t>{1}));
  RecorderTick tick;
  for (int i = 0; i < 25; ++i) tick = engine.Tick();
  EXPECT_EQ(tick.seconds, 2);
  EXPECT_GT(tick.level, 25);
  EXPECT_EQ(engine.ElapsedTenths(), 25);
  input.Deliver(Constant(77, 100));  // arrives after the last tick
  ASSERT_TRUE(engine.Stop());
  EXPECT_FALSE(input.running);

  // Every sample in order, the last ones too.
  auto expected = tone;
  expected.insert(expected.end(), 100, 77);
  EXPECT_EQ(ReadWholeFile(work), WaveBytes(22050, expected));
}

TEST_F(RecorderEngineTest, TheMeterReadsTheFirstWholeBlockSinceItWasLastRead) {
  RecorderEngine engine(input, work);
  input.blocks = {Constant(16383, 1000), Constant(16383, 1000), Constant(0, 1000),
                  Constant(0, 4000), Constant(8191, 100)};
  ASSERT_EQ(engine.Start(0), RecordStart::Started);
  EXPECT_EQ(engine.Tick().level, 0);  // 1000 of 2205: not full yet
  EXPECT_EQ(engine.Tick().level, 0);
  EXPECT_EQ(engine.Tick().level, 90);  // 2000 loud and 205 silent samples
  EXPECT_EQ(engine.Tick().level, 0);   // a full silent block
  EXPECT_EQ(engine.Tick().level, 0);   // 100 samples: not full
  EXPECT_EQ(engine.Take().size(), 7100u);
}

// The hour itself is the recorder screen's test.
TEST_F(RecorderEngineTest, StopsByItselfAtTheLimit) {
  // A take stopped at the limit holds the limit's length.
  RecorderEngine shortLimit(input, work, 3);
  for (int i = 0; i < 40; ++i) input.blocks.push_back(Constant(static_cast<std::int16_t>(i), 2205));
  ASSERT_EQ(shortLimit.Start(0), RecordStart::Started);
  int ticks = 0;
  for (; shortLimit.IsRecording() && ticks < 100; ++ticks) shortLimit.Tick();
  EXPECT_EQ(ticks, 30);
  EXPECT_EQ(ReadWholeFile(work).size(), 80u + 3 * 44100u);

  // A timer running late: the samples reach the limit before its count does.
  RecorderEngine late(input, work, 3);
  input.blocks = {Constant(3, 44100), Constant(4, 44100)};
  ASSERT_EQ(late.Start(0), RecordStart::Started);
  EXPECT_FALSE(late.Tick().limitReached);
  EXPECT_TRUE(late.Tick().limitReached);
  EXPECT_EQ(ReadWholeFile(work).size(), 80u + 3 * 44100u);
}

TEST_F(RecorderEngineTest, StartFailuresAndEmptyTakesLeaveItIdleWithNoFile) {
  RecorderEngine engine(input, work);
  EXPECT_EQ(engine.Start(2), RecordStart::NoDevice);
  input.unsupported = 0;
  EXPECT_EQ(engine.Start(0), RecordStart::FormatUnsupported);
  input.startWorks = false;
  EXPECT_EQ(engine.Start(1), RecordStart::Failed);
  EXPECT_FALSE(engine.IsRecording());
  EXPECT_EQ(engine.Tick().seconds, 0);
  EXPECT_FALSE(engine.HasTake());
  input.startWorks = true;
  ASSERT_EQ(engine.Start(1), RecordStart::Started);
  engine.Tick();  // nothing captured
  EXPECT_FALSE(engine.Stop());
  EXPECT_FALSE(std::filesystem::exists(work));

  NullAudioInput none;
  RecorderEngine silent(none, work);
  EXPECT_TRUE(silent.Devices().empty());
  EXPECT_EQ(silent.Start(0), RecordStart::NoDevice);
}

TEST_F(RecorderEngineTest, RecordingAgainDiscardingOrClosingDropsTheTake) {
  RecorderEngine engine(input, work);
  input.blocks = {Constant(5, 2205)};
  ASSERT_EQ(engine.Start(0), RecordStart::Started);
  engine.Tick();
  ASSERT_TRUE(engine.Stop());
  ASSERT_EQ(engine.Start(0), RecordStart::Started);
  EXPECT_EQ(engine.ElapsedTenths(), 0);
  input.Deliver(Constant(6, 2205));
  engine.Tick();
  EXPECT_EQ(engine.Take().front(), 6);
  engine.Discard();
  EXPECT_FALSE(engine.IsRecording());
  EXPECT_FALSE(engine.HasTake());
  EXPECT_FALSE(std::filesystem::exists(work));
  EXPECT_EQ(input.stops, 2);
  {
    RecorderEngine closing(input, work);
    ASSERT_EQ(closing.Start(0), RecordStart::Started);
  }
  EXPECT_FALSE(input.running);  // the capture stops before its buffer goes
  EXPECT_EQ(input.stops, 3);
}

}  // namespace
}  // namespace corvane::test
