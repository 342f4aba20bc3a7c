// corvane-cli: the service provider's command line.
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: corvane-cli [--help] [--version]\n"
    "\n"
    "Prepares and inspects Music On Hold content for Tonvex players.\n"
    "\n"
    "Options:\n"
    "  --help      show this text and exit\n"
    "  --version   show the program version and exit\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "--version") {
    std::printf("corvane-cli %s\n", CORVANE_VERSION);
    return 0;
  }
  std::fprintf(stderr, "corvane-cli: unknown command '%s'\n\n%s", argv[1], kUsage);
  return 2;
}
