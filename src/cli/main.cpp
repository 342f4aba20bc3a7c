// corvane-cli: the service provider's command line.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "AudioCommands.h"
#include "PackageCommands.h"

namespace {

constexpr int kUsageError = 64;

constexpr const char* kUsage =
    "Usage: corvane-cli COMMAND ...\n"
    "\n"
    "Prepares and inspects Music On Hold content for Tonvex players.\n"
    "\n"
    "Commands:\n"
    "  package inspect|verify|unpack|relock ...   work with media packages (.ipc)\n"
    "  convert IN OUT [--rate HZ] [--codec NAME]  convert one audio file as Corvane does\n"
    "  mix DIR-or-PACKAGE -o OUT [...]            render a channel's production\n"
    "  loudness FILE... [--json]                  measure loudness (LUFS), range and true peak\n"
    "\n"
    "Options:\n"
    "  --help      show this text and exit\n"
    "  --version   show the program version and exit\n"
    "\n"
    "Run 'corvane-cli COMMAND --help' for the options of a command.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  const std::string_view command = words[0];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("corvane-cli %s\n", CORVANE_VERSION);
    return 0;
  }
  if (command == "convert") return corvane::cli::RunConvertCommand({words.begin() + 1, words.end()});
  if (command == "mix") return corvane::cli::RunMixCommand({words.begin() + 1, words.end()});
  if (command == "loudness") {
    return corvane::cli::RunLoudnessCommand({words.begin() + 1, words.end()});
  }
  if (command == "package") {
    return corvane::cli::RunPackageCommand({words.begin() + 1, words.end()});
  }
  std::fprintf(stderr, "corvane-cli: unknown command '%s'\n\n%s", words[0].c_str(), kUsage);
  return kUsageError;
}
