// The Qt side of playback and recording, as it must behave on any machine,
// with or without a sound device (CI has none).
#include <gtest/gtest.h>

#include "audio/ProductionFile.h"
#include "gui/audio/PlaybackDevice.h"
#include "gui/audio/QtAudioInput.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

TEST(GuiPlaybackDevice, FeedsTheSinkWholeFramesUntilTheFileEnds) {
  TempFolder folder;
  ASSERT_TRUE(WriteProductionFile(folder / "a.wav", 22050, std::vector<std::int16_t>(300, 1000)));
  PlaybackDevice device;
  ASSERT_TRUE(device.Begin(folder / "a.wav", {22050, 2, PlaybackSample::Int16}));
  EXPECT_TRUE(device.isSequential());
  EXPECT_EQ(device.read(1001).size(), 1000);  // 250 stereo frames and a piece
  EXPECT_FALSE(device.atEnd());
  EXPECT_EQ(device.read(1000).size(), 200);
  EXPECT_TRUE(device.atEnd());
  device.End();
  EXPECT_FALSE(device.isOpen());

  WriteWholeFile(folder / "x.wav", std::vector<std::uint8_t>(100, 7));
  EXPECT_FALSE(device.Begin(folder / "x.wav", {22050, 1, PlaybackSample::Int16}));
  EXPECT_FALSE(device.isOpen());
}

TEST(GuiAudioInput, RefusesADeviceItDoesNotHave) {
  QtAudioInput input;
  const std::size_t none = input.Devices().size();
  EXPECT_FALSE(input.SupportsCaptureFormat(none));
  EXPECT_FALSE(input.Start(none));
  std::vector<std::int16_t> captured;
  input.TakeCaptured(captured);
  EXPECT_TRUE(captured.empty());
  input.Stop();
}

}  // namespace
}  // namespace corvane::test
