// "Create Audio Production" and "Preview Audio Production" as the operator
// meets them: the questions, the save dialog, the file written, the player.
#include "project/ProductionExport.h"

#include <gtest/gtest.h>

#include "audio/AudioDecoder.h"
#include "common/ByteOrder.h"
#include "core/audio/AudioSignals.h"
#include "support/StandInProject.h"

namespace corvane::test {
namespace {

class ProductionExportTest : public ::testing::Test, protected StandInProject {
 protected:
  ProductionExportTest() {
    home.Channel1Modified = true;
    session.ApplyModel(3, true);  // Tonvex-Mix with the default rates: no file is stored
    session.Audio.OutputRateText.Set("8000");
    session.Audio.OutputRate = 8000;
    session.Audio.OutputCodec.Set("pcm_mulaw");
    session.Audio.CallCodec = session.Audio.ProjectCodec;
    session.Channel1 = FreshChannel();
    WriteWave(Temp() / "song.wav", 22050, Sine(440, 22050, 3.0));
    session.Channel1.Music.entries = {MediaEntry{"00:00:03", "song.wav"}};
  }
  void ExpectRatesAndCodecRestored() {
    EXPECT_EQ(session.Audio.ConversionRate, 22050);
    EXPECT_EQ(session.Audio.ConversionRateText.Str(), "22050");
    EXPECT_EQ(session.Audio.BytesPerSecond, 44100);
    EXPECT_EQ(session.Audio.CallCodec.Str(), "libvorbis");
  }

  const TempFolder& folder = data;
};

TEST_F(ProductionExportTest, WritesTheProductionInTheOutputCodecAtTheOutputRate) {
  const auto chosen = folder / "CRV";  // typed without an extension
  op.ExpectSaveFile(chosen);
  EXPECT_EQ(CreateAudioProduction(context), ExportOutcome::Done);

  const auto info = ProbeAudioFile(chosen);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->container, "wav");
  EXPECT_EQ(info->codec, "pcm_mulaw");
  EXPECT_EQ(info->sampleRate, 8000);
  const auto samples = DecodeAll(chosen);
  EXPECT_EQ(samples.size(), 24000u);
  EXPECT_GT(ToneToRestDb(std::span(samples).subspan(4000, 16000), 440, 8000), 30);
  ASSERT_EQ(converter.calls.size(), 2u);
  EXPECT_EQ(converter.calls[1].source, Temp() / "output.wav");
  EXPECT_EQ(converter.calls[1].codec, "pcm_mulaw");
  EXPECT_EQ(converter.calls[1].caption, "Converting File ...");
  EXPECT_EQ(player.log, (std::vector<std::string>{"stop"}));
  ExpectRatesAndCodecRestored();
  EXPECT_TRUE(std::filesystem::exists(Temp() / "output.wav"));
}

TEST_F(ProductionExportTest, AnEmptyChannelHasNothingToSaveUnlessItHasScheduledMessages) {
  session.Channel1.ResetPlaylists();
  op.ExpectMessage("Nothing to save.", "No Music/Messages");
  EXPECT_EQ(CreateAudioProduction(context), ExportOutcome::Cancelled);
  EXPECT_EQ(op.History().at(0).icon, OperatorIcon::Stop);
  EXPECT_TRUE(converter.calls.empty());
  ExpectRatesAndCodecRestored();

  // Scheduled messages alone are no production, but not nothing either.
  session.Channel1.Scheduled.AddEntry(MediaEntry{"00:00:04", "notice.ogg"});
  op.ExpectSaveFile(folder / "empty.wav");
  EXPECT_EQ(CreateAudioProduction(context), ExportOutcome::Done);
  EXPECT_EQ(ProbeAudioFile(folder / "empty.wav")->codec, "pcm_mulaw");
  EXPECT_TRUE(DecodeAll(folder / "empty.wav").empty());
}

TEST_F(ProductionExportTest, AnUnmodifiedChannelAsksFirst) {
  home.Channel1Modified = false;
  op.ExpectQuestion("Continue saving file?", "Music/Messages not Modified", OperatorAnswer::No);
  EXPECT_EQ(ExportProduction(context), ExportOutcome::Cancelled);
  EXPECT_EQ(op.History().at(0).buttons, OperatorButtons::YesNo);
  EXPECT_EQ(op.History().at(0).icon, OperatorIcon::Exclamation);

  op.ExpectQuestion("Continue saving file?", "Music/Messages not Modified", OperatorAnswer::Yes);
  op.ExpectSaveFile(std::nullopt);
  EXPECT_EQ(ExportProduction(context), ExportOutcome::Cancelled);
  EXPECT_TRUE(converter.calls.empty());
}

TEST_F(ProductionExportTest, TheSaveDialogOffersTheOutputCodecsFileType) {
  const std::pair<const char*, const char*> cases[] = {
      {"libmp3lame", "Audio Files (*.mp3)|*.mp3||"},
      {"libvorbis", "Audio Files (*.ogg)|*.ogg||"},
      {"pcm_mulaw", "Audio Files (*.wav)|*.wav||"}};
  for (const auto& [codec, filter] : cases) {
    session.Audio.OutputCodec.Set(codec);
    op.ExpectSaveFile(std::nullopt);
    EXPECT_EQ(ExportProduction(context), ExportOutcome::Cancelled);
    const FileDialogRequest& request = op.History().back().request;
    EXPECT_EQ(request.filter, filter) << codec;
    EXPECT_EQ(request.initialName, "CRV");
    EXPECT_EQ(request.defaultExtension, "");
    EXPECT_TRUE(request.overwritePrompt);
  }
  EXPECT_TRUE(converter.calls.empty());
}

TEST_F(ProductionExportTest, AFailedConversionLeavesTheChosenFileAsItWas) {
  const auto chosen = folder / "earlier.wav";
  WriteWholeFile(chosen, std::vector<std::uint8_t>{1, 2, 3});
  converter.failCaption = "Converting File ...";
  op.ExpectSaveFile(chosen);
  op.ExpectMessage("Error", "Error Converting File");
  EXPECT_EQ(CreateAudioProduction(context), ExportOutcome::Failed);
  EXPECT_EQ(ReadWholeFile(chosen), (std::vector<std::uint8_t>{1, 2, 3}));
  ExpectRatesAndCodecRestored();
}

TEST_F(ProductionExportTest, PreviewMixesAtTheOutputRateAndPlaysOnlyAProduction) {
  EXPECT_TRUE(PreviewAudioProduction(context));
  const std::string output = (Temp() / "output.wav").string();
  EXPECT_EQ(player.log, (std::vector<std::string>{"stop", "play " + output}));
  EXPECT_TRUE(player.IsPlaying());
  EXPECT_EQ(converter.calls.at(0).rate, 8000);
  EXPECT_EQ(DecodeAll(output).size(), 24000u);
  ExpectRatesAndCodecRestored();
  StopAudioProduction(context);
  EXPECT_FALSE(player.IsPlaying());

  // A mix that fails plays nothing; an empty channel only stops.
  player.log.clear();
  session.Channel1.Music.entries = {MediaEntry{"00:00:03", "missing.wav"}};
  op.ExpectMessage("Mixing Error", "Unable to mix music and messages.");
  EXPECT_FALSE(PreviewAudioProduction(context));
  EXPECT_EQ(player.log, (std::vector<std::string>{"stop"}));
  ExpectRatesAndCodecRestored();
  player.log.clear();
  converter.calls.clear();
  session.Channel1.ResetPlaylists();
  EXPECT_FALSE(PreviewAudioProduction(context));
  EXPECT_EQ(player.log, (std::vector<std::string>{"stop"}));
  EXPECT_TRUE(converter.calls.empty());
}

// What a Tonvex-One package carries: channel 1 mixed at the project rate.
TEST_F(ProductionExportTest, ChannelOneMixesAtTheProjectRateIntoTheTemporaryFolder) {
  session.Channel1.Music.entries = {MediaEntry{"00:00:01", "a.wav"}};
  WriteWave(Temp() / "a.wav", 22050, Constant(100, 22050));
  ASSERT_TRUE(MixChannel1(context));
  const auto bytes = ReadWholeFile(Temp() / "output.wav");
  ASSERT_EQ(bytes.size(), 80u + 44100u);
  EXPECT_EQ(ReadLE32(bytes.data() + 24), 22050u);
  ExpectRatesAndCodecRestored();
}

}  // namespace
}  // namespace corvane::test
