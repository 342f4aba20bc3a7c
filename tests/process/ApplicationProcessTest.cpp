// Starts the real corvane executable against a private data folder. The
// screens draw offscreen, so the program runs without a display until the
// test ends it the way the system would, with a signal.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
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

// Holds the instance lock in a child process that can be made to crash.
class LockHolder {
 public:
  explicit LockHolder(const std::filesystem::path& folder) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      InstanceLock lock;
      const char answer = lock.Acquire(folder) == InstanceLock::Result::Acquired ? 'y' : 'n';
      (void)!::write(ready[1], &answer, 1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    EXPECT_EQ(::read(ready[0], &answer, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(answer, 'y');
  }
  void Crash() {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
};

// The application running in the background, its output kept in a file.
class RunningApplication {
 public:
  explicit RunningApplication(std::map<std::string, std::string> environment) {
    environment.emplace("QT_QPA_PLATFORM", "offscreen");
    const std::string log = log_.Path() / "output.txt";
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
  RunningApplication(const RunningApplication&) = delete;
  RunningApplication& operator=(const RunningApplication&) = delete;
  ~RunningApplication() {
    if (!ended_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  void Signal(int signalNumber) const { ::kill(pid_, signalNumber); }

  bool StillRunning() {
    if (ended_) return false;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) Record(status);
    return !ended_;
  }

  // The exit code, or none when it was killed or did not end in time.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit = 10s) {
    WaitUntil([this] { return !StillRunning(); }, limit);
    return exitCode_;
  }

  std::string Output() const {
    std::ifstream in(log_.Path() / "output.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  void Record(int status) {
    ended_ = true;
    if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  }

  TempFolder log_;
  pid_t pid_ = -1;
  bool ended_ = false;
  std::optional<int> exitCode_;
};

TEST(ApplicationProcess, SecondInstanceEndsSilentlyAndLeavesTheFirstAlone) {
  TempFolder data;
  const auto temp = data.Path() / "temp";
  std::filesystem::create_directories(temp);
  Touch(temp / "work.ogg");
  InstanceLock first;
  ASSERT_EQ(first.Acquire(data.Path()), InstanceLock::Result::Acquired);

  const ChildResult second = RunChild(CORVANE_EXE, {}, {{"CORVANE_DATA_DIR", data.Path().string()}},
                                      std::chrono::seconds(5));

  ASSERT_TRUE(second.exitCode.has_value()) << "the second instance did not end by itself";
  EXPECT_EQ(*second.exitCode, 0);
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(second.err, "");
  // The first instance's working files and lock are untouched.
  EXPECT_TRUE(std::filesystem::exists(temp / "work.ogg"));
  EXPECT_TRUE(LockHeldElsewhere(data.Path()));
}

TEST(ApplicationProcess, StartAfterACrashEmptiesTheTemporaryFolder) {
  TempFolder data;
  const auto temp = data.Path() / "temp";
  std::filesystem::create_directories(temp / "keep");
  Touch(temp / "left.ogg");
  Touch(temp / "output.wav");
  Touch(temp / "keep" / "inner.ogg");
  // An open killed half way through its unpacking.
  std::filesystem::create_directories(temp / ".unpacking-Q1w2E3");
  Touch(temp / ".unpacking-Q1w2E3" / "song.ogg");
  LockHolder crashed(data.Path());
  crashed.Crash();

  RunningApplication app({{"CORVANE_DATA_DIR", data.Path().string()}});

  // Emptied while the program is still running: by its start, not its end.
  ASSERT_TRUE(WaitUntil([&] { return LockHeldElsewhere(data.Path()) && FilesIn(temp).empty(); }))
      << app.Output();
  EXPECT_TRUE(app.StillRunning()) << app.Output();
  // Only files directly inside are working files, and the program's own
  // unpacking folders; other folders are left alone.
  EXPECT_TRUE(std::filesystem::exists(temp / "keep" / "inner.ogg"));
  EXPECT_FALSE(std::filesystem::exists(temp / ".unpacking-Q1w2E3"));

  app.Signal(SIGTERM);
  EXPECT_EQ(app.WaitForExit(), std::optional(0)) << app.Output();
  // The run released its lock when it ended.
  EXPECT_FALSE(LockHeldElsewhere(data.Path()));
}

TEST(ApplicationProcess, ASecondStartWhileTheFirstRunsEndsAtOnceAndSilently) {
  TempFolder data;
  RunningApplication first({{"CORVANE_DATA_DIR", data.Path().string()}});
  ASSERT_TRUE(WaitUntil([&] { return LockHeldElsewhere(data.Path()); })) << first.Output();
  Touch(data.Path() / "temp" / "work.ogg");

  const ChildResult second =
      RunChild(CORVANE_EXE, {}, {{"CORVANE_DATA_DIR", data.Path().string()}}, 5s);

  ASSERT_TRUE(second.exitCode.has_value()) << "the second start did not end by itself";
  EXPECT_EQ(*second.exitCode, 0);
  EXPECT_EQ(second.out, "");
  EXPECT_EQ(second.err, "");
  EXPECT_TRUE(first.StillRunning());
  EXPECT_TRUE(std::filesystem::exists(data.Path() / "temp" / "work.ogg"));
  first.Signal(SIGTERM);
  EXPECT_EQ(first.WaitForExit(), std::optional(0)) << first.Output();
}

class ApplicationEndedBySystem : public ::testing::TestWithParam<int> {};

TEST_P(ApplicationEndedBySystem, EmptiesTheTemporaryFolderAndExitsZero) {
  TempFolder data;
  const auto temp = data.Path() / "temp";
  std::filesystem::create_directories(temp / "keep");
  Touch(temp / "left.ogg");
  RunningApplication app({{"CORVANE_DATA_DIR", data.Path().string()}});
  // Once the start-up has emptied the folder, whatever lies there is the
  // running session's work.
  ASSERT_TRUE(WaitUntil([&] { return !std::filesystem::exists(temp / "left.ogg"); }))
      << app.Output();
  Touch(temp / "work.ogg");
  Touch(temp / "output.wav");

  app.Signal(GetParam());

  EXPECT_EQ(app.WaitForExit(), std::optional(0)) << app.Output();
  EXPECT_TRUE(FilesIn(temp).empty());
  EXPECT_TRUE(std::filesystem::is_directory(temp / "keep"));
  EXPECT_FALSE(LockHeldElsewhere(data.Path()));
}

INSTANTIATE_TEST_SUITE_P(Signals, ApplicationEndedBySystem, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& signal) {
                           switch (signal.param) {
                             case SIGTERM: return std::string("Terminate");
                             case SIGINT: return std::string("Interrupt");
                             default: return std::string("HangUp");
                           }
                         });

TEST(ApplicationProcess, UsesTheUserDataFolderWhenNoFolderIsGiven) {
  TempFolder xdg;
  const auto folder = xdg.Path() / "Melloway";
  RunningApplication app({{"CORVANE_DATA_DIR", ""}, {"XDG_DATA_HOME", xdg.Path().string()}});

  ASSERT_TRUE(WaitUntil([&] { return LockHeldElsewhere(folder); })) << app.Output();
  EXPECT_TRUE(std::filesystem::is_directory(folder / "temp"));
  app.Signal(SIGTERM);
  EXPECT_EQ(app.WaitForExit(), std::optional(0)) << app.Output();
}

}  // namespace
}  // namespace corvane::test
