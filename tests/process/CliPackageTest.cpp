// Runs "corvane-cli package ..." against packages the library writes.
#include <gtest/gtest.h>

#include "channel/ChannelConfig.h"
#include "common/Progress.h"
#include "package/ConfigRecordFile.h"
#include "package/MediaPackage.h"
#include "process/ChildProcess.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

constexpr const char* kDevice = "00000000000012AB";

class CliPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ChannelConfig one = FreshChannel();
    one.Music.entries = {"00:00:03 | song.ogg"};
    ChannelConfig two;
    DeviceConfigRecord record;
    record.FileVersion = 1;
    record.time_zone.Set("Europe/Paris");
    ASSERT_TRUE(WriteConfigRecordFile(folder / "config.dat", record, one, two));
    WriteWholeFile(folder / "song.ogg", std::vector<std::uint8_t>(3000, 0x33));
    package =
        Write("Lobby_SU_20240315_" + std::string(kDevice) + ".ipc", kDevice, "0000000000000000");
  }

  std::filesystem::path Write(const std::string& name, const std::string& device,
                              const std::string& providerKey) {
    PackageContents contents;
    contents.DeviceId = device;
    contents.ProviderKey = providerKey;
    contents.Model = 1;
    contents.Created = {2024, 3, 15, 0, 0, 0};
    contents.Members = {folder / "song.ogg", folder / "config.dat"};
    NoProgress progress;
    EXPECT_EQ(WritePackage(folder / name, contents, progress), PackageStatus::Ok);
    return folder / name;
  }

  ChildResult Cli(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "package");
    return RunChild(CORVANE_CLI_EXE, arguments, {});
  }

  TempFolder folder;
  std::filesystem::path package;
};

TEST_F(CliPackageTest, VerifyReportsTheStatusAsExitCode) {
  auto run = Cli({"verify", package.string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("valid, 2 members"), std::string::npos);

  auto bytes = ReadWholeFile(package);
  bytes[400] ^= 1;
  WriteWholeFile(package, bytes);
  run = Cli({"verify", package.string()});
  EXPECT_EQ(run.exitCode, 5);
  EXPECT_NE(run.err.find("File CRC Error."), std::string::npos);

  const auto renamed = folder / "Lobby_SU_20240315_00000000000012AC.ipc";
  bytes[400] ^= 1;
  WriteWholeFile(renamed, bytes);
  EXPECT_EQ(Cli({"verify", renamed.string()}).exitCode, 9);
  // The device can also be named on the command line; the cipher key still
  // comes from the file name.
  EXPECT_EQ(Cli({"verify", renamed.string(), "--device-id", "12ac"}).exitCode, 9);
  EXPECT_FALSE(std::filesystem::exists(folder / "out"));
}

TEST_F(CliPackageTest, InspectShowsHeaderMembersAndRecord) {
  const auto run = Cli({"inspect", package.string(), "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* expected :
       {"\"deviceId\":\"00000000000012AB\"", "\"memberCount\":2", "\"modelName\":\"Tonvex-SU\"",
        "\"date\":\"20240315\"", "{\"name\":\"song.ogg\",\"length\":3000}",
        "\"time_zone\":\"Europe/Paris\"", "\"entries\":[\"00:00:03 | song.ogg\"]",
        "\"outputCodec\":\"pcm_s16le\""}) {
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
  }
  const auto text = Cli({"inspect", package.string()});
  EXPECT_EQ(text.exitCode, 0);
  EXPECT_NE(text.out.find("memberCount: 2"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("- 00:00:03 | song.ogg"), std::string::npos) << text.out;
}

TEST_F(CliPackageTest, UnpackAndRelockWriteTheSameContent) {
  auto run = Cli({"unpack", package.string(), (folder / "unpacked").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(folder / "unpacked" / "song.ogg"), std::vector<std::uint8_t>(3000, 0x33));
  EXPECT_EQ(std::filesystem::file_size(folder / "unpacked" / "update.bin"), 11u);

  // Relocked for another device and key.
  const auto out = folder / "relocked";
  std::filesystem::create_directories(out);
  run = Cli({"relock", package.string(), "--device-id", "abc", "--provider-key", "ACME", "--out",
             out.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  std::filesystem::path relocked;
  for (const auto& entry : std::filesystem::directory_iterator(out)) relocked = entry.path();
  const std::string name = relocked.filename().string();
  EXPECT_EQ(name.rfind("Lobby_SU_", 0), 0u) << name;
  EXPECT_NE(name.find("_SPK_0000000000000ABC.ipc"), std::string::npos) << name;

  EXPECT_EQ(Cli({"verify", relocked.string()}).exitCode, 10);
  EXPECT_EQ(Cli({"verify", relocked.string(), "--provider-key", "ACME"}).exitCode, 0);
  run = Cli({"unpack", relocked.string(), (folder / "u").string(), "--provider-key", "ACME"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(folder / "u" / "config.dat"), ReadWholeFile(folder / "config.dat"));

  // Relocking a locked package needs its key.
  EXPECT_EQ(Cli({"relock", relocked.string(), "--device-id", "1"}).exitCode, 10);
}

TEST_F(CliPackageTest, VersionHelpAndUsageErrors) {
  const ChildResult version = RunChild(CORVANE_CLI_EXE, {"--version"}, {});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("corvane-cli ") + CORVANE_VERSION_TEXT + "\n");
  for (const char* command : {"--help", "inspect", "verify", "unpack", "relock"}) {
    const auto run = std::string(command) == "--help" ? RunChild(CORVANE_CLI_EXE, {command}, {})
                                                      : Cli({command, "--help"});
    EXPECT_EQ(run.exitCode, 0) << command;
    EXPECT_NE(run.out.find("Usage: corvane-cli"), std::string::npos) << command;
    EXPECT_EQ(run.err, "") << command;
  }
  const ChildResult unknown = RunChild(CORVANE_CLI_EXE, {"frobnicate"}, {});
  EXPECT_EQ(unknown.exitCode, 64);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
  EXPECT_EQ(RunChild(CORVANE_CLI_EXE, {}, {}).exitCode, 64);
  EXPECT_EQ(Cli({"relock", package.string(), "--device-id", "xyz"}).exitCode, 64);
  EXPECT_EQ(Cli({"relock", package.string()}).exitCode, 64);
  EXPECT_EQ(Cli({"verify"}).exitCode, 64);
  EXPECT_EQ(Cli({"verify", package.string(), "--bogus"}).exitCode, 64);
  const auto missing = Cli({"verify", (folder / "none_1.ipc").string()});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("Error Accessing File."), std::string::npos);
  EXPECT_EQ(missing.err.find("terminate"), std::string::npos);
}

}  // namespace
}  // namespace corvane::test
