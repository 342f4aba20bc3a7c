// Runs "corvane-cli package ..." against packages the library writes.
#include <gtest/gtest.h>

#include "channel/ChannelConfig.h"
#include "common/ByteOrder.h"
#include "common/Progress.h"
#include "package/ConfigRecordFile.h"
#include "package/Crc16Ccitt.h"
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
    one.Music.entries = {MediaEntry{"00:00:03", "song.ogg"}};
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

// A package that says it holds more than its members: the file checksum is
// made good again, so only the length accounting can find it.
void PadBeforeChecksum(const std::filesystem::path& package) {
  auto bytes = ReadWholeFile(package);
  bytes.insert(bytes.end() - 2, 8, 0x5A);
  WriteBE16(&bytes[bytes.size() - 2], Crc16Update(kCrc16Start, bytes.data(), bytes.size() - 2));
  WriteWholeFile(package, bytes);
}

TEST_F(CliPackageTest, EveryCommandExitsWithTheStatusOfWhatItFound) {
  const auto locked = Write("Locked_SU_20240315_SPK_" + std::string(kDevice) + ".ipc", kDevice, "ACME");
  const auto damaged = folder / "Damaged_SU_20240315_00000000000012AB.ipc";
  auto bytes = ReadWholeFile(package);
  bytes[600] ^= 0x10;
  WriteWholeFile(damaged, bytes);
  const auto renamed = folder / "Renamed_SU_20240315_00000000000012AC.ipc";
  std::filesystem::copy_file(package, renamed);
  const auto padded = folder / "Padded_SU_20240315_00000000000012AB.ipc";
  std::filesystem::copy_file(package, padded);
  PadBeforeChecksum(padded);
  const std::string missing = (folder / "Missing_SU_20240315_00000000000012AB.ipc").string();

  struct Case {
    std::vector<std::string> words;
    int exitCode;
    std::string says = "";  // on standard output when it succeeds, else on standard error
  };
  const std::string out = (folder / "new").string();
  const std::vector<Case> cases = {
      {{"inspect", package.string()}, 0},
      {{"inspect", damaged.string()}, 5},
      {{"verify", package.string()}, 0, "valid, 2 members"},
      // The device may be named on the command line; the key is still the file name's.
      {{"verify", renamed.string(), "--device-id", "12ac"}, 9, "Update File Not Valid."},
      {{"inspect", renamed.string()}, 9},
      {{"inspect", locked.string()}, 10},
      {{"inspect", locked.string(), "--provider-key", "ACME"}, 0},
      {{"inspect", padded.string()}, 6},
      {{"inspect", missing}, 2},
      {{"verify", damaged.string()}, 5, "File CRC Error."},
      {{"verify", locked.string()}, 10},
      {{"verify", locked.string(), "--provider-key", "ACME", "--device-id", "12AC"}, 10},
      {{"verify", padded.string()}, 6},
      {{"verify", missing}, 2},
      {{"unpack", damaged.string(), out}, 5},
      {{"unpack", renamed.string(), out}, 9},
      {{"unpack", locked.string(), out}, 10},
      {{"unpack", padded.string(), out}, 6},
      {{"unpack", missing, out}, 2},
      {{"unpack", package.string()}, 64},
      {{"relock", locked.string(), "--device-id", "1"}, 10},
      {{"relock", locked.string(), "--device-id", "1", "--open-key", "WRONG"}, 10},
      {{"relock", damaged.string(), "--device-id", "1"}, 5},
      {{"relock", padded.string(), "--device-id", "1"}, 6},
      {{"relock", package.string(), "--device-id", "1", "--out", out + "/none"}, 2},
      {{"relock", package.string(), "--device-id", "12345678901234567"}, 64},
      {{"relock", package.string(), "--device-id", "0", "--provider-key", "ACME"}, 64},
      {{"relock", package.string(), "--device-id", "1", "--provider-key", "SEVENTEEN-LETTERS"}, 64},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const auto& word : c.words) shown += word + " ";
    const auto run = Cli(c.words);
    EXPECT_EQ(run.exitCode, c.exitCode) << shown << "\n" << run.err;
    EXPECT_NE((c.exitCode == 0 ? run.out : run.err).find(c.says), std::string::npos) << shown;
    // A failed unpack leaves no folder behind, and nothing is written anywhere.
    EXPECT_FALSE(std::filesystem::exists(out)) << shown;
  }
}

TEST_F(CliPackageTest, UnpackRefusesAFolderThatHoldsAnythingAndTouchesNothing) {
  const auto mine = folder / "mine";
  std::filesystem::create_directories(mine / "sub");
  WriteWholeFile(mine / "letter.txt", std::vector<std::uint8_t>(5, 0x41));
  WriteWholeFile(mine / "song.ogg", std::vector<std::uint8_t>(7, 0x42));
  for (const auto& target : {mine, mine / "letter.txt"}) {
    const auto run = Cli({"unpack", package.string(), target.string()});
    EXPECT_EQ(run.exitCode, 64) << target;
    EXPECT_NE(run.err.find(target.string()), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadWholeFile(mine / "letter.txt"), std::vector<std::uint8_t>(5, 0x41));
  EXPECT_EQ(ReadWholeFile(mine / "song.ogg"), std::vector<std::uint8_t>(7, 0x42));
  EXPECT_TRUE(std::filesystem::is_directory(mine / "sub"));

  // An empty folder of the user's is used as it is.
  std::filesystem::create_directories(folder / "empty");
  const auto run = Cli({"unpack", package.string(), (folder / "empty").string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "empty" / "song.ogg"));
}

TEST_F(CliPackageTest, InspectShowsTheProviderKeyOnlyToWhoeverGivesIt) {
  const auto locked = Write("Locked_SU_20240315_SPK_" + std::string(kDevice) + ".ipc", kDevice, "K3Y-ACME");
  for (const bool json : {false, true}) {
    std::vector<std::string> words = {"inspect", locked.string()};
    if (json) words.push_back("--json");
    const auto refused = Cli(words);
    EXPECT_EQ(refused.exitCode, 10);
    EXPECT_EQ(refused.out.find("K3Y-ACME"), std::string::npos) << refused.out;
    EXPECT_NE(refused.out.find(json ? "\"providerKeySet\":true" : "providerKeySet: yes"),
              std::string::npos)
        << refused.out;

    words.insert(words.end(), {"--provider-key", "K3Y-ACME"});
    const auto allowed = Cli(words);
    EXPECT_EQ(allowed.exitCode, 0);
    EXPECT_NE(allowed.out.find("K3Y-ACME"), std::string::npos) << allowed.out;
  }
}

}  // namespace
}  // namespace corvane::test
