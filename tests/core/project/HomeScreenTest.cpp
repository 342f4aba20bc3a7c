#include "project/HomeScreen.h"

#include <gtest/gtest.h>

#include "channel/ChannelSettingsFile.h"
#include "session/DeviceModel.h"
#include "support/StandInProject.h"

namespace corvane::test {
namespace {

using Entries = std::vector<std::string>;

constexpr std::int32_t kSU = ModelNumber(DeviceModel::TonvexSU);
constexpr std::int32_t kOne = ModelNumber(DeviceModel::TonvexOne);
constexpr std::int32_t kMix = ModelNumber(DeviceModel::TonvexMix);
constexpr std::int32_t kV5 = ModelNumber(DeviceModel::TonvexV5);

TEST(HomeScreenListsTest, EachModelOffersItsOwnEntries) {
  EXPECT_EQ(DeviceEntries(), (Entries{"Tonvex-SU", "Tonvex-One", "Tonvex-Mix"}));
  const Entries twoChannels = {"Channel 1 Media/Messages", "Channel 2 Media/Messages"};
  const struct {
    std::int32_t model;
    bool moh;
    Entries configure;
  } cases[] = {
      {kSU, true, {"Media Security", twoChannels[0], twoChannels[1]}},
      {kV5, false, twoChannels},
      {kOne, true, {"Media Security", "Media/Messages"}},
      {kOne, false, {"Media/Messages"}},
      {kMix, true, {"Media/Messages", "Sampling Rates / Output Format"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConfigureEntries(c.model, c.moh), c.configure) << c.model << " " << c.moh;
  }
  EXPECT_EQ(FileEntries(kSU),
            (Entries{"Open Existing File", "Save Current Content to File", "Exit Application"}));
  EXPECT_EQ(FileEntries(kV5), FileEntries(kSU));
  EXPECT_EQ(FileEntries(kOne),
            (Entries{"Open Existing File", "Save Current Content to File", "Preview Audio Production",
                     "Stop Playing Audio Production", "Exit Application"}));
  EXPECT_EQ(FileEntries(kMix),
            (Entries{"Open Existing File", "Save Current Content to File", "Create Audio Production",
                     "Preview Audio Production", "Stop Playing Audio Production",
                     "Exit Application"}));
}

class HomeScreenTest : public ::testing::Test, protected StandInProject {
 protected:
  HomeScreenTest() { StartHomeScreen(context); }
  // Screens that answer as told and record what opened.
  ConfigureScreens Screens() {
    return {[this] {
              opened.push_back("security");
              session.Security.DeviceId = newDeviceId;
              return securityResult;
            },
            [this](bool holdsEntries) {
              opened.push_back(holdsEntries ? "rates, channel 1 full" : "rates");
              session.Audio.SetConversionRate("8000", 8000);
            },
            [this](int channel) {
              opened.push_back("channel " + std::to_string(channel));
              return editorResult;
            }};
  }
  std::vector<std::string> opened;
  int securityResult = 0;
  int editorResult = 0;
  std::string newDeviceId = kAllZeroKey;
};

TEST_F(HomeScreenTest, TheSummaryShowsSecurityOnlyForPlayersInMohMode) {
  EXPECT_FALSE(SummaryOf(session, home).showSecurity);
  session.Security.MohMode = true;
  home.FileSaved = true;
  const HomeSummary s = SummaryOf(session, home);
  EXPECT_TRUE(s.showSecurity);
  EXPECT_EQ(s.fileStatus, "Saved");
  home.CurrentModel = kMix;
  EXPECT_FALSE(SummaryOf(session, home).showSecurity);
}

TEST_F(HomeScreenTest, ChangingTheDeviceAsksWhenSomethingChangedAndReloadsEverything) {
  ASSERT_TRUE(SaveChannelSettings(session.Folders.ApplicationFolder, 1, kSU,
                                  ValuesFromChannel(FreshChannel())));
  WriteWholeFile(std::filesystem::path(session.Folders.TempFolder) / "song.ogg",
                 std::vector<std::uint8_t>(3, 1));
  home.Channel1Modified = true;
  session.Channel1.MasterVolume = 9;
  op.ExpectQuestion("Changing Device", "Abandon changes?", OperatorAnswer::No);
  EXPECT_FALSE(PickDevice(context, "Tonvex-SU"));
  EXPECT_EQ(home.CurrentModel, kOne);
  EXPECT_EQ(session.Channel1.MasterVolume, 9);

  op.ExpectQuestion("Changing Device", "Abandon changes?", OperatorAnswer::Yes);
  EXPECT_TRUE(PickDevice(context, "Tonvex-SU"));
  EXPECT_EQ(home.CurrentModel, kSU);
  EXPECT_EQ(session.Audio.Model, kSU);
  EXPECT_EQ(session.Channel1.MasterVolume, 5);
  EXPECT_FALSE(home.Channel1Modified);
  EXPECT_TRUE(NamesIn(session.Folders.TempFolder).empty());
  EXPECT_EQ(player.log.back(), "stop");

  // The same model again keeps channels and flags; no name, nothing at all.
  home.Channel2Modified = true;
  EXPECT_TRUE(PickDevice(context, "Tonvex-SU"));
  EXPECT_TRUE(PickDevice(context, ""));
  EXPECT_TRUE(home.Channel2Modified);
}

TEST_F(HomeScreenTest, ConfiguringSetsTheFlagOfWhatWasConfirmed) {
  home.FileSaved = true;
  editorResult = 1;
  RunConfigureEntry(context, "Media/Messages", Screens());
  EXPECT_FALSE(home.Channel1Modified);
  EXPECT_TRUE(home.FileSaved);
  editorResult = 0;
  RunConfigureEntry(context, "Channel 2 Media/Messages", Screens());
  RunConfigureEntry(context, "Channel 1 Media/Messages", Screens());
  EXPECT_TRUE(home.Channel1Modified && home.Channel2Modified);
  EXPECT_FALSE(home.FileSaved);
  session.Channel1.Music.entries = {{"00:00:01", "a.ogg"}};
  RunConfigureEntry(context, "Sampling Rates / Output Format", Screens());
  EXPECT_EQ(session.Audio.ConversionRate, session.Audio.ProjectRate);
  EXPECT_EQ(opened, (Entries{"channel 0", "channel 2", "channel 1", "rates, channel 1 full"}));
}

TEST_F(HomeScreenTest, ANewDeviceNumberOffersToDropTheChannels) {
  home.CurrentModel = kSU;
  home.Channel1Modified = true;
  session.Channel1.MasterVolume = 9;
  RunConfigureEntry(context, "Media Security", Screens());  // the same device: nothing asked
  EXPECT_TRUE(home.SecurityModified);
  newDeviceId = "00000000000000AB";
  op.ExpectQuestion("Device Number Changed", "Use previously configured channel settings?",
                    OperatorAnswer::Yes);
  RunConfigureEntry(context, "Media Security", Screens());
  EXPECT_TRUE(home.Channel1Modified);
  newDeviceId = "00000000000000CD";
  op.ExpectQuestion("Device Number Changed", "Use previously configured channel settings?",
                    OperatorAnswer::No);
  RunConfigureEntry(context, "Media Security", Screens());
  EXPECT_FALSE(home.Channel1Modified);
  EXPECT_EQ(session.Channel1.MasterVolume, 5);
  EXPECT_EQ(op.History().back().icon, OperatorIcon::Information);
}

TEST_F(HomeScreenTest, ADayChangeWarnsOncePerReset) {
  // The clock says 15 March 2024, 14:30.
  CheckDayChange(context);  // no stale date confirmed: nothing
  session.Security.LastConfirmedDate = {{2024, 3, 15, 8, 0, 0}, true};
  CheckDayChange(context);
  session.Security.LastConfirmedDate = {{2024, 3, 14, 23, 0, 0}, true};
  op.ExpectMessage("Day Changed", "Confirm stale date setting is correct.");
  for (int tick = 0; tick < 5; ++tick) CheckDayChange(context);
  home.DayChangeWarned = false;
  op.ExpectMessage("Day Changed", "Confirm stale date setting is correct.");
  CheckDayChange(context);
}

}  // namespace
}  // namespace corvane::test
