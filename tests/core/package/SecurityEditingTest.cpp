#include "package/SecurityEditing.h"

#include <gtest/gtest.h>

#include "common/CalendarDate.h"
#include "package/KeyText.h"
#include "support/ScriptedOperator.h"

namespace corvane::test {
namespace {

const LocalDateTime kNow{2024, 3, 15, 14, 30, 0};  // a Friday afternoon

class SecurityEditingTest : public ::testing::Test {
 protected:
  SecurityEditingTest() : draft(DraftOf(settings, kNow)) {}
  void Type(const std::string& id, const std::string& description, const std::string& zone = "Europe/Berlin") {
    draft.idText = id;
    draft.descriptionText = description;
    draft.zoneText = zone;
  }
  SecuritySettings settings;
  SecurityModel model;
  SecurityDraft draft;
  ScriptedOperator op;
};

TEST(CalendarDateTest, LongDatesAreEnglishWithTheirWeekday) {
  EXPECT_EQ(LongDateText({2036, 1, 31}), "Thursday, January 31, 2036");
  EXPECT_EQ(LongDateText({2000, 2, 29}), "Tuesday, February 29, 2000");
  EXPECT_EQ(LongDateText({1970, 1, 1}), "Thursday, January 01, 1970");
  EXPECT_EQ(LongDateText({2023, 2, 29}), "");
}

TEST_F(SecurityEditingTest, AddingADeviceCleansItsIdAndRefusesInOrder) {
  const struct {
    const char* id;
    const char* description;
    const char* refusal;
  } refused[] = {
      {"", "Shop", "Blank device ID entered"},
      {"0000", "Shop", "Blank device ID entered"},
      {"12G4", "Shop", "Device ID can only contain 0-9, A-F characters"},
      {"1a2b", "  ", "Blank device description entered"},
      {"1a2b", "All Unlocked Devices", "Device description already in list"},
  };
  for (const auto& r : refused) {
    Type(r.id, r.description);
    op.ExpectMessage("Unable to Add Device ID", r.refusal);
    EXPECT_FALSE(AddDevice(draft, model, op)) << r.refusal;
  }
  Type(" 1a2b ", " Front desk ");
  op.ExpectQuestion("Add Device",
                    "Device ID: 0000000000001A2B\nDescription: Front desk\nTime Zone to: Europe/Berlin",
                    OperatorAnswer::Yes);
  ASSERT_TRUE(AddDevice(draft, model, op));
  EXPECT_EQ(draft.devices.back(), (DeviceEntry{"0000000000001A2B", "Front desk", "Europe/Berlin"}));
  EXPECT_EQ(draft.idText, "0000000000001A2B");
  Type("1A2B", "Back office");
  op.ExpectMessage("Unable to Add Device ID", "Device already in list");
  EXPECT_FALSE(AddDevice(draft, model, op));
  // Without time zones the question has no zone line; No adds nothing.
  Type("BEEF", "Cellar");
  model.hasTimeZone = false;
  op.ExpectQuestion("Add Device", "Device ID: 000000000000BEEF\nDescription: Cellar", OperatorAnswer::No);
  EXPECT_FALSE(AddDevice(draft, model, op));
  EXPECT_EQ(draft.devices.size(), 2u);
}

TEST_F(SecurityEditingTest, DeletingAndUpdatingKeepTheAllDevicesEntry) {
  draft.devices.push_back({"0000000000001A2B", "Front desk", "Europe/Berlin"});
  op.ExpectMessage("Unable to Delete Device", "Blank device ID selected");
  EXPECT_FALSE(DeleteDevice(draft, model, op));
  Type("0000000000000000", "Renamed", "America/Edmonton");
  op.ExpectMessage("Unable to Update Device", "Blank device description cannot be changed");
  EXPECT_FALSE(UpdateDevice(draft, model, op));
  // Its zone can change while the description stays.
  Type("0000000000000000", "All Unlocked Devices", "Asia/Tokyo");
  op.ExpectQuestion("Change Device Description",
                    "Change device ID: 0000000000000000\nDescription to: All Unlocked Devices"
                    "\nTime Zone to: Asia/Tokyo",
                    OperatorAnswer::Yes);
  EXPECT_TRUE(UpdateDevice(draft, model, op));
  EXPECT_EQ(draft.devices[0].TimeZone, "Asia/Tokyo");
  op.ExpectMessage("Unable to Update Device", "Device description / time zone not changed");
  EXPECT_FALSE(UpdateDevice(draft, model, op));

  SelectDevice(draft, 1);
  op.ExpectQuestion("Delete Device",
                    "Device ID: 0000000000001A2B\nDescription: Front desk\nTime Zone to: Europe/Berlin",
                    OperatorAnswer::Yes);
  EXPECT_TRUE(DeleteDevice(draft, model, op));
  EXPECT_EQ(draft.devices.size(), 1u);
  EXPECT_EQ(draft.idText, kAllZeroKey);
  Type("0000000000009999", "All Unlocked Devices");
  op.ExpectMessage("Unable to Delete Device", "Device ID not found");
  EXPECT_FALSE(DeleteDevice(draft, model, op));
}

TEST_F(SecurityEditingTest, AZoneOutsideTheTableShowsTheDefault) {
  settings.Devices.push_back({"0000000000001A2B", "Front desk", "Mars/Olympus"});
  settings.DeviceId = "0000000000001A2B";
  draft = DraftOf(settings, kNow);
  EXPECT_EQ(draft.zoneText, "America/Edmonton");
  EXPECT_EQ(draft.descriptionText, "Front desk");
}

TEST_F(SecurityEditingTest, OkChecksInOrderAndStoresOnlyWhenAllPass) {
  draft.keys = {"KEY1", kAllZeroKey};
  draft.keyText = "KEY1";
  const SecuritySettings before = settings;
  op.ExpectMessage("Invalid Security Settings Combination",
                   "Device ID cannot be blank if provider key is selected");
  EXPECT_FALSE(ConfirmSecurity(draft, model, kNow, Confirmation::Asked, op, settings));
  draft.devices.push_back({"0000000000001A2B", "Front desk", "Europe/Berlin"});
  SelectDevice(draft, 1);
  draft.staleEnabled = true;
  draft.staleDay = {2024, 3, 15};  // today; tomorrow is accepted below
  op.ExpectMessage("Media Stale Date Invalid", "Media stale date needs to be in the future");
  EXPECT_FALSE(ConfirmSecurity(draft, model, kNow, Confirmation::Asked, op, settings));
  EXPECT_EQ(settings, before);
  draft.staleDay = {2024, 3, 16};
  draft.unlock = true;
  op.ExpectQuestion("WARNING!", "Reset service provider key and unlock device?", OperatorAnswer::Yes)
      .ExpectQuestion("Current Security Settings",
                      "Provider Key: KEY1\nDevice ID: 0000000000001A2B\nDescription: Front desk"
                      "\nMedia Stale Date: Saturday, March 16, 2024\nTime Zone: Europe/Berlin"
                      "\n\n>>> UNLOCK DEVICE <<<",
                      OperatorAnswer::Yes);
  ASSERT_TRUE(ConfirmSecurity(draft, model, kNow, Confirmation::Asked, op, settings));
  EXPECT_EQ(settings.DeviceId, "0000000000001A2B");
  EXPECT_EQ(settings.ProviderKey, "KEY1");
  EXPECT_EQ(settings.AssignedProviderKey, "KEY1");
  EXPECT_EQ(settings.TimeZone, "Europe/Berlin");
  EXPECT_EQ(settings.StaleDate, (SecurityDateTime{{2024, 3, 16, 0, 0, 0}, true}));
  EXPECT_EQ(settings.LastConfirmedDate, (SecurityDateTime{kNow, true}));
  EXPECT_TRUE(settings.UnlockDevice);
  EXPECT_EQ(settings.Devices.size(), 2u);

  // A backup asks nothing and never stores the unlock order.
  ASSERT_TRUE(ConfirmSecurity(draft, model, kNow, Confirmation::ForBackup, op, settings));
  EXPECT_FALSE(settings.UnlockDevice);
}

TEST_F(SecurityEditingTest, TheSummarySaysWhatTheModelOffers) {
  EXPECT_EQ(SecuritySummary(draft, model),
            "Provider Key: 0000000000000000\nDevice ID: 0000000000000000"
            "\nDescription: All Unlocked Devices\nMedia Stale Date: Never"
            "\nTime Zone: America/Edmonton");
  draft.staleEnabled = true;
  draft.staleDay = {2024, 4, 1};
  model = {true, false, false};
  EXPECT_EQ(SecuritySummary(draft, model),
            "Provider Key: 0000000000000000\nDevice ID: 0000000000000000"
            "\nDescription: All Unlocked Devices\nApprox. Media Stale Date: Monday, April 01, 2024");
}

TEST_F(SecurityEditingTest, AKeyMustBeAssignedBeforeItIsUsed) {
  draft.keyText = "MYKEY";
  op.ExpectMessage("Service Provider Key Not Set",
                   "Service provider key must be assigned before it can be used");
  EXPECT_FALSE(ConfirmSecurity(draft, model, kNow, Confirmation::Asked, op, settings));
  draft.keyText = " 000 ";
  op.ExpectMessage("Unable to Add Key", "Blank key entered");
  EXPECT_FALSE(AssignKey(draft, op));
  draft.keyText = " MYKEY ";
  op.ExpectQuestion(
      "Set Provider Key",
      "Assign key to software: MYKEY\n\nIMPORTANT!\n\nRecord the Service Provider Key and store "
      "it in a \nsecure location.  Once a device has been linked to a \nService Provider Key, "
      "future content updates are not \nallowed without that same key. \n\nService Provider "
      "Keys should ONLY be used by MOH \nService Providers.  If you are not an MOH Service "
      "\nProvider you should not use this feature as it will \npermanently lock your device if "
      "you lose the key. \n\nAny locked device would need to return to the factory \nfor "
      "reprogramming and would be subject to a \nreprogramming fee.  Unless you are a MOH "
      "Service \nProvider press NO below. \n\nDo you wish to assign the Provider Key?",
      OperatorAnswer::Yes);
  EXPECT_TRUE(AssignKey(draft, op));
  // Picking the key to use warns the same way, and points at the backup.
  const std::string& question = UseProviderKeyQuestion();
  EXPECT_EQ(question.rfind("\nIMPORTANT!\n\nService Provider Keys should ONLY", 0), 0u);
  EXPECT_NE(question.find("press NO below. \n\nIt is recommended"), std::string::npos);
  EXPECT_TRUE(question.ends_with("\n\nDo you wish to use the Provider Key?"));
  EXPECT_EQ(draft.keys, (std::vector<std::string>{"MYKEY", kAllZeroKey}));
  EXPECT_TRUE(KeyAssigned(draft));
  // Opened again, the assigned key is offered with "none" after it.
  settings.AssignedProviderKey = "MYKEY";
  settings.ProviderKey = kAllZeroKey;
  const SecurityDraft reopened = DraftOf(settings, kNow);
  EXPECT_EQ(reopened.keys, (std::vector<std::string>{"MYKEY", kAllZeroKey}));
  EXPECT_EQ(reopened.keyText, kAllZeroKey);
}

}  // namespace
}  // namespace corvane::test
