// Runs "corvane-cli convert" and "corvane-cli mix" on files the test makes
// and reads back what they wrote. How audio converts and mixes is tested in
// core; here, that every option reaches the engine and every failure is an
// exit code with nothing written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "audio/AudioDecoder.h"
#include "audio/Loudness.h"
#include "core/audio/AudioSignals.h"
#include "package/ConfigRecordFile.h"
#include "package/MediaPackage.h"
#include "process/ChildProcess.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

TEST(CliAudio, EachCommandWritesWhatItIsAskedForOrNothing) {
  TempFolder folder;  // sources, a project folder, and what the commands write
  const auto project = folder / "project";
  const auto out = [&](const char* name) { return (folder / "out" / name).string(); };
  std::filesystem::create_directories(project);
  std::filesystem::create_directories(folder / "out");
  std::filesystem::create_directories(folder / "empty");
  WriteAudio(folder / "in.flac", "flac", 44100, StereoTones(440, 440, 44100, 3.2), 2);
  WriteWholeFile(folder / "junk.mp3", std::vector<std::uint8_t>(64, 'x'));
  // Channel 1: two seconds of music and a message with no wait; channel 2:
  // one second of music.
  WriteWave(project / "music.wav", 22050, Constant(1000, 44100));
  WriteWave(project / "hello.wav", 22050, Constant(3000, 11025));
  WriteWave(project / "other.wav", 22050, Constant(-500, 22050));
  ChannelConfig one = FreshChannel();
  one.Time_Between_Messages = 0;
  one.Music.entries = {MediaEntry{"00:00:02", "music.wav"}};
  one.Messages.entries = {MediaEntry{"00:00:00", "hello.wav"}};
  ChannelConfig two = one;
  two.Music.entries = {MediaEntry{"00:00:01", "other.wav"}};
  two.Messages.entries.clear();
  DeviceConfigRecord record;
  record.FileVersion = 1;
  ASSERT_TRUE(WriteConfigRecordFile(project / "config.dat", record, one, two));
  // The same project in a locked package that names its own output.
  PackageContents contents;
  contents.DeviceId = "0000000000000ABC";
  contents.ProviderKey = "ACME";
  contents.Model = 1;
  contents.Created = {2024, 3, 15, 0, 0, 0};
  contents.Audio.OutputRateText.Set("16000");
  contents.Audio.OutputRate = 16000;
  contents.Audio.OutputCodec.Set("libvorbis");
  for (const char* name : {"music.wav", "hello.wav", "other.wav", "config.dat"})
    contents.Members.push_back(project / name);
  const auto package = (folder / "Lobby_SU_20240315_0000000000000ABC.ipc").string();
  NoProgress progress;
  ASSERT_EQ(WritePackage(package, contents, progress), PackageStatus::Ok);
  // A project whose message is gone.
  std::filesystem::create_directories(folder / "broken");
  for (const char* name : {"music.wav", "config.dat"})
    std::filesystem::copy_file(project / name, folder / "broken" / name);

  const std::string in = (folder / "in.flac").string(), dir = project.string();
  const struct {
    std::vector<std::string> words;
    int exitCode;
    std::string says;      // on standard output when it succeeds, else on standard error
    std::string file{};    // written only when the command succeeds ...
    std::string codec{};   // ... in this codec, at this rate, with about so many samples
    int rate = 0;
    double samples = 0;
  } runs[] = {
      {{"convert", in, out("a.ogg")}, 0, "00:00:03 (3 s)", out("a.ogg"), "vorbis", 22050, 70560},
      {{"convert", in, out("b.wav"), "--rate", "8000", "--codec", "pcm_mulaw"}, 0, "",
       out("b.wav"), "pcm_mulaw", 8000, 25600},
      {{"convert", (folder / "junk.mp3").string(), out("c.ogg")}, 1, "", out("c.ogg")},
      // As a caller hears it: at the line's rate, whatever else was asked.
      {{"convert", in, out("t.wav"), "--rate", "44100", "--codec", "pcm_s16le", "--telephone"}, 0,
       "", out("t.wav"), "pcm_s16le", 8000, 25600},
      {{"convert", in, out("d.x"), "--codec", "nonsense"}, 2, "nonsense", out("d.x")},
      // The message follows a 2 s fade-down and plays on over silence.
      {{"mix", dir, "--rate", "8000", "--codec", "pcm_mulaw", "-o", out("e.wav")}, 0,
       "00:00:02 (2 s)", out("e.wav"), "pcm_mulaw", 8000, 20000},
      {{"mix", dir, "--channel", "2", "--output", out("f.wav")}, 0, "", out("f.wav"), "pcm_s16le",
       22050, 22050},
      {{"mix", package, "-o", out("g.ogg")}, 10, "", out("g.ogg")},
      {{"mix", package, "--provider-key", "ACME", "-o", out("h.ogg")}, 0, "", out("h.ogg"),
       "vorbis", 16000, 40000},
      {{"mix", dir, "--telephone", "-o", out("u.wav")}, 0, "", out("u.wav"), "pcm_s16le", 8000, 20000},
      {{"mix", dir, "--loudness", "-20", "-o", out("n.wav")}, 0, "n.wav: loudness gain ",
       out("n.wav"), "pcm_s16le", 22050, 55125},
      {{"mix", (folder / "broken").string(), "-o", out("i.wav")}, 1,
       "Mixing Error: Unable to mix music and messages.", out("i.wav")},
      {{"mix", (folder / "empty").string(), "-o", out("j.wav")}, 1, "config.dat", out("j.wav")},
      {{"convert", "--help"}, 0, "Usage: corvane-cli convert"},
      {{"mix", "--help"}, 0, "Usage: corvane-cli mix"},
      {{"convert", "a"}, 64, "corvane-cli convert"},
      {{"convert", "a", "b", "--rate", "0"}, 64, "corvane-cli convert"},
      {{"mix", dir}, 64, "corvane-cli mix"},
      {{"mix", dir, "--channel", "3", "-o", "x.wav"}, 64, "corvane-cli mix"},
      {{"mix", dir, "--provider-key", "MUCHTOOLONGFORAKEY", "-o", "x.wav"}, 64, "corvane-cli mix"},
      {{"mix", dir, "--loudness", "-80", "-o", "x.wav"}, 64, "--loudness takes LUFS"},
      {{"convert", in, out("k.ogg"), "--codec", "copy", "--loudness", "-16"}, 64, "need a codec",
       out("k.ogg")},
  };
  for (const auto& r : runs) {
    std::string shown;
    for (const auto& word : r.words) shown += word + " ";
    SCOPED_TRACE(shown);
    const ChildResult run = RunChild(CORVANE_CLI_EXE, r.words, {}, std::chrono::seconds(60));
    EXPECT_EQ(run.exitCode, r.exitCode) << run.err;
    EXPECT_NE((r.exitCode == 0 ? run.out : run.err).find(r.says), std::string::npos)
        << run.out << run.err;
    if (r.exitCode != 0) { EXPECT_EQ(run.out, ""); }
    if (r.file.empty()) continue;
    if (r.exitCode != 0) {
      EXPECT_FALSE(std::filesystem::exists(r.file));
      continue;
    }
    const auto info = ProbeAudioFile(r.file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->codec, r.codec);
    EXPECT_EQ(info->sampleRate, r.rate);
    EXPECT_EQ(info->channels, 1);
    EXPECT_NEAR(static_cast<double>(DecodeAll(r.file).size()), r.samples, 10);
  }
  // Channel 2 alone, its music as it was; and the project folder is only read.
  EXPECT_EQ(DecodeAll(out("f.wav")), Constant(-500, 22050));
  // Brought to the target, unless its peaks would pass the ceiling first.
  const LoudnessFigures normalised = MeasureLoudness(out("n.wav"));
  EXPECT_TRUE(std::abs(normalised.integratedLufs + 20) < 0.5 ||
              std::abs(normalised.truePeakDbtp + 1) < 0.2)
      << normalised.integratedLufs << " LUFS, " << normalised.truePeakDbtp << " dBTP";
  EXPECT_EQ(NamesIn(project).size(), 4u);
}

// Everything the program writes while it runs on a pseudo-terminal, as an
// operator at a shell sees it.
std::string OnTerminal(const std::vector<std::string>& arguments) {
  int terminal = -1;
  const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
  if (child == 0) {
    std::vector<char*> argv{const_cast<char*>(CORVANE_CLI_EXE)};
    for (const std::string& word : arguments) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    ::execv(CORVANE_CLI_EXE, argv.data());
    ::_exit(127);
  }
  std::string seen;
  char buffer[4096];
  for (ssize_t n; child > 0 && (n = ::read(terminal, buffer, sizeof buffer)) > 0;) seen.append(buffer, n);
  if (child > 0) ::waitpid(child, nullptr, 0);
  if (terminal >= 0) ::close(terminal);
  return seen;
}

// A shell gets a bar that counts up to the end and is gone before the
// result; a pipe, a log, or --quiet gets the result alone.
TEST(CliAudio, LongWorkShowsAProgressBarOnlyOnATerminal) {
  TempFolder folder;
  WriteWave(folder / "song.wav", 22050, Sine(440, 22050, 8.0));
  const auto convert = [&](const char* out) {
    return std::vector<std::string>{"convert", (folder / "song.wav").string(), (folder / out).string()};
  };
  const std::string shell = OnTerminal(convert("a.ogg"));
  EXPECT_NE(shell.find("] 100%  song.wav"), std::string::npos) << shell;
  EXPECT_NE(shell.find("\033[2K"), std::string::npos) << shell;
  EXPECT_NE(shell.find("a.ogg: 00:00:08"), std::string::npos) << shell;
  EXPECT_LT(shell.rfind("100%"), shell.find("a.ogg: 00:00:08"));

  auto quiet = convert("b.ogg");
  quiet.push_back("--quiet");
  EXPECT_EQ(OnTerminal(quiet).find('%'), std::string::npos);
  const ChildResult piped = RunChild(CORVANE_CLI_EXE, convert("c.ogg"), {});
  EXPECT_EQ(piped.exitCode, 0);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(piped.out.find('%'), std::string::npos);
}

// Integrated loudness, loudness range and true peak agree with FFmpeg's own meter on mono
// files (Corvane measures the mono mix it plays); FFmpeg rounds to one
// decimal, hence 0.05 more. The exit code says whether every file was
// measured.
TEST(CliAudio, LoudnessAgreesWithFfmpegsMeter) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
  TempFolder folder;
  WriteAudio(folder / "quiet.ogg", "libvorbis", 22050, Sine(300, 22050, 6.0, 1000));
  // Louder and louder bursts: a range and a peak of their own.
  auto loud = Sine(2000, 44100, 40.0, 30000);
  const double length = static_cast<double>(loud.size());
  for (std::size_t i = 0; i < loud.size(); ++i) {
    const double at = static_cast<double>(i);
    loud[i] = static_cast<std::int16_t>(loud[i] * (0.1 + 0.9 * std::fmod(at, 441000) / 441000) * at / length);
  }
  WriteAudio(folder / "loud.flac", "flac", 44100, loud);
  for (const char* name : {"quiet.ogg", "loud.flac"}) {
    const auto file = (folder / name).string();
    const ChildResult ours = RunChild(CORVANE_CLI_EXE, {"loudness", file, "--json"}, {});
    ASSERT_EQ(ours.exitCode, 0) << ours.err;
    const ChildResult theirs = RunChild("/bin/sh", {"-c", "ffmpeg -nostats -hide_banner -i '" + file +
                                                              "' -af ebur128=peak=true -f null - 2>&1"},
                                        {}, std::chrono::seconds(30));
    const auto figure = [](const std::string& text, const std::string& after) {
      const auto at = text.rfind(after);
      return at == std::string::npos ? NAN : std::strtod(text.c_str() + at + after.size(), nullptr);
    };
    EXPECT_NEAR(figure(ours.out, "\"integratedLufs\":"), figure(theirs.out, "I:"), 0.15) << name;
    EXPECT_NEAR(figure(ours.out, "\"truePeakDbtp\":"), figure(theirs.out, "Peak:"), 0.15) << name;
    EXPECT_NEAR(figure(ours.out, "\"rangeLu\":"), figure(theirs.out, "LRA:"), 0.15) << name;
  }
  EXPECT_EQ(RunChild(CORVANE_CLI_EXE, {"loudness", (folder / "none.wav").string()}, {}).exitCode, 1);

}

}  // namespace
}  // namespace corvane::test
