// Starts the real corvane executable against a private data folder. The
// screens draw offscreen, so the program runs without a display until the
// test ends it the way the system would, with a signal.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include "process/ChildProcess.h"
#include "session/InstanceLock.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

using namespace std::chrono_literals;

void Touch(const std::filesystem::path& path) {
  const std::uint8_t byte = 1;
  WriteWholeFile(path, std::span(&byte, 1));
}

std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

bool LockHeldElsewhere(const std::filesystem::path& folder) {
  InstanceLock probe;
  return probe.Acquire(folder) == InstanceLock::Result::HeldElsewhere;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 10s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return condition();
}

// The application running in the background, its output kept in a file.
class RunningApplication {
 public:
  explicit RunningApplication(std::map<std::string, std::string> environment) {
    environment.emplace("QT_QPA_PLATFORM", "offscreen");
    const std::string log = Log();
    pid_ = ::fork();
    if (pid_ == 0) {
      for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
      const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(out, 1);
      ::dup2(out, 2);
      ::execl(CORVANE_EXE, CORVANE_EXE, static_cast<char*>(nullptr));
      ::_exit(127);
    }
  }
  ~RunningApplication() {
    if (!StillRunning()) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }

  void Signal(int signalNumber) const { ::kill(pid_, signalNumber); }
  bool StillRunning() {
    int status = 0;
    if (!exit_ && ::waitpid(pid_, &status, WNOHANG) == pid_) {
      exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return !exit_;
  }
  // The exit code; -1 when it was killed, none when it did not end in time.
  std::optional<int> WaitForExit() {
    WaitUntil([this] { return !StillRunning(); });
    return exit_;
  }
  std::string Output() const {
    const auto bytes = ReadWholeFile(Log());
    return {bytes.begin(), bytes.end()};
  }

 private:
  std::filesystem::path Log() const { return log_.Path() / "output.txt"; }

  TempFolder log_;
  pid_t pid_ = -1;
  std::optional<int> exit_;
};

// One run from start to end: the start-up after a crash, a second start while
// it runs, and the system ending it. (Each signal the system may send is
// checked in process by the screen tests.)
TEST(ApplicationProcess, StartsCleanKeepsASecondStartOutAndEndsCleanOnTheSystemsSignal) {
  TempFolder xdg;  // no folder given: the user's data folder is used
  const auto data = xdg.Path() / "Melloway";
  const auto temp = data / "temp";
  std::filesystem::create_directories(temp / "keep");
  Touch(temp / "left.ogg");
  Touch(temp / "keep" / "inner.ogg");
  // An open killed half way through its unpacking.
  std::filesystem::create_directories(temp / ".unpacking-Q1w2E3");
  Touch(temp / ".unpacking-Q1w2E3" / "song.ogg");
  Touch(data / "corvane.lock");  // as a crashed run leaves it

  RunningApplication app({{"CORVANE_DATA_DIR", ""}, {"XDG_DATA_HOME", xdg.Path().string()}});
  // Emptied while the program is still running: by its start, not its end.
  ASSERT_TRUE(WaitUntil([&] { return LockHeldElsewhere(data) && FilesIn(temp).empty(); }))
      << app.Output();
  EXPECT_TRUE(app.StillRunning()) << app.Output();
  // Only files directly inside are working files, and the program's own
  // unpacking folders; other folders are left alone.
  EXPECT_TRUE(std::filesystem::exists(temp / "keep" / "inner.ogg"));
  EXPECT_FALSE(std::filesystem::exists(temp / ".unpacking-Q1w2E3"));

  // Whatever lies there now is the running session's work, which a second
  // start must neither touch nor report on.
  Touch(temp / "work.ogg");
  const ChildResult second = RunChild(CORVANE_EXE, {}, {{"CORVANE_DATA_DIR", data.string()}}, 5s);
  ASSERT_TRUE(second.exitCode.has_value()) << "the second start did not end by itself";
  EXPECT_EQ(*second.exitCode, 0);
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(second.err, "");
  EXPECT_TRUE(app.StillRunning());
  EXPECT_TRUE(std::filesystem::exists(temp / "work.ogg"));

  app.Signal(SIGTERM);
  EXPECT_EQ(app.WaitForExit(), std::optional(0)) << app.Output();
  EXPECT_TRUE(FilesIn(temp).empty());
  EXPECT_TRUE(std::filesystem::is_directory(temp / "keep"));
  EXPECT_FALSE(LockHeldElsewhere(data));
}

}  // namespace
}  // namespace corvane::test
