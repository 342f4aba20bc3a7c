// Saving in place of a file: the old one stays whole until the new one is.
#include "common/ReplacingFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

const std::vector<std::uint8_t> kOld(100, 0x11);
const std::vector<std::uint8_t> kNew(3000, 0x22);

bool Write(ReplacingFile& file, const std::vector<std::uint8_t>& bytes) {
  return file.Stream().Write(bytes) == bytes.size();
}

TEST(ReplacingFileTest, TheOldFileStaysWholeUntilCommitAndNothingElseIsLeft) {
  TempFolder folder;
  const auto target = folder / "settings.dat";
  WriteWholeFile(target, kOld);
  for (const bool sync : {false, true}) {
    {
      ReplacingFile file(target);
      ASSERT_TRUE(file.IsOpen());
      ASSERT_TRUE(Write(file, kNew));
      EXPECT_EQ(ReadWholeFile(target), kOld);  // not yet
    }                                          // dropped
    EXPECT_EQ(ReadWholeFile(target), kOld);
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"settings.dat"});

    ReplacingFile file(target);
    ASSERT_TRUE(Write(file, kNew));
    ASSERT_TRUE(file.Commit(sync));
    EXPECT_EQ(ReadWholeFile(target), kNew);
    EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"settings.dat"});
    WriteWholeFile(target, kOld);
  }
}

TEST(ReplacingFileTest, ALinkKeepsPointingAtTheReplacedFile) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "real");
  WriteWholeFile(folder / "real" / "lobby.ipc", kOld);
  std::filesystem::create_symlink(folder / "real" / "lobby.ipc", folder / "link.ipc");
  ReplacingFile file(folder / "link.ipc");
  ASSERT_TRUE(Write(file, kNew));
  ASSERT_TRUE(file.Commit());
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.ipc"));
  EXPECT_EQ(ReadWholeFile(folder / "real" / "lobby.ipc"), kNew);
}

TEST(ReplacingFileTest, RefusesWhatIsNotAFileAndAMissingFolder) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "a folder");
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  for (const char* name : {"a folder", "pipe", "missing/file"}) {
    ReplacingFile file(folder / name);
    EXPECT_FALSE(file.IsOpen()) << name;
    EXPECT_FALSE(file.Commit()) << name;
  }
  EXPECT_TRUE(std::filesystem::is_directory(folder / "a folder"));
  EXPECT_TRUE(std::filesystem::is_fifo(folder / "pipe"));
}

TEST(ReplacingFileTest, LeftPartialFilesAreRemovedAndNothingElse) {
  TempFolder folder;
  const std::vector<std::string> left = {".TMV_settings.isf.partial-4242-0", ".a.ogg.partial-1-17"};
  const std::vector<std::string> kept = {"TMV_settings.isf", ".hidden",        "x.partial-1-2",
                                         ".a.partial-",      ".a.partial-12-", ".b.partial-x-1"};
  for (const auto& name : left) WriteWholeFile(folder / name, kOld);
  for (const auto& name : kept) WriteWholeFile(folder / name, kOld);
  std::filesystem::create_directories(folder / ".c.partial-1-1");
  RemoveLeftPartialFiles(folder.Path());
  auto expected = kept;
  expected.push_back(".c.partial-1-1");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(NamesIn(folder.Path()), expected);
}

}  // namespace
}  // namespace corvane::test
