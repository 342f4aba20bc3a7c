// The production window's growable block: contents survive growth, and
// ownership moves.
#include "audio/SampleBuffer.h"

#include <gtest/gtest.h>

#include <utility>

namespace corvane::test {
namespace {

TEST(SampleBufferTest, GrowingKeepsWhatWasWritten) {
  SampleBuffer buffer;
  EXPECT_EQ(buffer.Size(), 0u);
  buffer.Resize(1000);
  for (std::size_t i = 0; i < 1000; ++i) buffer.Data()[i] = static_cast<std::int16_t>(i);
  buffer.Resize(20u << 20);
  EXPECT_EQ(buffer.Size(), 20u << 20);
  for (std::size_t i = 0; i < 1000; ++i) ASSERT_EQ(buffer.Data()[i], static_cast<std::int16_t>(i));
  buffer.Data()[(20u << 20) - 1] = -5;
  buffer.Reserve(30u << 20);
  EXPECT_EQ(buffer.Data()[999], 999);
  EXPECT_EQ(buffer.Data()[(20u << 20) - 1], -5);
  buffer.Resize(10);
  EXPECT_EQ(buffer.View().size(), 10u);
  EXPECT_EQ(buffer.View()[9], 9);
}

TEST(SampleBufferTest, MovingHandsTheBlockOver) {
  SampleBuffer a;
  a.Resize(3);
  a.Data()[2] = 42;
  SampleBuffer b(std::move(a));
  EXPECT_EQ(b.Size(), 3u);
  EXPECT_EQ(b.Data()[2], 42);
  SampleBuffer c;
  c.Resize(1u << 24);
  c = std::move(b);
  EXPECT_EQ(c.Size(), 3u);
  EXPECT_EQ(c.Data()[2], 42);
}

}  // namespace
}  // namespace corvane::test
