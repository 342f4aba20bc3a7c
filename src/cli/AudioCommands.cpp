#include "AudioCommands.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "Arguments.h"
#include "Report.h"
#include "TerminalProgress.h"
#include "audio/AudioConversion.h"
#include "audio/Loudness.h"
#include "audio/MixProduction.h"
#include "channel/MediaEntry.h"
#include "common/PrivateFolder.h"
#include "package/ConfigRecordFile.h"
#include "package/KeyText.h"
#include "package/MediaPackage.h"
#include "package/PackageHeader.h"
#include "project/SessionState.h"

namespace corvane::cli {
namespace {

constexpr int kUsageError = 64;
constexpr int kFailed = 1;

constexpr const char* kConvertUsage =
    "Usage: corvane-cli convert IN OUT [--rate HZ] [--codec NAME] [--loudness LUFS] [--telephone]\n"
    "\n"
    "Converts one audio file the way Corvane converts every file it adds: any\n"
    "format FFmpeg reads, mixed down to one channel, resampled, and encoded.\n"
    "Prints the duration.\n"
    "\n"
    "  --rate HZ      sampling rate of OUT (default 22050)\n"
    "  --codec NAME   libvorbis (default), pcm_s16le, pcm_u8, pcm_alaw, pcm_mulaw,\n"
    "                 libmp3lame, or copy (the stream as it is)\n"
    "  --loudness LUFS  bring OUT to this integrated loudness (e.g. -16), its true\n"
    "                 peak kept at or below -1 dBTP; prints the gain applied\n"
    "  --telephone    render OUT as a caller hears it: 8000 Hz, the 300-3400 Hz\n"
    "                 band, through mu-law and back\n"
    "  --quiet        no progress bar (it shows only where stderr is a terminal)\n";

constexpr const char* kMixUsage =
    "Usage: corvane-cli mix DIR-or-PACKAGE [--channel 1|2] [--rate HZ] [--codec NAME]\n"
    "                       [--provider-key KEY] [--loudness LUFS] [--telephone] -o OUT\n"
    "\n"
    "Renders a channel's music and messages into one production, as \"Create Audio\n"
    "Production\" does, from an unpacked project folder (config.dat and the audio\n"
    "files) or a media package (.ipc), and writes it to OUT.\n"
    "\n"
    "  --channel N        1 (default) or 2\n"
    "  --rate HZ          sampling rate of OUT (default: the package's output rate,\n"
    "                     else 22050)\n"
    "  --codec NAME       codec of OUT (default: the package's output codec, else\n"
    "                     pcm_s16le); e.g. --rate 8000 --codec pcm_mulaw for a\n"
    "                     telephone system\n"
    "  --provider-key KEY the provider key a locked package needs\n"
    "  --loudness LUFS    bring the production to this integrated loudness, its\n"
    "                     true peak kept at or below -1 dBTP, as for convert\n"
    "  --telephone        render OUT as a caller hears it: 8000 Hz, the 300-3400 Hz\n"
    "                     band, through mu-law and back\n"
    "  -o, --output OUT   the file to write\n"
    "  --quiet            no progress bar (it shows only where stderr is a terminal)\n";

constexpr const char* kLoudnessUsage =
    "Usage: corvane-cli loudness FILE... [--json]\n"
    "\n"
    "Measures how loud each file sounds as the players play it (in mono): the\n"
    "integrated loudness (EBU R128, LUFS), the loudness range (LU) and the true\n"
    "peak (dBTP). The exit code is 0 when every file was measured.\n"
    "\n"
    "  --json   one JSON object with a list of files, for scripts\n";

int UsageError(const char* command, const std::string& message) {
  std::fprintf(stderr, "corvane-cli %s: %s\n(see 'corvane-cli %s --help')\n", command,
               message.c_str(), command);
  return kUsageError;
}

std::optional<int> RateFrom(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value <= 0 || value > 384000) {
    return std::nullopt;
  }
  return value;
}

// "-o" is the one short option; the parser knows only long ones.
std::vector<std::string> WithLongOutput(std::vector<std::string> words) {
  for (auto& word : words) {
    if (word == "-o") word = "--output";
  }
  return words;
}

// The mixer's messages go to standard error; nothing is ever asked.
class ConsoleOperator final : public Operator {
 public:
  OperatorAnswer Ask(const std::string&, const std::string&, OperatorButtons buttons,
                     OperatorIcon) override {
    return buttons == OperatorButtons::Ok ? OperatorAnswer::Ok : OperatorAnswer::No;
  }
  void Tell(const std::string& title, const std::string& text, OperatorIcon) override {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  }
  std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::vector<std::filesystem::path> ChooseFilesToOpen(const FileDialogRequest&) override {
    return {};
  }
  std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest&) override {
    return std::nullopt;
  }
};

// --loudness and --telephone, which work on decoded samples; a usage error
// when they are refused.
int TakeSampleOptions(const Arguments& a, const std::string& codec, const char* command,
                      ConversionOptions& options) {
  options.telephone = a.Has("--telephone");
  const auto text = a.Value("--loudness");
  if (codec == "copy" && (options.telephone || text)) {
    return UsageError(command,
                      "--loudness and --telephone need a codec: copy keeps the stream as it is");
  }
  if (!text) return 0;
  char* end = nullptr;
  const double lufs = std::strtod(text->c_str(), &end);
  if (end == text->c_str() || *end != '\0' || !(lufs >= -70 && lufs <= 0)) {
    return UsageError(command, "--loudness takes LUFS from -70 to 0, e.g. -16");
  }
  options.loudness = LoudnessTarget{lufs};
  return 0;
}

// The written file's duration, and the gain that normalising applied.
void PrintWritten(const std::string& file, const ConversionResult& result,
                  const ConversionOptions& options) {
  std::printf("%s: %s (%d s)\n", file.c_str(), FormatDurationLabel(result.duration).c_str(),
              result.duration);
  if (options.loudness) std::printf("%s: loudness gain %+.1f dB\n", file.c_str(), result.gainDb);
}

int Convert(const std::string& in, const std::string& out, int rate, const std::string& codec,
            const ConversionOptions& options, bool showProgress) {
  ST_AUDIO_TYPE audio;
  audio.ChannelCount = 1;
  audio.CallCodec.Set(codec);
  audio.SetConversionRate(std::to_string(rate), rate);
  TerminalProgress progress(showProgress, std::filesystem::path(in).filename().string());
  const ConversionResult result =
      AudioConversion(in, out, audio, kConvertingFileCaption, progress, options);
  progress.Clear();
  if (!result.Succeeded()) {
    std::fprintf(stderr, "corvane-cli convert: %s\n", result.reason.c_str());
    return result.result;
  }
  PrintWritten(out, result, options);
  return 0;
}

}  // namespace

int RunConvertCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto a =
      ParseArguments(words, {"--rate", "--codec", "--loudness"}, {"--help", "--quiet", "--telephone"}, error);
  if (!a) return UsageError("convert", error);
  if (a->Has("--help")) {
    std::fputs(kConvertUsage, stdout);
    return 0;
  }
  if (a->positional.size() != 2) return UsageError("convert", "convert takes IN and OUT");
  const auto rate = RateFrom(a->Value("--rate").value_or("22050"));
  if (!rate) return UsageError("convert", "--rate takes a whole number of Hz from 1 to 384000");
  const std::string codec = a->Value("--codec").value_or("libvorbis");
  if (codec.empty() || codec.size() > 19)
    return UsageError("convert", "--codec takes an FFmpeg encoder name");
  ConversionOptions options;
  if (const int refused = TakeSampleOptions(*a, codec, "convert", options)) return refused;
  return Convert(a->positional[0], a->positional[1], *rate, codec, options, ProgressWanted(*a));
}

int RunMixCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto a =
      ParseArguments(WithLongOutput(words),
                     {"--channel", "--rate", "--codec", "--provider-key", "--output", "--loudness"},
                     {"--help", "--quiet", "--telephone"}, error);
  if (!a) return UsageError("mix", error);
  if (a->Has("--help")) {
    std::fputs(kMixUsage, stdout);
    return 0;
  }
  if (a->positional.size() != 1) return UsageError("mix", "mix takes one folder or package");
  const auto out = a->Value("--output");
  if (!out || out->empty()) return UsageError("mix", "mix needs -o OUT");
  const std::string channelText = a->Value("--channel").value_or("1");
  if (channelText != "1" && channelText != "2") return UsageError("mix", "--channel takes 1 or 2");
  const std::string providerKey = a->Value("--provider-key").value_or(kAllZeroKey);
  if (providerKey.size() > 16) return UsageError("mix", "a provider key has at most 16 characters");
  std::optional<int> rate;
  if (const auto text = a->Value("--rate")) {
    rate = RateFrom(*text);
    if (!rate) return UsageError("mix", "--rate takes a whole number of Hz from 1 to 384000");
  }
  const auto codec = a->Value("--codec");
  if (codec && (codec->empty() || codec->size() > 19)) {
    return UsageError("mix", "--codec takes an FFmpeg encoder name");
  }
  ConversionOptions samples;
  if (const int refused = TakeSampleOptions(*a, codec.value_or(""), "mix", samples)) return refused;

  const std::filesystem::path input = a->positional[0];
  const auto systemTemp = std::filesystem::temp_directory_path();
  PrivateFolder work(systemTemp, "corvane-mix");
  PrivateFolder unpacked(systemTemp, "corvane-mix");
  if (!work.Exists() || !unpacked.Exists()) {
    std::fprintf(stderr, "corvane-cli mix: cannot create a working folder\n");
    return kFailed;
  }
  TerminalProgress progress(ProgressWanted(*a), input.filename().string());
  std::filesystem::path media = input;
  AudioSettings settings;
  std::error_code ignored;
  if (!std::filesystem::is_directory(input, ignored)) {
    PackageReadOptions options;
    options.AssignedProviderKey = providerKey;
    options.DeviceKey = PackageKeyFromFileName(input.filename().string()).value_or(0);
    PackageReadResult read;
    const PackageStatus status =
        ReadPackage(input, unpacked.Path(), options, read, progress, TraceLog::Silent());
    progress.Clear();
    if (status != PackageStatus::Ok) {
      std::string text(PackageStatusText(status));
      if (!text.empty() && text.back() == '\n') text.pop_back();
      std::fprintf(stderr, "%s: %s\n", input.c_str(), text.c_str());
      return static_cast<int>(status);
    }
    if (read.Header.HasAudioSettings()) settings = read.Header.Audio;
    media = unpacked.Path();
  }

  SessionFolders folders;
  folders.TempFolder = work.Path().string() + "/";
  SessionState session(folders);
  if (!ReadConfigRecordFile(media / "config.dat", session.ConfigRecord, session.Channel1,
                            session.Channel2, TraceLog::Silent())) {
    std::fprintf(stderr, "corvane-cli mix: %s holds no valid config.dat\n", input.c_str());
    return kFailed;
  }
  ST_AUDIO_TYPE& audio = session.Audio;
  ApplyAudioSettings(audio, settings);
  session.ApplyModel(session.ConfigRecord.FileVersion & 0xFF, false);
  const int outputRate = rate.value_or(settings.OutputRate);
  audio.OutputRateText.Set(std::to_string(outputRate));
  audio.OutputRate = outputRate;
  audio.SetConversionRate(audio.OutputRateText.View(), outputRate);

  ConsoleOperator op;
  FfmpegAudioConverter converter;
  progress.SetItem(out->c_str());
  const MixServices services{op, converter, progress, media, work.Path()};
  std::string mixed;
  const ChannelConfig& channel = channelText == "2" ? session.Channel2 : session.Channel1;
  const bool mixDone = MixProduction(channel, audio, services, mixed);
  progress.Clear();
  if (!mixDone) return kFailed;

  audio.CallCodec.Set(codec.value_or(settings.OutputCodec.Str()));
  const ConversionResult result =
      AudioConversion(mixed, *out, audio, kConvertingFileCaption, progress, samples);
  progress.Clear();
  if (!result.Succeeded()) {
    std::fprintf(stderr, "corvane-cli mix: %s\n", result.reason.c_str());
    return result.result;
  }
  PrintWritten(*out, result, samples);
  return 0;
}

int RunLoudnessCommand(const std::vector<std::string>& words) {
  std::string error;
  const auto a = ParseArguments(words, {}, {"--help", "--json"}, error);
  if (!a) return UsageError("loudness", error);
  if (a->Has("--help")) {
    std::fputs(kLoudnessUsage, stdout);
    return 0;
  }
  if (a->positional.empty()) return UsageError("loudness", "loudness takes one or more files");
  Report report;
  Report& files = report.Add("files", Report::List());
  int exitCode = 0;
  for (const std::string& file : a->positional) {
    const LoudnessFigures figures = MeasureLoudness(file);
    if (!figures.measured) {
      std::fprintf(stderr, "%s: %s\n", file.c_str(), figures.error.c_str());
      exitCode = kFailed;
      continue;
    }
    Report& measured = files.Append(Report());
    measured.Add("file", file);
    measured.Add("integratedLufs", figures.integratedLufs);
    measured.Add("rangeLu", figures.rangeLu);
    measured.Add("truePeakDbtp", figures.truePeakDbtp);
  }
  const std::string out = a->Has("--json") ? report.Json() : report.Text();
  std::fwrite(out.data(), 1, out.size(), stdout);
  return exitCode;
}

}  // namespace corvane::cli
