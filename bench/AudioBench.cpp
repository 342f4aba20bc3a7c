// The audio engine's speed goals, measured on inputs made here:
// - "corvane-cli convert" of a three-minute MP3 to Ogg Vorbis at 22050 Hz
//   against "ffmpeg -i IN -ar 22050 -ac 1 -c:a libvorbis OUT", alternately in
//   the same run (goal: ratio at most 1.0; skipped without ffmpeg);
// - mixing a one-hour production from decoded inputs (goal: the mixing under
//   5% of the time spent decoding the list files).
// corvane-cli is looked for beside this program's build (src/cli) or in
// $CORVANE_CLI.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "audio/AudioConversion.h"
#include "audio/AudioEncoder.h"
#include "audio/DefaultMusic.h"
#include "audio/MixProduction.h"
#include "audio/ProductionFile.h"
#include "audio/ProductionStream.h"
#include "audio/WaveFormat.h"
#include "common/PrivateFolder.h"
#include "operator/Operator.h"

extern char** environ;

namespace {

using namespace corvane;
using Clock = std::chrono::steady_clock;

// This thread's processor time: the fair measure while other work shares the machine.
double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Stopwatch {
  double wall = 0;
  double cpu = 0;
  template <typename Work>
  void Time(Work&& work) {
    const auto w0 = Clock::now();
    const double c0 = ThreadSeconds();
    work();
    cpu += ThreadSeconds() - c0;
    wall += std::chrono::duration<double>(Clock::now() - w0).count();
  }
};

// A scratch folder for the whole run, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() : folder_(std::filesystem::temp_directory_path(), "corvane-bench") {
    if (!folder_.Exists()) std::abort();
  }
  const std::filesystem::path& Path() const { return folder_.Path(); }

 private:
  PrivateFolder folder_;
};

const std::filesystem::path& BenchFolder() {
  static const ScratchFolder folder;
  return folder.Path();
}

// Music-like content: the default music at 44.1 kHz, a little wider on the right.
std::vector<std::int16_t> StereoMusic(double seconds) {
  const auto mono = SynthesizeDefaultMusic(44100);
  const auto n = std::min(mono.size(), static_cast<std::size_t>(seconds * 44100));
  std::vector<std::int16_t> stereo(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    stereo[2 * i] = mono[i];
    stereo[2 * i + 1] = mono[i >= 300 ? i - 300 : i];
  }
  return stereo;
}

void Encode(const std::filesystem::path& path, const std::string& codec, int rate,
            const std::vector<std::int16_t>& samples, int channels) {
  AudioEncoder encoder;
  if (!encoder.Open(path, {codec, rate, channels, {}, {}, {}}) || !encoder.Write(samples) ||
      !encoder.Finish()) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), encoder.Error().c_str());
    std::abort();
  }
}

const std::filesystem::path& ThreeMinuteMp3() {
  static const std::filesystem::path path = [] {
    const auto p = BenchFolder() / "three-minutes.mp3";
    Encode(p, "libmp3lame", 44100, StereoMusic(180), 2);
    return p;
  }();
  return path;
}

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    const auto candidate = std::filesystem::path(list.substr(start, end - start)) / name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    start = end + 1;
  }
  return {};
}

std::string CorvaneCli() {
  if (const char* set = std::getenv("CORVANE_CLI")) return set;
  const auto self = std::filesystem::read_symlink("/proc/self/exe");
  const auto beside = self.parent_path().parent_path() / "src" / "cli" / "corvane-cli";
  return ::access(beside.c_str(), X_OK) == 0 ? beside.string() : std::string();
}

// Runs the program with its output discarded; the seconds it took, or -1.
double Run(const std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (const auto& w : words) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = Clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

void BM_ConvertThreeMinuteMp3VersusFfmpeg(benchmark::State& state) {
  const std::string cli = CorvaneCli();
  const std::string ffmpeg = FindProgram("ffmpeg");
  if (cli.empty()) return state.SkipWithError("corvane-cli not found (set CORVANE_CLI)");
  if (ffmpeg.empty()) return state.SkipWithError("ffmpeg is not installed");
  const std::string in = ThreeMinuteMp3().string();
  const std::string ours = (BenchFolder() / "ours.ogg").string();
  const std::string theirs = (BenchFolder() / "theirs.ogg").string();
  double cliSeconds = 0;
  double ffmpegSeconds = 0;
  for (auto _ : state) {
    const double a = Run({cli, "convert", in, ours, "--rate", "22050", "--codec", "libvorbis"});
    const double b = Run({ffmpeg, "-nostdin", "-y", "-loglevel", "error", "-i", in, "-ar", "22050",
                          "-ac", "1", "-c:a", "libvorbis", theirs});
    if (a < 0 || b < 0) return state.SkipWithError("a conversion failed");
    cliSeconds += a;
    ffmpegSeconds += b;
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["corvane_s"] = cliSeconds / n;
  state.counters["ffmpeg_s"] = ffmpegSeconds / n;
  state.counters["ratio"] = cliSeconds / ffmpegSeconds;
}
BENCHMARK(BM_ConvertThreeMinuteMp3VersusFfmpeg)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The conversion every added file goes through by default.
ST_AUDIO_TYPE VorbisAt22050() {
  ST_AUDIO_TYPE audio;
  audio.ChannelCount = 1;
  audio.CallCodec.Set("libvorbis");
  audio.SetConversionRate("22050", 22050);
  return audio;
}

void BM_ConvertThreeMinuteMp3InProcess(benchmark::State& state) {
  const ST_AUDIO_TYPE audio = VorbisAt22050();
  NoProgress progress;
  const auto out = BenchFolder() / "in-process.ogg";
  for (auto _ : state) {
    const auto result =
        AudioConversion(ThreeMinuteMp3(), out, audio, kConvertingFileCaption, progress);
    if (!result.Succeeded()) return state.SkipWithError(result.reason.c_str());
  }
}
BENCHMARK(BM_ConvertThreeMinuteMp3InProcess)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Normalising the loudness measures the file as it converts it: the cost
// beside the same conversion without, taken turn about. Goal: 1.3 or less.
void BM_ConvertWithLoudnessAgainstWithout(benchmark::State& state) {
  const ST_AUDIO_TYPE audio = VorbisAt22050();
  NoProgress progress;
  const auto out = BenchFolder() / "loudness.ogg";
  std::vector<double> plain, normalised;
  const auto timed = [&](const std::optional<LoudnessTarget>& target, std::vector<double>& into) {
    const auto start = std::chrono::steady_clock::now();
    const bool ok =
        AudioConversion(ThreeMinuteMp3(), out, audio, kConvertingFileCaption, progress, {target}).Succeeded();
    into.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return ok;
  };
  for (auto _ : state) {
    if (!timed(std::nullopt, plain) || !timed(LoudnessTarget{}, normalised)) {
      return state.SkipWithError("a conversion failed");
    }
  }
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  state.counters["plain_s_median"] = median(plain);
  state.counters["plain_s_min"] = *std::min_element(plain.begin(), plain.end());
  state.counters["loudness_s_median"] = median(normalised);
  state.counters["loudness_s_min"] = *std::min_element(normalised.begin(), normalised.end());
  state.counters["ratio"] = median(normalised) / median(plain);
}
BENCHMARK(BM_ConvertWithLoudnessAgainstWithout)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

class SilentOperator final : public Operator {
 public:
  OperatorAnswer Ask(const std::string&, const std::string&, OperatorButtons,
                     OperatorIcon) override {
    return OperatorAnswer::No;
  }
  void Tell(const std::string&, const std::string& text, OperatorIcon) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
  std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest&) override {
    return {};
  }
  std::vector<std::filesystem::path> ChooseFilesToOpen(const FileDialogRequest&) override {
    return {};
  }
  std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest&) override {
    return {};
  }
};

// The production file, with the time spent writing it kept apart from the mixing.
class TimedFile final : public ProductionSink {
 public:
  TimedFile(ProductionFile& file, Stopwatch& writing) : file_(file), writing_(writing) {}
  bool Put(std::span<const std::int16_t> samples) override {
    bool ok = false;
    writing_.Time([&] { ok = file_.Put(samples); });
    return ok;
  }

 private:
  ProductionFile& file_;
  Stopwatch& writing_;
};

// One hour: twelve five-minute music files and sixty twenty-second messages
// one minute apart, decoded each from Ogg Vorbis the way the mixer does (into
// temp.wav and back: messages into memory, music in pieces that stream
// through the mix into the production file).
void BM_MixOneHourProduction(benchmark::State& state) {
  const auto folder = BenchFolder();
  const auto music = SynthesizeDefaultMusic(22050);
  std::vector<std::int16_t> five(music.begin(), music.begin() + 22050 * 200);
  five.insert(five.end(), music.begin(), music.begin() + 22050 * 100);
  Encode(folder / "five.ogg", "libvorbis", 22050, five, 1);
  Encode(folder / "notice.ogg", "libvorbis", 22050,
         std::vector<std::int16_t>(music.begin() + 22050 * 60, music.begin() + 22050 * 80), 1);

  ChannelConfig channel;
  channel.ResetSettings();
  channel.MusicVolume = 8;  // music below full level: the scaling is part of the work
  channel.Time_Between_Messages = 40;
  channel.Music.entries.assign(12, MediaEntry{"00:05:00", "five.ogg"});
  channel.Messages.entries.assign(60, MediaEntry{"00:00:20", "notice.ogg"});
  ST_AUDIO_TYPE audio;
  audio.ChannelCount = 1;
  audio.ProjectCodec.Set("libvorbis");
  audio.ProjectRate = audio.OutputRate = 22050;
  audio.MaxLength = 3600;
  audio.SetConversionRate("22050", 22050);
  SilentOperator op;
  FfmpegAudioConverter converter;
  NoProgress progress;
  const MixServices services{op, converter, progress, folder, folder};
  const auto capacity = ProductionCapacity(audio);
  const auto maxInput = static_cast<std::size_t>(capacity) + (1 << 20);

  Stopwatch decode;
  Stopwatch mix;
  Stopwatch write;
  std::int64_t length = 0;
  for (auto _ : state) {
    ProductionFile file;
    write.Time([&] {
      if (!file.Open(folder / "output.wav", 22050)) std::abort();
    });
    TimedFile sink(file, write);
    std::optional<ProductionStream> stream;
    // Writing happens inside the mixing calls; it is counted apart.
    const auto mixing = [&](auto&& work) {
      const double wall = write.wall;
      const double cpu = write.cpu;
      mix.Time(work);
      mix.wall -= write.wall - wall;
      mix.cpu -= write.cpu - cpu;
    };
    mixing([&] { stream.emplace(2 * 22050, capacity, MixSettings::Of(channel), sink); });
    for (const auto& entry : channel.Messages.entries) {
      DecodedMessage message;
      decode.Time([&] {
        if (!PrepareListFile(entry, audio, services, message.bytes, maxInput)) std::abort();
      });
      mixing([&] {
        const auto samples = *WaveSampleBytes(message.bytes);
        message.offset = static_cast<std::size_t>(samples.data() - message.bytes.data());
        message.length = samples.size();
        stream->AddMessage(std::move(message));
      });
    }
    // Music reaches the production in pieces as it is read: the mixing of each
    // piece is timed apart from the rest of its preparation.
    Stopwatch placing;
    const MusicPlacer place = [&](std::span<const std::uint8_t> piece) {
      const double wall = write.wall;
      const double cpu = write.cpu;
      placing.Time([&] { stream->AddMusic(piece); });
      placing.wall -= write.wall - wall;
      placing.cpu -= write.cpu - cpu;
    };
    std::vector<std::uint8_t> scratch;
    const double writeWall = write.wall;
    const double writeCpu = write.cpu;
    for (const auto& entry : channel.Music.entries) {
      decode.Time([&] {
        if (!PrepareMusicFile(entry, audio, services, scratch, maxInput, place)) std::abort();
      });
    }
    // What placing and writing took inside the decoding calls is not decoding.
    decode.wall -= placing.wall + (write.wall - writeWall);
    decode.cpu -= placing.cpu + (write.cpu - writeCpu);
    mix.wall += placing.wall;
    mix.cpu += placing.cpu;
    mixing([&] {
      if (!stream->Finish()) std::abort();
    });
    write.Time([&] {
      if (!file.Finish()) std::abort();
    });
    length = stream->Length();
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["production_s"] = static_cast<double>(length) / (2 * 22050);
  state.counters["decode_s"] = decode.wall / n;
  state.counters["mix_s"] = mix.wall / n;
  state.counters["write_s"] = write.wall / n;
  state.counters["decode_cpu_s"] = decode.cpu / n;
  state.counters["mix_cpu_s"] = mix.cpu / n;
  state.counters["mix_percent_of_decode"] = 100 * mix.wall / decode.wall;
  state.counters["mix_cpu_percent_of_decode"] = 100 * mix.cpu / decode.cpu;
}
BENCHMARK(BM_MixOneHourProduction)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
