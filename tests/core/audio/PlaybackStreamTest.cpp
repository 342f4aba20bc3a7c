// The frames a sound device is fed while a file plays.
#include "audio/PlaybackStream.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/audio/AudioSignals.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

TEST(PlaybackStreamTest, RepeatsEachSampleOnEveryChannelInTheDevicesSampleKind) {
  TempFolder folder;
  WriteWave(folder / "a.wav", 8000, std::vector<std::int16_t>{100, -200, 300});
  PlaybackStream stream;
  ASSERT_TRUE(stream.Open(folder / "a.wav", {8000, 2, PlaybackSample::Int16}));
  std::vector<std::uint8_t> out(64);
  ASSERT_EQ(stream.Fill(out), 12u);
  std::int16_t frames[6];
  std::memcpy(frames, out.data(), sizeof frames);
  EXPECT_EQ(std::vector<std::int16_t>(frames, frames + 6),
            (std::vector<std::int16_t>{100, 100, -200, -200, 300, 300}));
  EXPECT_TRUE(stream.Finished());
  EXPECT_EQ(stream.Fill(out), 0u);

  WriteWave(folder / "b.wav", 8000, Constant(-16384, 10));
  ASSERT_TRUE(stream.Open(folder / "b.wav", {8000, 3, PlaybackSample::Float}));
  out.resize(30);  // two whole frames of 12 bytes and a piece: only whole frames
  ASSERT_EQ(stream.Fill(out), 24u);
  float last = 0;
  std::memcpy(&last, out.data() + 20, 4);
  EXPECT_FLOAT_EQ(last, -0.5f);
  EXPECT_FALSE(stream.Finished());
}

}  // namespace
}  // namespace corvane::test
