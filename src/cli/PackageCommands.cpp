#include "PackageCommands.h"


#include <unordered_set>
#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <system_error>
#include <unordered_set>

#include "Arguments.h"
#include "DeviceList.h"
#include "TerminalProgress.h"
#include "common/PrivateFolder.h"
#include "common/Progress.h"
#include "package/ConfigRecordFile.h"
#include "package/KeyText.h"
#include "package/MediaPackage.h"
#include "package/PackageCipher.h"
#include "PackageReport.h"
#include "project/ProjectFiles.h"

namespace corvane::cli {
namespace {

constexpr int kUsageError = 64;

constexpr const char* kPackageUsage =
    "Usage: corvane-cli package COMMAND ...\n"
    "\n"
    "Commands:\n"
    "  inspect FILE.ipc [--json] [--provider-key KEY]\n"
    "      show the header, the members and the configuration record\n"
    "  verify FILE.ipc [--provider-key KEY] [--device-id ID]\n"
    "      run every check without writing; the exit code is the status code\n"
    "  unpack FILE.ipc DIR [--provider-key KEY]\n"
    "      verify and unpack the members into DIR, as opening in Corvane does;\n"
    "      DIR must be new or empty (a folder holding anything is refused)\n"
    "  relock FILE.ipc --device-id ID [--provider-key KEY] [--open-key KEY] [--unlock] [--out DIR]\n"
    "      write the same content as a package for another device (and provider key)\n"
    "  relock FILE.ipc --device-ids LIST [--device-id ID ...] [other relock options]\n"
    "      one package per device: LIST is a file with one device ID a line (\"#\"\n"
    "      starts a comment), and --device-id may be repeated; the source is read\n"
    "      once. A line that is not a device ID is reported with its number and\n"
    "      the others go on; the exit code is 0 only when every package was written\n"
    "      (65 when only refused lines stood in the way)\n"
    "\n"
    "KEY is a provider key (at most 16 characters); ID a device ID of up to 16\n"
    "hexadecimal digits. The device a package is for is read from its file name.\n"
    "unpack and relock show a progress bar where stderr is a terminal; --quiet\n"
    "turns it off.\n"
    "Run 'corvane-cli package COMMAND --help' for one command.\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "corvane-cli package: %s\n(see 'corvane-cli package --help')\n", message.c_str());
  return kUsageError;
}

bool ProviderKeyFits(const std::optional<std::string>& key) { return !key || key->size() <= 16; }

std::uint64_t KeyFromFileName(const std::string& path) {
  return PackageKeyFromFileName(std::filesystem::path(path).filename().string()).value_or(0);
}

int Failed(const std::string& file, PackageStatus status) {
  std::string text(PackageStatusText(status));
  if (!text.empty() && text.back() == '\n') text.pop_back();
  std::fprintf(stderr, "%s: %s\n", file.c_str(), text.c_str());
  return static_cast<int>(status);
}

int Inspect(const Arguments& a) {
  if (a.positional.size() != 1) return UsageError("inspect takes one package file");
  const std::string& file = a.positional[0];
  PackageReadOptions options;
  options.AssignedProviderKey = a.Value("--provider-key").value_or(kAllZeroKey);
  options.DeviceKey = KeyFromFileName(file);
  options.VerifyOnly = true;
  options.ExtractMember = "config.dat";
  PackageReadResult result;
  NoProgress progress;
  const PackageStatus status = ReadPackage(file, {}, options, result, progress, TraceLog::Silent());

  Report report;
  report.Add("file", file);
  report.Add("status", std::int64_t{static_cast<int>(status)});
  std::string text(PackageStatusText(status));
  if (!text.empty()) text.pop_back();
  report.Add("statusText", status == PackageStatus::Ok ? std::string("valid") : text);
  if (result.HeaderRead) report.Add("header", HeaderReport(result.Header, result.HasProviderKey));
  Report& members = report.Add("members", Report::List());
  for (const auto& member : result.Members) {
    Report& m = members.Append(Report());
    m.Add("name", member.Name);
    m.Add("length", std::int64_t{member.Length});
  }
  if (result.HasExtracted) {
    DeviceConfigRecord record;
    ChannelConfig channel1;
    ChannelConfig channel2;
    const bool valid = ReadConfigRecord(result.Extracted, "config.dat", record, channel1, channel2,
                                        TraceLog::Silent());
    report.Add("configValid", valid);
    if (valid) report.Add("config", ConfigRecordReport(record, channel1, channel2));
  }
  const std::string out = a.Has("--json") ? report.Json() : report.Text();
  std::fwrite(out.data(), 1, out.size(), stdout);
  return static_cast<int>(status);
}

int Verify(const Arguments& a) {
  if (a.positional.size() != 1) return UsageError("verify takes one package file");
  const std::string& file = a.positional[0];
  PackageReadOptions options;
  options.AssignedProviderKey = a.Value("--provider-key").value_or(kAllZeroKey);
  options.DeviceKey = KeyFromFileName(file);
  if (const auto id = a.Value("--device-id")) {
    const auto text = DeviceIdFromText(*id);
    if (!text) return UsageError("--device-id takes 1 to 16 hexadecimal digits");
    options.DeviceKey = HexKeyFromText(*text);
  }
  options.VerifyOnly = true;
  PackageReadResult result;
  NoProgress progress;
  const PackageStatus status = ReadPackage(file, {}, options, result, progress, TraceLog::Silent());
  if (status != PackageStatus::Ok) return Failed(file, status);
  std::printf("%s: valid, %zu members\n", file.c_str(), result.Members.size());
  return 0;
}

int Unpack(const Arguments& a) {
  if (a.positional.size() != 2) return UsageError("unpack takes a package file and a folder");
  const std::string& file = a.positional[0];
  const std::filesystem::path destination = a.positional[1];
  // Unpacking replaces the files of its folder, as opening in Corvane empties
  // the working folder; a folder of the user's must never lose a file to it.
  std::error_code error;
  const bool existed = std::filesystem::exists(destination, error);
  if (existed && !std::filesystem::is_directory(destination, error)) {
    return UsageError(destination.string() + " is not a folder");
  }
  if (existed && !std::filesystem::is_empty(destination, error)) {
    return UsageError(destination.string() +
                      " is not empty: unpack into a new or empty folder, nothing was changed");
  }
  if (error) return UsageError("cannot look into " + destination.string() + ": " + error.message());
  PackageReadOptions options;
  options.AssignedProviderKey = a.Value("--provider-key").value_or(kAllZeroKey);
  options.DeviceKey = KeyFromFileName(file);
  PackageReadResult result;
  PackageStatus status = PackageStatus::Ok;
  {
    TerminalProgress progress(ProgressWanted(a), std::filesystem::path(file).filename().string());
    status = ReadPackage(file, destination, options, result, progress, TraceLog::Silent());
  }
  if (status != PackageStatus::Ok) {
    // A folder this command made goes again; removing fails harmlessly when
    // anything is in it.
    if (!existed) std::filesystem::remove(destination, error);
    return Failed(file, status);
  }
  std::printf("Unpacked %zu members into %s\n", result.Members.size(), a.positional[1].c_str());
  return 0;
}

// When the build or the caller fixes the time (SOURCE_DATE_EPOCH, the
// reproducible-output convention), packages written at different moments
// are byte for byte the same; otherwise they carry the local time.
LocalDateTime CreationTime() {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  char* end = nullptr;
  const long long seconds = epoch != nullptr ? std::strtoll(epoch, &end, 10) : -1;
  std::tm parts{};
  const auto time = static_cast<std::time_t>(seconds);
  if (epoch == nullptr || end == epoch || *end != '\0' || seconds < 0 || !::gmtime_r(&time, &parts)) {
    return SystemClock().Now();
  }
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

constexpr int kRefusedLines = 65;

int Relock(const Arguments& a) {
  if (a.positional.size() != 1) return UsageError("relock takes one package file");
  std::vector<std::string> devices;
  std::unordered_set<std::string> listed;
  const auto addDevice = [&](const std::string& id) {
    if (listed.insert(id).second) devices.push_back(id);
  };
  std::vector<std::string> refused;
  for (const std::string& text : a.Values("--device-id")) {
    const auto id = DeviceIdFromText(text);
    if (!id) return UsageError("--device-id takes 1 to 16 hexadecimal digits");
    addDevice(*id);
  }
  if (const auto listFile = a.Value("--device-ids")) {
    const auto list = ReadDeviceList(*listFile);
    if (!list) return UsageError("cannot read the device list " + *listFile);
    for (const std::string& id : list->ids) addDevice(id);
    refused = list->problems;
  }
  if (devices.empty() && refused.empty()) return UsageError("relock needs --device-id ID or --device-ids LIST");
  const std::string providerKey = a.Value("--provider-key").value_or(kAllZeroKey);
  if (providerKey != kAllZeroKey && listed.contains(kAllZeroKey)) {
    return UsageError("a provider key needs a device ID other than 0000000000000000");
  }
  for (const std::string& problem : refused) std::fprintf(stderr, "%s\n", problem.c_str());
  const std::string& file = a.positional[0];

  // The source is read, checked and deciphered once, whatever the number of devices.
  PrivateFolder staging(std::filesystem::temp_directory_path(), "corvane-cli");
  if (!staging.Exists()) return Failed(file, PackageStatus::ErrorAccessingFile);
  PackageReadOptions options;
  options.AssignedProviderKey = a.Value("--open-key").value_or(providerKey);
  options.DeviceKey = KeyFromFileName(file);
  PackageReadResult read;
  TerminalProgress progress(ProgressWanted(a), std::filesystem::path(file).filename().string());
  PackageStatus status = ReadPackage(file, staging.Path(), options, read, progress, TraceLog::Silent());
  progress.Clear();
  if (status != PackageStatus::Ok) return Failed(file, status);

  PackageContents contents;
  contents.ProviderKey = providerKey;
  contents.Unlock = a.Has("--unlock");
  contents.Model = read.Header.Model;
  contents.Audio = read.Header.HasAudioSettings() ? read.Header.Audio : AudioSettings{};
  contents.Created = CreationTime();
  for (const auto& member : read.Members) {
    const auto path = staging.Path() / member.Name;
    if (std::find(contents.Members.begin(), contents.Members.end(), path) == contents.Members.end()) {
      contents.Members.push_back(path);
    }
  }
  const std::filesystem::path folder =
      a.Value("--out").value_or(std::filesystem::path(file).parent_path().string());
  int exitCode = refused.empty() ? 0 : kRefusedLines;
  // Each write enciphers on every core; one device at a time keeps them busy.
  for (const std::string& deviceId : devices) {
    contents.DeviceId = deviceId;
    const std::string name =
        PackageFileName(std::filesystem::path(file).filename().string(), read.Header.Model,
                        contents.Created, providerKey, contents.Unlock, deviceId);
    const auto target = (folder.empty() ? std::filesystem::path(".") : folder) / name;
    progress.SetItem(name);
    status = WritePackage(target, contents, progress);
    progress.Clear();
    if (status != PackageStatus::Ok) {
      exitCode = Failed(target.string(), status);
      continue;
    }
    std::printf("%s\n", target.c_str());
  }
  return exitCode;
}

struct Command {
  const char* name;
  int (*run)(const Arguments&);
  std::set<std::string> values;
  std::set<std::string> flags;
};

}  // namespace

int RunPackageCommand(const std::vector<std::string>& words) {
  static const std::vector<Command> commands = {
      {"inspect", Inspect, {"--provider-key"}, {"--json", "--help"}},
      {"verify", Verify, {"--provider-key", "--device-id"}, {"--help"}},
      {"unpack", Unpack, {"--provider-key"}, {"--help", "--quiet"}},
      {"relock", Relock, {"--device-id", "--device-ids", "--provider-key", "--open-key", "--out"},
       {"--unlock", "--help", "--quiet"}},
  };
  if (words.empty()) return UsageError("a command is needed");
  if (words[0] == "--help" || words[0] == "-h") {
    std::fputs(kPackageUsage, stdout);
    return 0;
  }
  for (const Command& command : commands) {
    if (words[0] != command.name) continue;
    std::string error;
    const auto arguments = ParseArguments({words.begin() + 1, words.end()}, command.values,
                                          command.flags, error);
    if (!arguments) return UsageError(error);
    if (arguments->Has("--help")) {
      std::fputs(kPackageUsage, stdout);
      return 0;
    }
    if (!ProviderKeyFits(arguments->Value("--provider-key")) ||
        !ProviderKeyFits(arguments->Value("--open-key"))) {
      return UsageError("a provider key has at most 16 characters");
    }
    return command.run(*arguments);
  }
  return UsageError("unknown command '" + words[0] + "'");
}

}  // namespace corvane::cli
