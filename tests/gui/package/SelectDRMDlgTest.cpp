// "Media Security" as the operator uses it: devices added and picked, the
// stale date, the provider key, and what OK and Cancel leave behind.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "gui/package/SelectDRMDlg.h"
#include "package/KeyText.h"
#include "package/SecuritySettingsFile.h"
#include "session/DeviceModel.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

class GuiMediaSecurity : public ScreenTest {
 protected:
  GuiMediaSecurity() {
    session.ApplyModel(ModelNumber(DeviceModel::TonvexSU), true);
    session.Security.MohMode = true;
    session.Security.RestoreOffered = false;
  }
  static void Fill(QComboBox* box, const QString& text) {
    box->setFocus();
    box->lineEdit()->selectAll();
    box->lineEdit()->insert(text);
  }
};

TEST_F(GuiMediaSecurity, ADeviceAddedAndPickedIsStoredOnOkWithTheStaleDate) {
  CSelectDRMDlg screen(context, screens);
  ShowScreen(screen);
  EXPECT_FALSE(Find<QWidget>(&screen, "calendar")->isVisible());
  EXPECT_TRUE(Find<QWidget>(&screen, "picture")->isVisible());
  EXPECT_EQ(Find<QComboBox>(&screen, "timeZone")->currentText(), "America/Edmonton");

  Fill(Find<QComboBox>(&screen, "deviceId"), "1a2b");
  Fill(Find<QComboBox>(&screen, "description"), "Front desk");
  Find<QComboBox>(&screen, "timeZone")->setCurrentText("Europe/Berlin");
  op.ExpectQuestion("Add Device",
                    "Device ID: 0000000000001A2B\nDescription: Front desk\nTime Zone to: Europe/Berlin",
                    OperatorAnswer::Yes);
  Click(Find<QAbstractButton>(&screen, "addDevice"));
  EXPECT_EQ(Find<QComboBox>(&screen, "deviceId")->currentText(), "0000000000001A2B");

  // Picking the first description brings its ID along; picking back too.
  auto* description = Find<QComboBox>(&screen, "description");
  emit description->activated(0);
  EXPECT_EQ(Find<QComboBox>(&screen, "deviceId")->currentText(), kAllZeroKey);
  emit description->activated(1);
  EXPECT_EQ(Find<QComboBox>(&screen, "timeZone")->currentText(), "Europe/Berlin");

  Click(Find<QCheckBox>(&screen, "staleDate"));
  EXPECT_TRUE(Find<QWidget>(&screen, "calendar")->isVisible());
  Find<QCalendarWidget>(&screen, "calendar")->setSelectedDate(QDate(2024, 3, 16));
  op.ExpectQuestion("Current Security Settings",
                    "Provider Key: 0000000000000000\nDevice ID: 0000000000001A2B\nDescription: Front desk"
                    "\nMedia Stale Date: Saturday, March 16, 2024\nTime Zone: Europe/Berlin",
                    OperatorAnswer::Yes);
  Click(Find<QAbstractButton>(&screen, "ok"));
  EXPECT_EQ(screen.result(), CSelectDRMDlg::kStored);
  EXPECT_EQ(session.Security.DeviceId, "0000000000001A2B");
  SecuritySettings stored;
  ASSERT_TRUE(LoadSecuritySettings(stored, session.Folders.ApplicationFolder));
  EXPECT_EQ(stored.Devices, session.Security.Devices);
  EXPECT_EQ(session.Security.StaleDate, (SecurityDateTime{{2024, 3, 16, 0, 0, 0}, true}));
  EXPECT_FALSE(stored.RestoreOffered);
}

TEST_F(GuiMediaSecurity, CancelStoresNothingAndALaterDayWarnsOnce) {
  session.Security.StaleDate = {{2024, 4, 1, 0, 0, 0}, true};
  session.Security.LastConfirmedDate = {{2024, 3, 14, 9, 0, 0}, true};  // the clock says the 15th
  const SecuritySettings before = session.Security;
  op.ExpectMessage("Day Changed", "Confirm stale date setting is correct.");
  CSelectDRMDlg screen(context, screens);
  ShowScreen(screen);
  for (int tick = 0; tick < 3; ++tick) screen.ClockTick();
  EXPECT_TRUE(Find<QCheckBox>(&screen, "staleDate")->isChecked());
  EXPECT_TRUE(Find<QWidget>(&screen, "calendar")->isVisible());
  EXPECT_EQ(Find<QCalendarWidget>(&screen, "calendar")->selectedDate(), QDate(2024, 4, 1));
  Fill(Find<QComboBox>(&screen, "deviceId"), "BEEF");
  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::No);
  Click(Find<QAbstractButton>(&screen, "cancel"));
  EXPECT_TRUE(screen.isVisible());
  PressEscape(Find<QWidget>(&screen, "deviceId"));
  EXPECT_TRUE(screen.isVisible());
  op.ExpectQuestion("Cancel", "Abandon changes?", OperatorAnswer::Yes);
  Click(Find<QAbstractButton>(&screen, "cancel"));
  EXPECT_EQ(screen.result(), CSelectDRMDlg::kLeft);
  EXPECT_EQ(session.Security, before);
}

TEST_F(GuiMediaSecurity, AnAssignedKeyNeedsADeviceAndOffersTheUnlockOrder) {
  session.Security.AssignedProviderKey = "SHOPKEY";
  session.Security.Devices.push_back({"0000000000001A2B", "Front desk", ""});
  CSelectDRMDlg screen(context, screens);
  ShowScreen(screen);
  auto* key = Find<QComboBox>(&screen, "providerKey");
  EXPECT_EQ(key->count(), 2);
  EXPECT_FALSE(Find<QWidget>(&screen, "assignKey")->isVisible());
  EXPECT_FALSE(Find<QCheckBox>(&screen, "unlock")->isEnabled());
  key->setCurrentIndex(0);
  op.ExpectQuestion("Use Provider Key?", UseProviderKeyQuestion(), OperatorAnswer::No);
  emit key->activated(0);
  EXPECT_EQ(key->currentText(), kAllZeroKey);
  EXPECT_FALSE(Find<QCheckBox>(&screen, "unlock")->isEnabled());
  // The key on a device that is in the list: the unlock order may be given.
  op.ExpectQuestion("Use Provider Key?", UseProviderKeyQuestion(), OperatorAnswer::Yes);
  key->setCurrentIndex(0);
  emit key->activated(0);
  EXPECT_TRUE(Find<QCheckBox>(&screen, "unlock")->isEnabled());
}

}  // namespace
}  // namespace corvane::test
