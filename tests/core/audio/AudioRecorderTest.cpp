// The recorder's rules without its window: what a take becomes, where it is
// saved, and what the operator is asked on the way out.
#include "audio/AudioRecorder.h"

#include <gtest/gtest.h>

#include "audio/CaptureResampler.h"
#include "core/audio/AudioSignals.h"
#include "support/FakeAudio.h"
#include "support/ScriptedAudioInput.h"
#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

class AudioRecorderTest : public ::testing::Test {
 protected:
  // Records the blocks, one per tick, and stops.
  void RecordTake(std::vector<std::vector<std::int16_t>> blocks) {
    input.blocks.assign(blocks.begin(), blocks.end());
    ASSERT_TRUE(recorder.Record(0));
    for (std::size_t i = 0; i < blocks.size(); ++i) recorder.RecordTick();
    recorder.StopRecording();
  }

  TempFolder folder;
  ScriptedAudioInput input;
  RecordingPlayer player;
  ScriptedOperator op;
  std::filesystem::path work = RecorderWorkFile(folder / "app");
  AudioRecorder recorder{input, player, op, work};
};

TEST_F(AudioRecorderTest, SaveCopiesTheTakeWhereTheOperatorChoseAndLeavesNoWorkFile) {
  ASSERT_TRUE(recorder.Open());
  RecordTake({Constant(500, 2205), Constant(-500, 2205)});
  const auto take = ReadWholeFile(work);
  ASSERT_EQ(take.size(), 80u + 2 * 4410u);

  // Cancelling the dialog keeps the screen and the take.
  op.ExpectSaveFile(std::nullopt);
  EXPECT_FALSE(recorder.Save());
  EXPECT_TRUE(std::filesystem::exists(work));
  const auto& dialog = op.History().back().request;
  EXPECT_EQ(dialog.filter, "Audio Files (*.wav)|*.wav||");
  EXPECT_EQ(dialog.initialName, "audio_recording");
  EXPECT_EQ(dialog.defaultExtension, "");
  EXPECT_TRUE(dialog.overwritePrompt);

  // A copy that fails is reported and keeps the screen and the take too.
  op.ExpectSaveFile(folder / "no such folder" / "a.wav")
      .ExpectMessage("Write Error", "Failed to save the recording.");
  EXPECT_FALSE(recorder.Save());
  EXPECT_EQ(recorder.State(), RecorderState::Idle);
  EXPECT_TRUE(recorder.RecordingPath().empty());

  // An existing file is replaced, as the operator agreed to.
  const auto chosen = folder / "hello.wav";
  WriteWholeFile(chosen, std::vector<std::uint8_t>(7, 1));
  recorder.Play();
  op.ExpectSaveFile(chosen);
  EXPECT_TRUE(recorder.Save());
  EXPECT_EQ(ReadWholeFile(chosen), take);
  EXPECT_EQ(recorder.RecordingPath(), chosen);
  EXPECT_FALSE(std::filesystem::exists(work));
  EXPECT_EQ(player.playing, "");  // the player let go of the take before the copy
}

TEST_F(AudioRecorderTest, ATakeThatCapturedNothingNeitherPlaysNorSavesTheTakeBeforeIt) {
  ASSERT_TRUE(recorder.Open());
  RecordTake({Constant(500, 2205)});
  ASSERT_TRUE(std::filesystem::exists(work));
  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
  RecordTake({{}, {}});  // the device delivered nothing
  EXPECT_TRUE(recorder.HasTake());
  EXPECT_FALSE(std::filesystem::exists(work));
  EXPECT_TRUE(recorder.Save());  // no dialog: there is nothing to keep
  EXPECT_TRUE(recorder.RecordingPath().empty());
}

// The work file is only for playing the take back: a folder that cannot
// hold it loses nothing, and no device chosen asks nothing.
TEST_F(AudioRecorderTest, ATakeWhoseWorkFileCouldNotBeWrittenIsSavedWhole) {
  WriteWholeFile(folder / "blocked", std::vector<std::uint8_t>{1});
  AudioRecorder blocked{input, player, op, RecorderWorkFile(folder / "blocked")};
  input.blocks = {Constant(700, 2205)};
  ASSERT_TRUE(blocked.Open() && blocked.Record(0));
  blocked.RecordTick();
  blocked.StopRecording();
  EXPECT_FALSE(blocked.Record(std::nullopt));
  op.ExpectSaveFile(folder / "kept.wav");
  EXPECT_TRUE(blocked.Save());
  EXPECT_EQ(DecodeAll(folder / "kept.wav"), Constant(700, 2205));
}

TEST_F(AudioRecorderTest, RefusesWhatTheDeviceCannotDo) {
  ASSERT_TRUE(recorder.Open());
  input.unsupported = 1;
  op.ExpectMessage("Record Error", "Selected device does not support WAV format.");
  EXPECT_FALSE(recorder.Record(1));
  EXPECT_FALSE(recorder.Record(std::nullopt));  // an empty choice does nothing
  EXPECT_EQ(recorder.State(), RecorderState::Idle);
  EXPECT_TRUE(input.started.empty());
}

// What devices give, turned into 22050 Hz mono 16-bit: the tone keeps its
// pitch and the length its time, whatever the rate, channels and samples.
TEST(CaptureResamplerTest, TurnsDeviceFormatsIntoTheCaptureFormat) {
  const DeviceFormat formats[] = {{48000, 2, DeviceSample::Float},
                                   {44100, 2, DeviceSample::Int16},
                                   {22050, 1, DeviceSample::Int16},
                                   {16000, 1, DeviceSample::Int32},
                                   {8000, 1, DeviceSample::UInt8}};
  for (const DeviceFormat& format : formats) {
    SCOPED_TRACE(format.rate);
    std::vector<std::uint8_t> bytes;
    const auto put = [&bytes](const auto value) {
      const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
      bytes.insert(bytes.end(), p, p + sizeof value);
    };
    for (const std::int16_t s : Sine(440, format.rate, 1.0, 12000)) {
      for (int channel = 0; channel < format.channels; ++channel) {
        switch (format.sample) {
          case DeviceSample::Float: put(static_cast<float>(s) / 32768.0f); break;
          case DeviceSample::Int32: put(static_cast<std::int32_t>(s) * 65536); break;
          case DeviceSample::Int16: put(s); break;
          case DeviceSample::UInt8: put(static_cast<std::uint8_t>((s >> 8) + 128)); break;
        }
      }
    }
    CaptureResampler resampler;
    ASSERT_TRUE(resampler.Open(format));
    std::vector<std::int16_t> out;
    // Pieces that split frames, as a device's reads do.
    for (std::size_t at = 0; at < bytes.size(); at += 1001) {
      resampler.Convert(std::span(bytes).subspan(at, std::min<std::size_t>(1001, bytes.size() - at)),
                        out);
    }
    EXPECT_NEAR(static_cast<double>(out.size()), kCaptureRate, 64);
    EXPECT_NEAR(ToneAmplitude(out, 440, kCaptureRate), 12000, 600);
  }
  CaptureResampler resampler;
  EXPECT_FALSE(resampler.Open({0, 2, DeviceSample::Int16}));
  EXPECT_FALSE(resampler.Open({48000, 0, DeviceSample::Int16}));
  std::vector<std::int16_t> out;
  resampler.Convert(std::vector<std::uint8_t>(100, 1), out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace corvane::test
