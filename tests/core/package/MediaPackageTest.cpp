#include "package/MediaPackage.h"

#include <gtest/gtest.h>

#include "common/ByteOrder.h"
#include "package/PackageCipher.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane {
namespace {

using test::FileSizeLimit;
using test::NamesIn;
using test::RandomBytes;
using test::ReadWholeFile;
using test::TempFolder;
using test::WriteWholeFile;

constexpr const char* kDevice = "00000000DEADBEEF";
constexpr const char* kNoKey = "0000000000000000";

void FixTrailer(std::vector<std::uint8_t>& package) {
  WriteBE16(package.data() + package.size() - 2,
            test::BitwiseCrc16(package.data(), package.size() - 2));
}

class MediaPackageTest : public ::testing::Test {
 protected:
  std::filesystem::path Member(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(folder / "members");
    const auto path = folder / "members" / name;
    WriteWholeFile(path, bytes);
    return path;
  }

  PackageContents Contents(std::vector<std::filesystem::path> members) {
    PackageContents c;
    c.DeviceId = kDevice;
    c.ProviderKey = kNoKey;
    c.Model = 1;
    c.Created = {2024, 3, 15, 10, 0, 0};
    c.Members = std::move(members);
    return c;
  }

  // A package named for the test device.
  std::filesystem::path Package() const { return folder / ("p_" + std::string(kDevice) + ".ipc"); }

  PackageStatus Read(const std::filesystem::path& package, PackageReadOptions options = {}) {
    if (options.DeviceKey == 0) options.DeviceKey = HexKeyFromText(kDevice);
    return ReadPackage(package, folder / "out", options, result, progress, TraceLog::Silent());
  }

  TempFolder folder;
  NoProgress progress;
  PackageReadResult result;
};

TEST_F(MediaPackageTest, RoundTripGivesBackEveryMemberAndTheHeader) {
  std::vector<std::filesystem::path> members;
  std::vector<std::vector<std::uint8_t>> contents;
  for (std::size_t size : {1u, 7u, 8u, 1023u, 1024u, 1025u, 300000u}) {
    contents.push_back(RandomBytes(size, static_cast<unsigned>(size)));
    members.push_back(Member("m" + std::to_string(size) + ".ogg", contents.back()));
  }
  auto request = Contents(members);
  request.Unlock = true;
  request.Model = 4;
  request.Audio.OutputCodec.Set("pcm_alaw");
  request.Audio.OutputRate = 8000;
  request.Audio.OutputRateText.Set("8000");
  const auto package = folder / ("Lobby_V5_20240315_" + std::string(kDevice) + ".ipc");
  ASSERT_EQ(WritePackage(package, request, progress), PackageStatus::Ok);

  std::filesystem::create_directories(folder / "out");
  WriteWholeFile(folder / "out" / "stale.ogg", std::vector<std::uint8_t>{1});
  ASSERT_EQ(Read(package), PackageStatus::Ok);

  for (std::size_t i = 0; i < members.size(); ++i) {
    EXPECT_EQ(ReadWholeFile(folder / "out" / members[i].filename()), contents[i]) << i;
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "out" / "stale.ogg"));
  EXPECT_EQ(result.Header.Model, 4);
  EXPECT_EQ(result.Header.Unlock, 1);
  EXPECT_EQ(result.Header.Audio, request.Audio);
  ASSERT_EQ(result.Members.size(), members.size());
  EXPECT_EQ(result.Members[2].Length, 8u);

  // The marker: the header's date and the file's checksum, high byte first.
  const auto bytes = ReadWholeFile(package);
  EXPECT_EQ(ReadWholeFile(folder / "out" / "update.bin"),
            (std::vector<std::uint8_t>{'2', '0', '2', '4', '0', '3', '1', '5', 0,
                                       bytes[bytes.size() - 2], bytes[bytes.size() - 1]}));
  // Nothing else was left behind: no staging folder.
  EXPECT_EQ(NamesIn(folder / "out").size(), members.size() + 1);
}

TEST_F(MediaPackageTest, TheFileIsCipheredUnderTheDeviceKeyWithABigEndianTrailer) {
  const auto member = Member("a.ogg", std::vector<std::uint8_t>(16, 0x41));
  const auto package = Package();
  ASSERT_EQ(WritePackage(package, Contents({member}), progress), PackageStatus::Ok);
  auto bytes = ReadWholeFile(package);
  // Header, entry header, the member padded by 1 to 8 bytes, the checksum.
  ASSERT_EQ(bytes.size(), 256u + 256 + 24 + 2);
  EXPECT_EQ(PackageSize({16}), bytes.size());
  EXPECT_EQ(PackageSize({1, 8, 1025}), 258u + 3 * 256 + 8 + 16 + 1032);
  EXPECT_EQ(ReadBE16(&bytes[bytes.size() - 2]), test::BitwiseCrc16(bytes.data(), bytes.size() - 2));

  PackageCipher cipher(0xDEADBEEF, 0);
  for (std::size_t at = 0; at < 512; at += 8) cipher.DecipherBlock(&bytes[at]);
  EXPECT_EQ(ReadBE32(&bytes[0]), 0u);
  EXPECT_EQ(ReadBE32(&bytes[4]), 0xDEADBEEFu);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[8])), kNoKey);
  EXPECT_EQ(ReadBE32(&bytes[25]), 1u);
  EXPECT_EQ(ReadBE32(&bytes[29]), 1u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[33])), "20240315");
  EXPECT_EQ(bytes[43], 'Z');
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[44])), "22050");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[84])), "pcm_s16le");
  EXPECT_EQ(ReadBE32(&bytes[112]), 3600u);
  EXPECT_EQ(ReadBE16(&bytes[254]), test::BitwiseCrc16(bytes.data(), 254));
  EXPECT_EQ(ReadBE32(&bytes[256]), 16u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[260])), "a.ogg");
}

TEST_F(MediaPackageTest, StatusCodesOfDamagedOrForeignPackages) {
  const auto member = Member("a.ogg", RandomBytes(5000, 1));
  const auto package = Package();
  ASSERT_EQ(WritePackage(package, Contents({member}), progress), PackageStatus::Ok);
  const auto good = ReadWholeFile(package);

  // Renamed to another device: the header does not decipher.
  const auto renamed = folder / "p_00000000DEADBEEE.ipc";
  std::filesystem::copy_file(package, renamed);
  EXPECT_EQ(Read(renamed), PackageStatus::UpdateFileNotValid);

  // Any flipped byte after the header.
  for (std::size_t at : {std::size_t{256}, std::size_t{600}, good.size() - 3, good.size() - 1}) {
    auto bad = good;
    bad[at] ^= 0x10;
    WriteWholeFile(package, bad);
    EXPECT_EQ(Read(package), PackageStatus::FileCrcError) << at;
  }
  // Lengths that do not add up although the checksum matches.
  for (const bool longer : {true, false}) {
    auto bad = good;
    bad.resize(bad.size() - 2);
    bad.resize(longer ? bad.size() + 10 : bad.size() - 6);
    FixTrailer(bad);
    WriteWholeFile(package, bad);
    EXPECT_EQ(Read(package), PackageStatus::InvalidFileLength) << longer;
  }

  // Shorter than a header.
  WriteWholeFile(package, std::vector<std::uint8_t>(good.begin(), good.begin() + 100));
  EXPECT_EQ(Read(package), PackageStatus::ErrorReadingFile);
  EXPECT_EQ(Read(folder / "missing_0000000000000000.ipc"), PackageStatus::ErrorAccessingFile);
}

TEST_F(MediaPackageTest, AProviderKeyLocksThePackageToItsDeviceAndKey) {
  const auto member = Member("a.ogg", RandomBytes(100, 2));
  const auto package = Package();
  auto contents = Contents({member});
  contents.ProviderKey = "ACME";
  ASSERT_EQ(WritePackage(package, contents, progress), PackageStatus::Ok);

  PackageReadOptions options;
  options.AssignedProviderKey = "ACME";
  EXPECT_EQ(Read(package, options), PackageStatus::Ok);
  EXPECT_EQ(result.Header.ProviderKey.View(), "ACME");
  options.AssignedProviderKey = "acme";
  EXPECT_EQ(Read(package, options), PackageStatus::InvalidAuthorization);
  // The key would open the package: it is not handed to whoever failed.
  EXPECT_TRUE(result.HasProviderKey);
  EXPECT_EQ(result.Header.ProviderKey.View(), "");
  options.AssignedProviderKey = kNoKey;
  EXPECT_EQ(Read(package, options), PackageStatus::InvalidAuthorization);
  options.AssignedProviderKey = "ACME";
  options.DeviceKey = 0x1234;
  EXPECT_EQ(Read(package, options), PackageStatus::InvalidAuthorization);

  // Without a provider key any device list that names the device may open it.
  contents.ProviderKey = kNoKey;
  ASSERT_EQ(WritePackage(package, contents, progress), PackageStatus::Ok);
  EXPECT_EQ(Read(package, options), PackageStatus::Ok);
}

TEST_F(MediaPackageTest, AFailedOrShortWriteKeepsThePreviousPackageAndLeavesNoPartialFile) {
  const auto package = Package();
  WriteWholeFile(package, std::vector<std::uint8_t>{'o', 'l', 'd'});
  const auto small = Member("a.ogg", RandomBytes(200000, 5));
  EXPECT_EQ(WritePackage(package, Contents({small, folder / "members" / "gone.ogg"}), progress),
            PackageStatus::ErrorAccessingFile);
  EXPECT_EQ(WritePackage(folder / "no-such-folder" / "p.ipc", Contents({small}), progress),
            PackageStatus::ErrorAccessingFile);
  // Several members of several pieces each, cut off in a later piece.
  const auto big1 = Member("b.ogg", RandomBytes(900000, 6));
  const auto big2 = Member("c.ogg", RandomBytes(1100000, 7));
  for (const auto& [members, limit] : {std::pair{std::vector{small}, rlim_t{100000}},
                                       std::pair{std::vector{big1, big2}, rlim_t{1500000}}}) {
    PackageStatus status;
    {
      const FileSizeLimit limited(limit);
      status = WritePackage(package, Contents(members), progress);
    }
    EXPECT_EQ(status, PackageStatus::ErrorWritingFile) << limit;
  }
  EXPECT_EQ(ReadWholeFile(package), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(NamesIn(folder.Path()).size(), 2u);  // the old package and the members folder
}

TEST_F(MediaPackageTest, AMemberThatCannotBeUnpackedWhollyLeavesTheDestinationEmpty) {
  const auto package = Package();
  const auto first = Member("a.ogg", RandomBytes(600000, 8));
  const auto second = Member("b.ogg", RandomBytes(1200000, 9));
  ASSERT_EQ(WritePackage(package, Contents({first, second}), progress), PackageStatus::Ok);
  std::filesystem::create_directories(folder / "out");
  WriteWholeFile(folder / "out" / "old.ogg", std::vector<std::uint8_t>{1, 2});
  PackageStatus status;
  {
    // The package itself is larger, but is only read.
    const FileSizeLimit limited(1000000);
    status = Read(package);
  }
  EXPECT_EQ(status, PackageStatus::ErrorWritingFile);
  EXPECT_TRUE(std::filesystem::is_empty(folder / "out"));
  // With room again the same package unpacks whole.
  ASSERT_EQ(Read(package), PackageStatus::Ok);
  EXPECT_EQ(ReadWholeFile(folder / "out" / "b.ogg"), ReadWholeFile(second));
}

// Builds a package by hand, so names no writer would produce can be tried.
std::vector<std::uint8_t> HandMadePackage(
    std::uint64_t key, const std::vector<std::pair<std::string, std::string>>& members) {
  PackageHeader header;
  header.Key = key;
  header.MemberCount = static_cast<std::uint32_t>(members.size());
  auto plain = EncodePackageHeader(header);
  const auto low = static_cast<std::uint32_t>(key);
  const auto high = static_cast<std::uint32_t>(key >> 32);
  CipherBuffer(plain.data(), plain.size(), low, high, CipherDirection::Encipher);
  std::vector<std::uint8_t> bytes(plain.begin(), plain.end());
  for (const auto& [name, content] : members) {
    auto entry = EncodeEntryHeader(static_cast<std::uint32_t>(content.size()), name);
    CipherBuffer(entry.data(), entry.size(), low, high, CipherDirection::Encipher);
    bytes.insert(bytes.end(), entry.begin(), entry.end());
    std::vector<std::uint8_t> padded(content.begin(), content.end());
    padded.resize(CipheredLength(content.size()), 0);
    CipherBuffer(padded.data(), padded.size(), low, high, CipherDirection::Encipher);
    bytes.insert(bytes.end(), padded.begin(), padded.end());
  }
  bytes.resize(bytes.size() + 2);
  FixTrailer(bytes);
  return bytes;
}

TEST_F(MediaPackageTest, HostileEntriesAreRefusedAndLeaveTheDestinationEmpty) {
  const auto package = folder / "p_0000000000000001.ipc";
  PackageReadOptions options;
  options.DeviceKey = 1;
  std::filesystem::create_directories(folder / "out");
  for (const std::string name :
       {"../escape.ogg", "sub/x.ogg", "..\\x.ogg", "/etc/x", "..", ".", ""}) {
    WriteWholeFile(folder / "out" / "kept.ogg", std::vector<std::uint8_t>{1});
    WriteWholeFile(package, HandMadePackage(1, {{"fine.ogg", "abc"}, {name, "evil"}}));
    EXPECT_EQ(Read(package, options), PackageStatus::UpdateFileNotValid) << name;
    EXPECT_FALSE(std::filesystem::exists(folder / "escape.ogg"));
    EXPECT_TRUE(std::filesystem::is_empty(folder / "out")) << name;
  }
  // A length far beyond the file, the checksums kept right, is caught by the accounting.
  auto bytes = HandMadePackage(1, {{"a.ogg", "abc"}});
  auto entry = EncodeEntryHeader(0xFFFFFFF0u, "a.ogg");
  CipherBuffer(entry.data(), entry.size(), 1, 0, CipherDirection::Encipher);
  std::copy(entry.begin(), entry.end(), bytes.begin() + 256);
  FixTrailer(bytes);
  WriteWholeFile(package, bytes);
  EXPECT_EQ(Read(package, options), PackageStatus::InvalidFileLength);

  // A name of 252 characters fills its field and still comes back whole.
  const std::string longName(252, 'n');
  WriteWholeFile(package, HandMadePackage(1, {{longName, "abc"}}));
  ASSERT_EQ(Read(package, options), PackageStatus::Ok);
  EXPECT_TRUE(std::filesystem::exists(folder / "out" / longName));
}

TEST(PackageKey, ComesFromTheTextAfterTheLastUnderscore) {
  EXPECT_EQ(PackageKeyFromFileName("Lobby_SU_20240315_00000000000012AB.ipc"), 0x12ABu);
  EXPECT_EQ(PackageKeyFromFileName("a_b_ffffffffffffffff"), 0xFFFFFFFFFFFFFFFFu);
  // Only the last dot starts the extension; a digit run ends at the first non-digit.
  EXPECT_EQ(PackageKeyFromFileName("x_1a.b.ipc"), 0x1Au);
  EXPECT_EQ(PackageKeyFromFileName("x_1a.ipc"), 0x1Au);
  EXPECT_FALSE(PackageKeyFromFileName("nounderscore.ipc"));
  EXPECT_FALSE(PackageKeyFromFileName("x_00000000000000001.ipc"));  // 17 digits name no device
}

}  // namespace
}  // namespace corvane
