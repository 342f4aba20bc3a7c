#include "sound/PrivateSoundServer.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace corvane::test {
namespace {

std::string Script(const std::filesystem::path& socket, double toneHz) {
  const std::string tone = std::to_string(static_cast<int>(toneHz));
  return "load-module module-null-sink sink_name=corvane_sink\n"
         "load-module module-sine-source source_name=corvane_tone rate=44100 frequency=" + tone +
         " source_properties=device.description=\"Corvane\\ test\\ tone\"\n"
         // Monitors are not listed as inputs: a plain source over it is.
         "load-module module-remap-source master=corvane_sink.monitor source_name=corvane_listen"
         " source_properties=device.description=\"Corvane\\ test\\ speaker\"\n"
         "set-default-sink corvane_sink\n"
         "set-default-source corvane_tone\n"
         // Last, so the socket appears once every device is there.
         "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket.string() + "\n";
}

}  // namespace

PrivateSoundServer::PrivateSoundServer() {
  char pattern[] = "/tmp/corvane-sound-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    failure_ = "no folder for the sound server";
    return;
  }
  folder_ = pattern;
  const auto socket = folder_ / "native";
  std::ofstream(folder_ / "server.pa") << Script(socket, kToneHz);

  const std::string runtime = folder_.string();
  server_ = ::fork();
  if (server_ == 0) {
    // Everything the server keeps stays in its own folder.
    ::setenv("HOME", runtime.c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", runtime.c_str(), 1);
    ::setenv("PULSE_RUNTIME_PATH", (runtime + "/runtime").c_str(), 1);
    const std::string script = (folder_ / "server.pa").string();
    const std::string log = "--log-target=file:" + (folder_ / "server.log").string();
    ::execlp("pulseaudio", "pulseaudio", "-n", "-F", script.c_str(), "--daemonize=no",
             "--exit-idle-time=-1", "--use-pid-file=no", "--system=no", log.c_str(),
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  if (server_ < 0) {
    failure_ = "could not start pulseaudio";
    return;
  }
  for (int wait = 0; wait < 100; ++wait) {
    int status = 0;
    if (::waitpid(server_, &status, WNOHANG) == server_) {
      server_ = -1;
      std::ifstream log(folder_ / "server.log");
      const std::string said((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
      failure_ = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "pulseaudio is not installed"
                                                                 : "pulseaudio ended at start:\n" + said;
      return;
    }
    if (std::filesystem::exists(socket)) {
      ::setenv("PULSE_SERVER", ("unix:" + socket.string()).c_str(), 1);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  failure_ = "pulseaudio did not open its socket within 10 seconds";
}

PrivateSoundServer::~PrivateSoundServer() {
  if (server_ > 0) {
    ::kill(server_, SIGTERM);
    ::waitpid(server_, nullptr, 0);
  }
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

}  // namespace corvane::test
