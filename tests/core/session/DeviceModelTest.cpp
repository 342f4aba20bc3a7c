#include "session/DeviceModel.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(DeviceModel, NamesAndTagsFollowTheModelNumbers) {
  EXPECT_EQ(ModelName(1), "Tonvex-SU");
  EXPECT_EQ(ModelName(2), "Tonvex-One");
  EXPECT_EQ(ModelName(3), "Tonvex-Mix");
  EXPECT_EQ(ModelName(4), "Tonvex-V5");
  EXPECT_EQ(ModelName(0), "");
  EXPECT_EQ(ModelTag(0), "____");
  EXPECT_EQ(ModelTag(1), "_SU_");
  EXPECT_EQ(ModelTag(2), "_ONE_");
  EXPECT_EQ(ModelTag(3), "_MIX_");
  EXPECT_EQ(ModelTag(4), "_V5_");
  EXPECT_EQ(ModelTag(9), "____");
}

TEST(DeviceModel, NameLookupIsExactAndCaseSensitive) {
  EXPECT_EQ(ModelFromName("Tonvex-SU"), DeviceModel::TonvexSU);
  EXPECT_EQ(ModelFromName("Tonvex-One"), DeviceModel::TonvexOne);
  EXPECT_EQ(ModelFromName("Tonvex-Mix"), DeviceModel::TonvexMix);
  // Reached only by opening a package, but still a model.
  EXPECT_EQ(ModelFromName("Tonvex-V5"), DeviceModel::TonvexV5);
  EXPECT_FALSE(ModelFromName("tonvex-su"));
  EXPECT_FALSE(ModelFromName("Tonvex-SU "));
  EXPECT_FALSE(ModelFromName(""));
  EXPECT_FALSE(ModelFromName("..."));
}

TEST(DeviceModel, PropertiesPerModel) {
  const ModelProperties& su = PropertiesOf(1);
  EXPECT_EQ(su.StorageMegabytes, 2800);
  EXPECT_EQ(su.ListCapacity, 1000);
  EXPECT_EQ(su.ScheduledCapacity, 10);
  EXPECT_EQ(su.DefaultMusicFromFile, 0);
  EXPECT_EQ(su.HasSecondChannel, 1);
  EXPECT_EQ(su.HasRepeatInterval, 0);
  EXPECT_EQ(su.GapsCountAsPlayTime, 0);

  const ModelProperties& one = PropertiesOf(2);
  EXPECT_EQ(one.StorageMegabytes, 32);
  EXPECT_EQ(one.ListCapacity, 10);
  EXPECT_EQ(one.ScheduledCapacity, 0);
  EXPECT_EQ(one.DefaultMusicFromFile, 1);
  EXPECT_EQ(one.HasStaleDate, 1);
  EXPECT_EQ(one.ExactStaleDate, 0);
  EXPECT_EQ(one.HasShuffle, 0);
  EXPECT_EQ(one.HasMessages, 1);
  EXPECT_EQ(one.HasToneControls, 0);
  EXPECT_EQ(one.IsPlayerDevice, 1);
  EXPECT_EQ(one.HasTimeZone, 0);
  EXPECT_EQ(one.HasRepeatInterval, 1);
  EXPECT_EQ(one.GapsCountAsPlayTime, 1);

  const ModelProperties& mix = PropertiesOf(3);
  EXPECT_EQ(mix.StorageMegabytes, 0);
  EXPECT_EQ(mix.HasStaleDate, 0);
  EXPECT_EQ(mix.IsPlayerDevice, 0);
  EXPECT_EQ(mix.HasMessages, 1);
  EXPECT_EQ(mix.GapsCountAsPlayTime, 1);

  const ModelProperties& v5 = PropertiesOf(4);
  EXPECT_EQ(v5.StorageMegabytes, 16384);
  EXPECT_EQ(v5.HasScheduledMessages, 1);
  EXPECT_EQ(v5.HasTimeZone, 1);
}

TEST(DeviceModel, UnknownNumbersTakeTheSUColumn) {
  for (int model : {0, 5, -1, 1000}) {
    EXPECT_EQ(&PropertiesOf(model), &PropertiesOf(1)) << model;
  }
}

}  // namespace
}  // namespace corvane
