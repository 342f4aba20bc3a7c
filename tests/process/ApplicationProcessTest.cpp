// Starts the real corvane executable against a private data folder.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "process/ChildProcess.h"
#include "session/InstanceLock.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

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
  InstanceLock probe;
  EXPECT_EQ(probe.Acquire(data.Path()), InstanceLock::Result::HeldElsewhere);
}

TEST(ApplicationProcess, StartAfterACrashEmptiesTheTemporaryFolder) {
  TempFolder data;
  const auto temp = data.Path() / "temp";
  std::filesystem::create_directories(temp / "keep");
  Touch(temp / "left.ogg");
  Touch(temp / "output.wav");
  Touch(temp / "keep" / "inner.ogg");
  LockHolder crashed(data.Path());
  crashed.Crash();

  const ChildResult run = RunChild(CORVANE_EXE, {}, {{"CORVANE_DATA_DIR", data.Path().string()}});

  ASSERT_TRUE(run.exitCode.has_value());
  EXPECT_EQ(*run.exitCode, 0);
  EXPECT_TRUE(FilesIn(temp).empty());
  // Only files directly inside are working files; folders are left alone.
  EXPECT_TRUE(std::filesystem::exists(temp / "keep" / "inner.ogg"));
  // The run released its lock when it ended.
  InstanceLock after;
  EXPECT_EQ(after.Acquire(data.Path()), InstanceLock::Result::Acquired);
}

TEST(ApplicationProcess, UsesTheUserDataFolderWhenNoFolderIsGiven) {
  TempFolder xdg;
  const ChildResult run =
      RunChild(CORVANE_EXE, {}, {{"CORVANE_DATA_DIR", ""}, {"XDG_DATA_HOME", xdg.Path().string()}});

  ASSERT_TRUE(run.exitCode.has_value());
  EXPECT_EQ(*run.exitCode, 0);
  EXPECT_TRUE(std::filesystem::is_directory(xdg.Path() / "Melloway" / "temp"));
}

}  // namespace
}  // namespace corvane::test
