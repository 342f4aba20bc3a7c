// Runs the real corvane-cli executable.
#include <gtest/gtest.h>

#include "process/ChildProcess.h"

namespace corvane::test {
namespace {

TEST(CliProcess, VersionAndHelpGoToStandardOutput) {
  const ChildResult version = RunChild(CORVANE_CLI_EXE, {"--version"}, {});
  ASSERT_TRUE(version.exitCode.has_value());
  EXPECT_EQ(*version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("corvane-cli ") + CORVANE_VERSION_TEXT + "\n");

  const ChildResult help = RunChild(CORVANE_CLI_EXE, {"--help"}, {});
  ASSERT_TRUE(help.exitCode.has_value());
  EXPECT_EQ(*help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: corvane-cli"), std::string::npos);
  EXPECT_EQ(help.err, "");
}

TEST(CliProcess, UnknownCommandIsAnErrorOnStandardError) {
  const ChildResult run = RunChild(CORVANE_CLI_EXE, {"frobnicate"}, {});
  ASSERT_TRUE(run.exitCode.has_value());
  EXPECT_EQ(*run.exitCode, 64);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("unknown command 'frobnicate'"), std::string::npos);

  const ChildResult bare = RunChild(CORVANE_CLI_EXE, {}, {});
  ASSERT_TRUE(bare.exitCode.has_value());
  EXPECT_EQ(*bare.exitCode, 64);
}

}  // namespace
}  // namespace corvane::test
