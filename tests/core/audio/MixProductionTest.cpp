// MixProduction with real files: each list file goes through the converter
// into temp.wav and into the production, and output.wav is read back.
#include "audio/MixProduction.h"

#include <gtest/gtest.h>

#include "audio/AudioDecoder.h"
#include "audio/WaveFormat.h"
#include "common/ByteOrder.h"
#include "core/audio/AudioSignals.h"
#include "support/FakeAudio.h"
#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

class MixProductionTest : public ::testing::Test {
 protected:
  MixProductionTest() {
    std::filesystem::create_directories(temp);
    audio.ProjectRate = 22050;
    audio.OutputRate = 8000;
    audio.MaxLength = 3600;
    channel = FreshChannel();
    channel.MusicVolume = 5;
    channel.MessageVolume = 10;
    channel.CrossFadeVolume = 2;
    channel.Time_Between_Messages = 1;
  }

  bool Mix() {
    MixServices services{op, converter, progress, temp, temp};
    return MixProduction(channel, audio, services, path);
  }
  std::vector<std::int16_t> ProductionSamples() const { return DecodeAll(temp / "output.wav"); }
  void ExpectMixingError(const char* text) { op.ExpectMessage("Mixing Error", text); }

  TempFolder folder;
  std::filesystem::path temp = folder / "temp";
  ST_AUDIO_TYPE audio = Call("libvorbis", 8000);
  ChannelConfig channel;
  ScriptedOperator op;
  RecordingConverter converter;
  NoProgress progress;
  std::string path = "left over";
};

TEST_F(MixProductionTest, LaysTheListsOutAsThePlayerPlaysThem) {
  WriteWave(temp / "a.wav", 8000, Constant(1000, 16000));
  WriteAudio(temp / "b.flac", "flac", 8000, Constant(-2000, 8000));
  WriteWave(temp / "m.wav", 8000, Constant(3000, 4000));
  channel.Music.entries = {MediaEntry{"00:00:02", "a.wav"}, MediaEntry{"00:00:01", "b.flac"}};
  channel.Messages.entries = {MediaEntry{"00:00:00", "m.wav"}};

  ASSERT_TRUE(Mix());
  EXPECT_EQ(path, (temp / "output.wav").string());
  const auto s = ProductionSamples();
  ASSERT_EQ(s.size(), 24000u);  // the music's three seconds
  // T = 1 s leaves no gap: the fade-down starts at once, from full level ...
  EXPECT_EQ(s[0], 500);
  EXPECT_EQ(s[8000], 300);    // ... to 6 tenths halfway ...
  EXPECT_EQ(s[12000], 200);   // ... and 4 tenths at three quarters
  EXPECT_EQ(s[16000], 2333);  // the message at 2 s: (10 * 3000 + 2 * -1000) / 12
  EXPECT_EQ(s[19999], 2333);
  EXPECT_EQ(s[20000], -200);  // fade-up from X, cut short by the music's end
  EXPECT_EQ(s[23999], -399);  // 2 + 7998 * 8 / 32000 = 3.9995 tenths of -1000
  const auto header = ProductionHeader(8000, 48000);
  EXPECT_TRUE(std::equal(header.begin(), header.end(), ReadWholeFile(temp / "output.wav").begin()));
  // Each file is decoded through the converter at the conversion rate, and
  // the project's codec is back afterwards.
  ASSERT_EQ(converter.calls.size(), 3u);
  for (const auto& call : converter.calls) {
    EXPECT_EQ(call.destination, temp / "temp.wav");
    EXPECT_EQ(call.codec, "pcm_s16le");
    EXPECT_EQ(call.rate, 8000);
    EXPECT_EQ(call.caption, "Processing Files ...");
  }
  EXPECT_EQ(converter.calls[2].source, temp / "b.flac");
  EXPECT_EQ(audio.CallCodec.Str(), "libvorbis");
  EXPECT_FALSE(std::filesystem::exists(temp / "temp.wav"));
}

TEST_F(MixProductionTest, AFileThatCannotBeMixedFailsTheMixAndLeavesNoProduction) {
  WriteWave(temp / "a.wav", 8000, Constant(1000, 800));
  WriteWave(folder / "secret.wav", 8000, Constant(1000, 800));
  auto stereo = WaveBytes(8000, Constant(5, 100));
  WriteLE16(stereo.data() + 32, 4);  // block align of 16-bit stereo
  const struct {
    std::vector<MediaEntry> music, messages;
    std::optional<std::vector<std::uint8_t>> converted;
    bool readsNothing;
  } cases[] = {
      {{{"00:00:00", "a.wav"}}, {{"00:00:05", "gone.ogg"}}, std::nullopt, false},
      {{{"00:00:00", "../secret.wav"}}, {}, std::nullopt, true},  // outside the folder
      {{{"00:00:00", "a.wav"}}, {}, stereo, false},               // not mono 16-bit PCM
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.music[0].FileName);
    WriteWholeFile(temp / "output.wav", std::vector<std::uint8_t>(100, 1));  // an earlier mix
    channel.Music.entries = c.music;
    channel.Messages.entries = c.messages;
    converter.calls.clear();
    converter.replyBytes = c.converted;
    path = "left over";
    ExpectMixingError("Unable to mix music and messages.");
    EXPECT_FALSE(Mix());
    EXPECT_EQ(converter.calls.empty(), c.readsNothing);
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(std::filesystem::exists(temp / "output.wav"));
    EXPECT_FALSE(std::filesystem::exists(temp / "temp.wav"));
    EXPECT_EQ(audio.CallCodec.Str(), "libvorbis");
    EXPECT_EQ(op.History().back().icon, OperatorIcon::Stop);
  }
}

// A WAV whose LIST chunk (26 bytes in the production header, at 38) is
// listBytes long, so its header may be larger than the mixer reads first.
std::vector<std::uint8_t> WaveWithLongList(std::size_t listBytes,
                                           const std::vector<std::int16_t>& samples,
                                           std::uint32_t claimedData) {
  auto b = WaveBytes(8000, samples);
  b.insert(b.begin() + 72, listBytes - 26, 0);
  WriteLE32(b.data() + 42, static_cast<std::uint32_t>(listBytes));
  WriteLE32(b.data() + 76 + (listBytes - 26), claimedData);
  return b;
}

TEST_F(MixProductionTest, MusicWithALongHeaderOrAShortDataChunkIsReadAsFarAsItGoes) {
  channel.MusicVolume = 10;
  channel.Music.entries = {MediaEntry{"00:00:01", "a.wav"}};
  converter.replyBytes = WaveWithLongList(200000, Constant(1234, 3000), 6000);
  ASSERT_TRUE(Mix());
  EXPECT_EQ(ProductionSamples(), Constant(1234, 3000));

  // The data chunk claims far more than the file holds.
  converter.replyBytes = WaveWithLongList(26, Constant(-77, 500), 1000000);
  ASSERT_TRUE(Mix());
  EXPECT_EQ(ProductionSamples(), Constant(-77, 500));
}

TEST_F(MixProductionTest, AProductionIsCutAtItsBuffersOrNotMadeWithoutRoom) {
  // The buffers hold the longest production plus a minute at the higher rate,
  // within what a WAV file can hold.
  audio.MaxLength = -59;  // one second at 22050 Hz: 44100 bytes
  EXPECT_EQ(ProductionCapacity(audio), 44100);
  WriteWave(temp / "a.wav", 8000, Constant(1000, 40000));
  channel.Music.entries = {MediaEntry{"00:00:05", "a.wav"}};
  channel.Messages.entries = {MediaEntry{"00:00:05", "a.wav"}, MediaEntry{"00:00:05", "a.wav"}};
  // 22050 samples at 8000 Hz: cut 2.76 seconds in, told once.
  op.ExpectMessage("Audio Production",
                   "The production was cut at 00:00:02, the longest the device takes.");
  ASSERT_TRUE(Mix());
  EXPECT_EQ(ProductionSamples().size(), 22050u);

  audio.MaxLength = -60;
  converter.calls.clear();
  ExpectMixingError("Not enough free memory available.");
  EXPECT_FALSE(Mix());
  EXPECT_TRUE(converter.calls.empty());

  audio.OutputRate = 48000;
  audio.MaxLength = 3600;
  EXPECT_EQ(ProductionCapacity(audio), std::int64_t{3660} * 48000 * 2);
  audio.MaxLength = 66536;  // a Tonvex-SU's storage
  EXPECT_EQ(ProductionCapacity(audio), kMaxWaveDataLength);
}

}  // namespace
}  // namespace corvane::test
