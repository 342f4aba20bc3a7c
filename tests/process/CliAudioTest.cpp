// Runs "corvane-cli convert" and "corvane-cli mix" on files the test makes
// and reads back what they wrote.
#include <gtest/gtest.h>

#include "audio/AudioDecoder.h"
#include "channel/ChannelConfig.h"
#include "common/Progress.h"
#include "core/audio/AudioSignals.h"
#include "package/ConfigRecordFile.h"
#include "package/MediaPackage.h"
#include "process/ChildProcess.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

constexpr const char* kDevice = "0000000000000ABC";

ChildResult Cli(const std::vector<std::string>& arguments) {
  return RunChild(CORVANE_CLI_EXE, arguments, {}, std::chrono::seconds(60));
}

bool Mentions(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CliConvertTest, ConvertsToVorbisAt22050UnlessAskedAndPrintsTheDuration) {
  TempFolder folder;
  WriteAudio(folder / "in.flac", "flac", 44100, StereoTones(440, 440, 44100, 3.2), 2);
  auto run = Cli({"convert", (folder / "in.flac").string(), (folder / "out.ogg").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(Mentions(run.out, "00:00:03 (3 s)")) << run.out;
  auto info = ProbeAudioFile(folder / "out.ogg");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->codec, "vorbis");
  EXPECT_EQ(info->sampleRate, 22050);
  EXPECT_EQ(info->channels, 1);

  run = Cli({"convert", (folder / "in.flac").string(), (folder / "phone.wav").string(), "--rate",
             "8000", "--codec", "pcm_mulaw"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  info = ProbeAudioFile(folder / "phone.wav");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->codec, "pcm_mulaw");
  EXPECT_EQ(info->sampleRate, 8000);
  EXPECT_EQ(DecodeAll(folder / "phone.wav").size(), 25600u);
}

TEST(CliConvertTest, FailuresGoToStandardErrorWithNoFileWritten) {
  TempFolder folder;
  WriteWholeFile(folder / "junk.mp3", std::vector<std::uint8_t>(64, 'x'));
  auto run = Cli({"convert", (folder / "junk.mp3").string(), (folder / "out.ogg").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_FALSE(run.err.empty());
  EXPECT_TRUE(run.out.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "out.ogg"));
  WriteWave(folder / "in.wav", 22050, Sine(440, 22050, 1.0));
  run = Cli({"convert", (folder / "in.wav").string(), (folder / "out.x"), "--codec", "nonsense"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(Mentions(run.err, "nonsense")) << run.err;
}

class CliMixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Channel 1: two seconds of music and a message; channel 2: one second of music.
    WriteWave(folder / "music.wav", 22050, Constant(1000, 44100));
    WriteWave(folder / "hello.wav", 22050, Constant(3000, 11025));
    WriteWave(folder / "other.wav", 22050, Constant(-500, 22050));
    ChannelConfig one = FreshChannel();
    one.Time_Between_Messages = 0;
    one.Music.entries = {MediaEntry{"00:00:02", "music.wav"}};
    one.Messages.entries = {MediaEntry{"00:00:00", "hello.wav"}};
    ChannelConfig two = one;
    two.Music.entries = {MediaEntry{"00:00:01", "other.wav"}};
    two.Messages.entries.clear();
    DeviceConfigRecord record;
    record.FileVersion = 1;
    ASSERT_TRUE(WriteConfigRecordFile(folder / "config.dat", record, one, two));
  }

  std::filesystem::path Package(const std::string& providerKey) {
    PackageContents contents;
    contents.DeviceId = kDevice;
    contents.ProviderKey = providerKey;
    contents.Model = 1;
    contents.Audio.OutputRateText.Set("16000");
    contents.Audio.OutputRate = 16000;
    contents.Audio.OutputCodec.Set("libvorbis");
    contents.Created = {2024, 3, 15, 0, 0, 0};
    contents.Members = {folder / "music.wav", folder / "hello.wav", folder / "other.wav",
                        folder / "config.dat"};
    const auto path = folder / ("Lobby_SU_20240315_" + std::string(kDevice) + ".ipc");
    NoProgress progress;
    EXPECT_EQ(WritePackage(path, contents, progress), PackageStatus::Ok);
    return path;
  }

  TempFolder folder;
  TempFolder out;
};

TEST_F(CliMixTest, MixesEitherChannelOfAFolderAtTheRateAndCodecAsked) {
  const auto run = Cli({"mix", folder.Path().string(), "--rate", "8000", "--codec", "pcm_mulaw",
                        "-o", (out / "moh.wav").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // With no wait the message follows a 2 s fade-down, when the music ends,
  // and plays on over silence for its half second.
  EXPECT_TRUE(Mentions(run.out, "00:00:02 (2 s)")) << run.out;
  const auto info = ProbeAudioFile(out / "moh.wav");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->codec, "pcm_mulaw");
  EXPECT_EQ(info->sampleRate, 8000);
  const auto samples = DecodeAll(out / "moh.wav");
  ASSERT_EQ(samples.size(), 8000u * 5 / 2);
  EXPECT_NEAR(samples[8000], 600, 20);  // halfway down the fade: 6 tenths of 1000
  // The message over silence: 10 * 3000 / 12, through mu-law.
  EXPECT_NEAR(samples[8000 * 9 / 4], 2500, 60);
  // The folder is only read.
  EXPECT_FALSE(std::filesystem::exists(folder / "output.wav"));
  EXPECT_FALSE(std::filesystem::exists(folder / "temp.wav"));

  // The second channel, at the defaults.
  const auto two = Cli(
      {"mix", folder.Path().string(), "--channel", "2", "--output", (out / "two.wav").string()});
  ASSERT_EQ(two.exitCode, 0) << two.err;
  EXPECT_EQ(DecodeAll(out / "two.wav"), Constant(-500, 22050));
  EXPECT_EQ(ProbeAudioFile(out / "two.wav")->codec, "pcm_s16le");
}

TEST_F(CliMixTest, MixesAPackageWithItsOutputSettingsAndKey) {
  const auto package = Package("ACME");
  auto run = Cli({"mix", package.string(), "-o", (out / "moh.ogg").string()});
  EXPECT_EQ(run.exitCode, 10) << run.err;
  EXPECT_FALSE(std::filesystem::exists(out / "moh.ogg"));

  run = Cli({"mix", package.string(), "--provider-key", "ACME", "-o", (out / "moh.ogg").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto info = ProbeAudioFile(out / "moh.ogg");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->codec, "vorbis");
  EXPECT_EQ(info->sampleRate, 16000);
  EXPECT_NEAR(static_cast<double>(DecodeAll(out / "moh.ogg").size()), 16000 * 2.5, 10);
}

TEST_F(CliMixTest, AMixThatFailsSaysWhyAndWritesNothing) {
  std::filesystem::remove(folder / "hello.wav");
  auto run = Cli({"mix", folder.Path().string(), "-o", (out / "moh.wav").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Mentions(run.err, "Mixing Error: Unable to mix music and messages.")) << run.err;
  EXPECT_FALSE(std::filesystem::exists(out / "moh.wav"));

  std::filesystem::remove(folder / "config.dat");
  run = Cli({"mix", folder.Path().string(), "-o", (out / "moh.wav").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Mentions(run.err, "config.dat")) << run.err;
}

TEST_F(CliMixTest, HelpAndUsageErrors) {
  for (const char* command : {"convert", "mix"}) {
    const auto run = Cli({command, "--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(Mentions(run.out, std::string("Usage: corvane-cli ") + command)) << run.out;
  }
  const std::string dir = folder.Path().string();
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"convert", "a"},
        {"convert", "a", "b", "c"},
        {"convert", "a", "b", "--rate", "0"},
        {"convert", "a", "b", "--rate"},
        {"convert", "a", "b", "--loud"},
        {"mix", dir},
        {"mix", dir, "--channel", "3", "-o", "x.wav"},
        {"mix", dir, "--provider-key", "MUCHTOOLONGFORAKEY", "-o", "x.wav"}}) {
    const auto run = Cli(words);
    EXPECT_EQ(run.exitCode, 64) << words.back();
    EXPECT_TRUE(Mentions(run.err, "corvane-cli " + words[0])) << run.err;
  }
}

}  // namespace
}  // namespace corvane::test
