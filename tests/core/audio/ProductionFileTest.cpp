// The production file is written as the samples come and appears only when
// complete: whatever stops it leaves the previous file as it was.
#include "audio/ProductionFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "audio/WaveFormat.h"
#include "core/audio/AudioSignals.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane::test {
namespace {

const std::vector<std::uint8_t> kOld{'o', 'l', 'd'};

TEST(ProductionFileTest, PiecesMakeOneFileWithTheHeaderForAllOfThemOnlyAtTheEnd) {
  TempFolder folder;
  const auto path = folder / "output.wav";
  WriteWholeFile(path, kOld);
  ProductionFile file;
  ASSERT_TRUE(file.Open(path, 8000));
  ASSERT_TRUE(file.Put(std::vector<std::int16_t>{1, -2, 3}));
  ASSERT_TRUE(file.Put(std::vector<std::int16_t>{}));
  ASSERT_TRUE(file.Put(std::vector<std::int16_t>{-32768, 32767}));
  EXPECT_EQ(ReadWholeFile(path), kOld);  // nothing replaced before the end
  ASSERT_TRUE(file.Finish());

  EXPECT_EQ(ReadWholeFile(path), WaveBytes(8000, std::vector<std::int16_t>{1, -2, 3, -32768, 32767}));
  EXPECT_EQ(NamesIn(folder.Path()).size(), 1u);
}

TEST(ProductionFileTest, AnUnfinishedOrFailedWriteLeavesThePreviousFile) {
  TempFolder folder;
  const auto path = folder / "output.wav";
  WriteWholeFile(path, kOld);
  {
    ProductionFile abandoned;
    ASSERT_TRUE(abandoned.Open(path, 22050));
    ASSERT_TRUE(abandoned.Put(std::vector<std::int16_t>(100, 5)));
  }
  EXPECT_EQ(ReadWholeFile(path), kOld);
  EXPECT_EQ(NamesIn(folder.Path()).size(), 1u);

  ProductionFile full;
  ASSERT_TRUE(full.Open(path, 22050));
  {
    const FileSizeLimit limited(4096);
    EXPECT_FALSE(full.Put(std::vector<std::int16_t>(10000, 5)));
  }
  EXPECT_FALSE(full.Put(std::vector<std::int16_t>(1, 5)));  // stays failed
  EXPECT_FALSE(full.Finish());
  EXPECT_EQ(ReadWholeFile(path), kOld);
  EXPECT_EQ(NamesIn(folder.Path()).size(), 1u);

  ProductionFile nowhere;
  EXPECT_FALSE(nowhere.Open(folder / "missing" / "output.wav", 22050));
  EXPECT_FALSE(nowhere.Finish());
}

}  // namespace
}  // namespace corvane::test
