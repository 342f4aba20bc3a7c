// The player models as the players define them, and what selecting a model
// carries into the session's audio record.
#include "session/DeviceModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/SessionState.h"
#include "support/TempFolder.h"
#include "support/TestData.h"

namespace corvane {
namespace {

// Every property in the table's order, of a table row or of what selecting
// a model carries into the audio record (the fields have the same names).
template <class Properties>
std::vector<int> Fields(const Properties& p) {
  return {p.StorageMegabytes,     p.ListCapacity,    p.ScheduledCapacity, p.DefaultMusicFromFile,
          p.HasStaleDate,         p.ExactStaleDate,  p.HasShuffle,        p.HasMessages,
          p.HasScheduledMessages, p.HasToneControls, p.HasSecondChannel,  p.IsPlayerDevice,
          p.HasTimeZone,          p.HasRepeatInterval, p.GapsCountAsPlayTime};
}

TEST(DeviceModel, EachModelHasItsNameTagAndPropertiesAndSelectingItCarriesThem) {
  const struct {
    std::int32_t model;
    std::string_view name, tag;
    ModelProperties expected;
  } rows[] = {
      // Storage in MB, list and scheduled capacity, default music from a file;
      // then stale date, exact stale date, shuffle, messages, scheduled
      // messages, tone controls, second channel, player device, time zone,
      // repeat interval, gaps count as play time.
      {1, "Tonvex-SU", "_SU_", {2800, 1000, 10, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      {2, "Tonvex-One", "_ONE_", {32, 10, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1}},
      {3, "Tonvex-Mix", "_MIX_", {0, 1000, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}},
      {4, "Tonvex-V5", "_V5_", {16384, 1000, 10, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      // Numbers outside 1..4 have no name and take Tonvex-SU's properties.
      {0, "", "____", {2800, 1000, 10, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
      {7, "", "____", {2800, 1000, 10, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}},
  };
  test::TempFolder data;
  SessionState session(test::FoldersIn(data.Path()));
  for (const auto& row : rows) {
    SCOPED_TRACE(row.model);
    EXPECT_EQ(ModelName(row.model), row.name);
    EXPECT_EQ(ModelTag(row.model), row.tag);
    if (!row.name.empty()) {
      EXPECT_EQ(ModelFromName(row.name), DeviceModel{row.model});
    }
    EXPECT_EQ(Fields(PropertiesOf(row.model)), Fields(row.expected));

    session.ApplyModel(row.model, false);
    EXPECT_EQ(session.Audio.Model, row.model);  // kept even when unknown
    EXPECT_EQ(Fields(session.Audio), Fields(row.expected));
    EXPECT_EQ(session.Audio.ProjectCodec.View(), "libvorbis");
    EXPECT_EQ(session.Audio.MediaExtension.View(), ".ogg");
    EXPECT_EQ(session.Audio.ChannelCountText.View(), "1");
    EXPECT_EQ(session.Audio.ChannelCount, 1);
  }
  // Name lookup is exact and case-sensitive.
  for (std::string_view name : {"tonvex-su", "Tonvex-SU ", "", "..."}) {
    EXPECT_FALSE(ModelFromName(name)) << name;
  }
}

}  // namespace
}  // namespace corvane
