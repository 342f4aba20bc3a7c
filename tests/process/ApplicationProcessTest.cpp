// Starts the real corvane executable against a private data folder. The
// screens draw offscreen, so the program runs without a display until the
// test ends it the way the system would, with a signal.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "process/ChildProcess.h"
#include "session/InstanceLock.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

using namespace std::chrono_literals;

void Touch(const std::filesystem::path& path) {
  const std::uint8_t byte = 1;
  WriteWholeFile(path, std::span(&byte, 1));
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

// Whether the child has not ended yet; one that ended stays unreaped for RunChild.
bool StillRunning(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

// One run from start to end: the start-up after a crash, a second start while
// it runs, and the system ending it. (Each signal the system may send is
// checked in process by the screen tests.)
TEST(ApplicationProcess, StartsCleanKeepsASecondStartOutAndEndsCleanOnTheSystemsSignal) {
  TempFolder xdg;  // no folder given: the user's data folder is used
  const auto data = xdg.Path() / "Melloway";
  const auto temp = data / "temp";
  std::filesystem::create_directories(temp);
  Touch(temp / "left.ogg");
  Touch(data / "corvane.lock");  // as a crashed run leaves it

  const ChildResult first = RunChild(
      CORVANE_EXE, {},
      {{"CORVANE_DATA_DIR", ""},
       {"XDG_DATA_HOME", xdg.Path().string()},
       {"QT_QPA_PLATFORM", "offscreen"}},
      30s, [&](pid_t app) {
        // Emptied while the program is still running: by its start, not its end.
        ASSERT_TRUE(WaitUntil([&] { return LockHeldElsewhere(data) && NamesIn(temp).empty(); }));

        // Whatever lies there now is the running session's work, which a
        // second start must neither touch nor report on.
        Touch(temp / "work.ogg");
        const ChildResult second =
            RunChild(CORVANE_EXE, {}, {{"CORVANE_DATA_DIR", data.string()}}, 5s);
        ASSERT_TRUE(second.exitCode.has_value()) << "the second start did not end by itself";
        EXPECT_EQ(*second.exitCode, 0);
        EXPECT_EQ(second.out, "");
        EXPECT_EQ(second.err, "");
        EXPECT_TRUE(StillRunning(app));
        EXPECT_TRUE(std::filesystem::exists(temp / "work.ogg"));
        ::kill(app, SIGTERM);
      });
  EXPECT_EQ(first.exitCode, std::optional(0)) << first.out << first.err;
  EXPECT_TRUE(NamesIn(temp).empty());
  EXPECT_FALSE(LockHeldElsewhere(data));
}

// The words a desktop or a shell may start it with: asked for help or the
// version it answers at once, touching no data folder; anything but one
// package is refused.
TEST(ApplicationProcess, AnswersHelpAndVersionAtOnceAndRefusesOtherWords) {
  TempFolder data;
  const struct {
    std::vector<std::string> words;
    int exitCode;
    std::string out;
    std::string err;
  } cases[] = {
      {{"--version"}, 0, "corvane " CORVANE_VERSION_TEXT "\n", ""},
      {{"--help"}, 0, "Usage: corvane [FILE.ipc]", ""},
      {{"a.ipc", "b.ipc"}, 64, "", "Usage: corvane [FILE.ipc]"},
      {{"--verbose"}, 64, "", "Usage: corvane [FILE.ipc]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.front());
    const ChildResult run =
        RunChild(CORVANE_EXE, c.words, {{"CORVANE_DATA_DIR", (data / "d").string()}}, 10s);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out.substr(0, c.out.size()), c.out);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    if (c.exitCode == 0) {
      EXPECT_FALSE(std::filesystem::exists(data / "d"));
    }
  }
}

}  // namespace
}  // namespace corvane::test
