// Runs "corvane-cli package ..." against packages the library writes.
#include <gtest/gtest.h>

#include <map>

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
    one.Music.entries = {MediaEntry{"00:00:03", "song.ogg"}};
    DeviceConfigRecord record;
    record.FileVersion = 1;
    record.time_zone.Set("Europe/Paris");
    ASSERT_TRUE(WriteConfigRecordFile(folder / "config.dat", record, one, {}));
    WriteWholeFile(folder / "song.ogg", std::vector<std::uint8_t>(3000, 0x33));
    package = Write("Lobby_SU_20240315_" + std::string(kDevice) + ".ipc", "0000000000000000");
  }

  std::string Write(const std::string& name, const std::string& providerKey) {
    PackageContents contents;
    contents.DeviceId = kDevice;
    contents.ProviderKey = providerKey;
    contents.Model = 1;
    contents.Created = {2024, 3, 15, 0, 0, 0};
    contents.Members = {folder / "song.ogg", folder / "config.dat"};
    NoProgress progress;
    EXPECT_EQ(WritePackage(folder / name, contents, progress), PackageStatus::Ok);
    return (folder / name).string();
  }

  static ChildResult Cli(std::vector<std::string> arguments,
                         const std::map<std::string, std::string>& environment = {}) {
    arguments.insert(arguments.begin(), "package");
    return RunChild(CORVANE_CLI_EXE, arguments, environment);
  }

  TempFolder folder;
  std::string package;
};

TEST_F(CliPackageTest, InspectShowsHeaderMembersAndRecordAndTheKeyOnlyToWhoeverGivesIt) {
  const auto locked = Write("Locked_SU_20240315_SPK_" + std::string(kDevice) + ".ipc", "K3Y-ACME");
  for (const bool json : {false, true}) {
    std::vector<std::string> words = {"inspect", locked};
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
    const auto shown = json ? std::vector<std::string>{
        "\"providerKey\":\"K3Y-ACME\"", "\"deviceId\":\"00000000000012AB\"", "\"memberCount\":2",
        "\"modelName\":\"Tonvex-SU\"", "\"date\":\"20240315\"",
        "{\"name\":\"song.ogg\",\"length\":3000}", "\"time_zone\":\"Europe/Paris\"",
        "\"entries\":[\"00:00:03 | song.ogg\"]", "\"outputCodec\":\"pcm_s16le\""}
                            : std::vector<std::string>{"K3Y-ACME", "memberCount: 2",
                                                       "- 00:00:03 | song.ogg"};
    for (const auto& expected : shown) {
      EXPECT_NE(allowed.out.find(expected), std::string::npos) << expected << "\n" << allowed.out;
    }
  }
}

TEST_F(CliPackageTest, UnpackAndRelockWriteTheSameContent) {
  auto run = Cli({"unpack", package, (folder / "unpacked").string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(folder / "unpacked" / "song.ogg"), std::vector<std::uint8_t>(3000, 0x33));

  // Relocked for another device and key.
  const auto out = folder / "relocked";
  std::filesystem::create_directories(out);
  run = Cli({"relock", package, "--device-id", "abc", "--provider-key", "ACME", "--out",
             out.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(NamesIn(out).size(), 1u);
  const auto relocked = std::filesystem::directory_iterator(out)->path();
  const std::string name = relocked.filename().string();
  EXPECT_EQ(name.rfind("Lobby_SU_", 0), 0u) << name;
  EXPECT_NE(name.find("_SPK_0000000000000ABC.ipc"), std::string::npos) << name;
  EXPECT_EQ(Cli({"verify", relocked.string()}).exitCode, 10);
  run = Cli({"unpack", relocked.string(), (folder / "u").string(), "--provider-key", "ACME"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(folder / "u" / "config.dat"), ReadWholeFile(folder / "config.dat"));
  // Relocking a locked package needs its key.
  EXPECT_EQ(Cli({"relock", relocked.string(), "--device-id", "1"}).exitCode, 10);
}

// Every command reports a failed read through the same status; one failure
// of each kind is enough, and which read finds which fault is core's.
// One production for many players: one package per listed device, each byte
// for byte what a relock for that device alone writes at the same moment.
TEST_F(CliPackageTest, ABatchRelockWritesWhatSingleRelocksWriteAndReportsRefusedLines) {
  const auto list = folder / "players.txt";
  const std::string lines = "# front desks\n12ab\n  00ff  # lobby\n\nnot-hex\n12345678901234567\n12AB\n";
  WriteWholeFile(list, std::vector<std::uint8_t>(lines.begin(), lines.end()));
  const std::map<std::string, std::string> sameMoment = {{"SOURCE_DATE_EPOCH", "1710504000"}};
  const auto batch = folder / "batch";
  std::filesystem::create_directory(batch);
  const auto run = Cli({"relock", package, "--device-ids", list.string(), "--device-id", "7", "--out",
                        batch.string()},
                       sameMoment);
  EXPECT_EQ(run.exitCode, 65);
  EXPECT_NE(run.err.find("players.txt:5: 'not-hex' is not a device ID"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("players.txt:6: '12345678901234567'"), std::string::npos) << run.err;
  EXPECT_EQ(NamesIn(batch), (std::vector<std::string>{"Lobby_SU_20240315_0000000000000007.ipc",
                                                      "Lobby_SU_20240315_00000000000000FF.ipc",
                                                      "Lobby_SU_20240315_00000000000012AB.ipc"}));
  for (const char* device : {"7", "ff", "12AB"}) {
    const auto single = folder / (std::string("single-") + device);
    std::filesystem::create_directory(single);
    EXPECT_EQ(Cli({"relock", package, "--device-id", device, "--out", single.string()}, sameMoment).exitCode,
              0);
    const auto name = NamesIn(single).at(0);
    EXPECT_EQ(ReadWholeFile(single / name), ReadWholeFile(batch / name)) << device;
    EXPECT_EQ(Cli({"verify", (batch / name).string()}).exitCode, 0) << name;
  }
}

TEST_F(CliPackageTest, EveryCommandExitsWithTheStatusOfWhatItFound) {
  const auto locked = Write("Locked_SU_20240315_SPK_" + std::string(kDevice) + ".ipc", "ACME");
  const auto damaged = (folder / "Damaged_SU_20240315_00000000000012AB.ipc").string();
  auto bytes = ReadWholeFile(package);
  bytes[600] ^= 0x10;
  WriteWholeFile(damaged, bytes);
  const auto renamed = (folder / "Renamed_SU_20240315_00000000000012AC.ipc").string();
  std::filesystem::copy_file(package, renamed);
  const std::string missing = (folder / "Missing_SU_20240315_00000000000012AB.ipc").string();

  const std::string out = (folder / "new").string();
  const struct {
    std::vector<std::string> words;
    int exitCode;
    std::string says = "";  // on standard output when it succeeds, else on standard error
  } cases[] = {
      {{"inspect", package}, 0},
      {{"inspect", damaged}, 5},
      {{"verify", package}, 0, "valid, 2 members"},
      // The device may be named on the command line; the key is still the file name's.
      {{"verify", renamed, "--device-id", "12ac"}, 9, "Update File Not Valid."},
      {{"verify", damaged}, 5, "File CRC Error."},
      {{"verify", locked, "--provider-key", "ACME", "--device-id", "12AC"}, 10},
      {{"verify", missing}, 2, "Error Accessing File."},
      {{"unpack", damaged, out}, 5},
      {{"unpack", locked, out}, 10},
      {{"unpack", package}, 64},
      {{"relock", locked, "--device-id", "1", "--open-key", "WRONG"}, 10},
      {{"relock", package, "--device-id", "1", "--out", out + "/none"}, 2},
      {{"relock", package, "--device-id", "12345678901234567"}, 64},
      {{"relock", package, "--device-id", "0", "--provider-key", "ACME"}, 64},
      {{"relock", package, "--device-id", "1", "--provider-key", "SEVENTEEN-LETTERS"}, 64},
      {{"relock", package, "--device-id", "xyz"}, 64},
      {{"relock", package}, 64},
      {{"verify"}, 64},
      {{"verify", package, "--bogus"}, 64},
      {{"relock", "--help"}, 0, "Usage: corvane-cli"},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& word : c.words) shown += word + " ";
    const auto run = Cli(c.words);
    EXPECT_EQ(run.exitCode, c.exitCode) << shown << "\n" << run.err;
    EXPECT_NE((c.exitCode == 0 ? run.out : run.err).find(c.says), std::string::npos) << shown;
    if (c.exitCode == 0) {
      EXPECT_EQ(run.err, "") << shown;
    }
    EXPECT_EQ(run.err.find("terminate"), std::string::npos) << shown;
    // A failed unpack leaves no folder behind, and nothing is written anywhere.
    EXPECT_FALSE(std::filesystem::exists(out)) << shown;
  }

  const ChildResult version = RunChild(CORVANE_CLI_EXE, {"--version"}, {});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("corvane-cli ") + CORVANE_VERSION_TEXT + "\n");
  const ChildResult unknown = RunChild(CORVANE_CLI_EXE, {"frobnicate"}, {});
  EXPECT_EQ(unknown.exitCode, 64);
  EXPECT_EQ(unknown.out, "");
  EXPECT_NE(unknown.err.find("unknown command 'frobnicate'"), std::string::npos);
  EXPECT_EQ(RunChild(CORVANE_CLI_EXE, {}, {}).exitCode, 64);
}

TEST_F(CliPackageTest, UnpackRefusesAFolderThatHoldsAnythingAndTouchesNothing) {
  const auto mine = folder / "mine";
  std::filesystem::create_directories(mine / "sub");
  WriteWholeFile(mine / "letter.txt", std::vector<std::uint8_t>(5, 0x41));
  WriteWholeFile(mine / "song.ogg", std::vector<std::uint8_t>(7, 0x42));
  for (const auto& target : {mine, mine / "letter.txt"}) {
    const auto run = Cli({"unpack", package, target.string()});
    EXPECT_EQ(run.exitCode, 64) << target;
    EXPECT_NE(run.err.find(target.string()), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadWholeFile(mine / "letter.txt"), std::vector<std::uint8_t>(5, 0x41));
  EXPECT_EQ(ReadWholeFile(mine / "song.ogg"), std::vector<std::uint8_t>(7, 0x42));
  EXPECT_TRUE(std::filesystem::is_directory(mine / "sub"));

  // An empty folder of the user's is used as it is.
  std::filesystem::create_directories(folder / "empty");
  const auto run = Cli({"unpack", package, (folder / "empty").string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(folder / "empty" / "song.ogg"));
}

}  // namespace
}  // namespace corvane::test
