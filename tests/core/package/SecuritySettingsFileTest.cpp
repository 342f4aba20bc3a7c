#include "package/SecuritySettingsFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "operator/Operator.h"
#include "support/ScriptedOperator.h"
#include "support/TempFolder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;
using test::ScriptedOperator;
using Kind = ScriptedOperator::Kind;

// A record as stored, built independently of the encoder.
Bytes Record(const std::string& text, std::size_t width) {
  Bytes record(width, 0xFF);
  for (std::size_t i = 0; i < text.size() && i < width; ++i) {
    record[i] = static_cast<std::uint8_t>(~static_cast<unsigned char>(text[i]));
  }
  return record;
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes Credentials(const std::string& user = "op", const std::string& password = "secret") {
  return Record(user, 17) + Record(password, 17) + Record("1234ABCD1234ABCD", 17);
}
Bytes Entry(const std::string& id, const std::string& description, const std::string& zone) {
  return Record(id, 17) + Record(description, 25) + Record(zone, 40);
}
const Bytes kEndAndFlags = {0xAA, 0x55, 0xFE, 0xFF};  // MOH mode on, no restore offer
const Bytes kDefaultEndAndFlags = {0xAA, 0x55, 0xFF, 0xFE};

// One field of every device entry, in list order.
Names Column(const SecuritySettings& settings, std::string DeviceEntry::*field) {
  Names names;
  for (const DeviceEntry& device : settings.Devices) names.push_back(device.*field);
  return names;
}
Names Ids(const SecuritySettings& settings) { return Column(settings, &DeviceEntry::Id); }
Names Zones(const SecuritySettings& settings) { return Column(settings, &DeviceEntry::TimeZone); }

SecuritySettings ThreeDevices() {
  SecuritySettings settings;
  settings.UserName = "reseller";
  settings.Password = "p4ss";
  settings.AssignedProviderKey = "00112233AABBCCDD";
  settings.Devices = {{kAllZeroKey, kAllDevicesDescription, ""},
                      {"1111222233334444", "Front desk", "Europe/Berlin"},
                      {"ABCDEF0123456789", "Warehouse", "America/Argentina/ComodRivadavia"}};
  settings.MohMode = true;
  settings.RestoreOffered = false;
  return settings;
}

class SecuritySettingsFileTest : public ::testing::Test {
 protected:
  fs::path Stored() const { return SecuritySettingsPath(appFolder_); }
  void WriteStored(const Bytes& bytes) {
    fs::create_directories(appFolder_);
    test::WriteWholeFile(Stored(), bytes);
  }
  SecuritySettings Loaded() {
    SecuritySettings settings;
    EXPECT_TRUE(LoadSecuritySettings(settings, appFolder_));
    return settings;
  }
  void Save(SecuritySettings settings) {
    ASSERT_TRUE(SaveSecuritySettings(settings, appFolder_, false));
  }

  test::TempFolder root_;
  fs::path appFolder_ = root_ / "Melloway";  // not made yet, as on the first start
};

TEST_F(SecuritySettingsFileTest, SavedImageHasTheKnownLayoutWithTextsCutToTheirRecords) {
  Save(SecuritySettings{});
  EXPECT_EQ(test::ReadWholeFile(Stored()),
            Record("tavik", 17) + Record("tavik", 17) + Record(kAllZeroKey, 17) +
                Entry(kAllZeroKey, kAllDevicesDescription, "") + kDefaultEndAndFlags);

  SecuritySettings settings;
  settings.UserName = std::string(17, 'u');  // as wide as its record: no terminator
  settings.Password = std::string(30, 'p');
  settings.Devices.push_back({"0123456789ABCDEF", std::string(40, 'd'), std::string(60, 'z')});
  Save(settings);
  EXPECT_EQ(test::ReadWholeFile(Stored()),
            Record(std::string(17, 'u'), 17) + Record(std::string(17, 'p'), 17) +
                Record(kAllZeroKey, 17) + Entry(kAllZeroKey, kAllDevicesDescription, "") +
                Entry("0123456789ABCDEF", std::string(25, 'd'), std::string(40, 'z')) +
                kDefaultEndAndFlags);
  const SecuritySettings back = Loaded();
  EXPECT_EQ(back.UserName, std::string(17, 'u'));
  EXPECT_EQ(back.Devices[1].TimeZone, std::string(40, 'z'));
}

TEST_F(SecuritySettingsFileTest, ACutFileKeepsItsCompleteEntriesOrIsDeletedWithoutCredentials) {
  SecuritySettings settings = ThreeDevices();
  EXPECT_FALSE(LoadSecuritySettings(settings, appFolder_));  // no file at all
  EXPECT_EQ(settings, SecuritySettings{});
  EXPECT_TRUE(fs::is_directory(appFolder_));

  const Bytes whole = Credentials() + Entry(kAllZeroKey, kAllDevicesDescription, "Asia/Tokyo") +
                      Entry("1111222233334444", "Lobby", "Europe/Paris") +
                      Entry("5555666677778888", "Bar", "") + kEndAndFlags;
  // Credentials take 51 bytes and each entry 82. Fewer than 17 bytes, or the
  // password or key record incomplete: no entries, not valid. Then right after
  // the credentials, inside entry 2, in or just before the marker at 297, and
  // short of the flags.
  const struct {
    std::size_t size, entries;
  } cuts[] = {{0, 0},   {16, 0},  {17, 0},  {34, 0},  {50, 0}, {51, 1},
              {255, 2}, {297, 3}, {298, 3}, {299, 3}, {300, 3}};
  for (const auto& cut : cuts) {
    SCOPED_TRACE(cut.size);
    WriteStored(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut.size)));
    settings = ThreeDevices();
    EXPECT_EQ(LoadSecuritySettings(settings, appFolder_), cut.entries > 0);
    if (cut.entries == 0) {
      EXPECT_EQ(settings, SecuritySettings{});
      EXPECT_FALSE(fs::exists(Stored()));
      continue;
    }
    EXPECT_EQ(settings.UserName, "op");
    EXPECT_EQ(settings.Password, "secret");
    EXPECT_EQ(settings.AssignedProviderKey, "1234ABCD1234ABCD");
    ASSERT_EQ(settings.Devices.size(), cut.entries);
    EXPECT_EQ(settings.Devices[0].Id, kAllZeroKey);
    if (cut.entries > 1) {
      EXPECT_EQ(settings.Devices[1].Description, "Lobby");
    }
    EXPECT_FALSE(settings.MohMode);
    EXPECT_TRUE(settings.RestoreOffered);
  }
  WriteStored(whole);
  settings = Loaded();
  EXPECT_EQ(Zones(settings), (Names{"Asia/Tokyo", "Europe/Paris", ""}));
  EXPECT_TRUE(settings.MohMode);
  EXPECT_FALSE(settings.RestoreOffered);
}

TEST_F(SecuritySettingsFileTest, AllDevicesEntryIsAlwaysFirstAndTextsEndAtAZero) {
  WriteStored(Credentials() + kEndAndFlags);
  EXPECT_EQ(Ids(Loaded()), Names{kAllZeroKey});

  WriteStored(Credentials() + Entry("1111222233334444", "Lobby", "Europe/Paris") + kEndAndFlags);
  SecuritySettings settings = Loaded();
  EXPECT_EQ(Ids(settings), (Names{kAllZeroKey, "1111222233334444"}));
  EXPECT_EQ(Column(settings, &DeviceEntry::Description), (Names{kAllDevicesDescription, "Lobby"}));
  EXPECT_EQ(Zones(settings), (Names{"", "Europe/Paris"}));
  EXPECT_TRUE(settings.MohMode);

  WriteStored(Credentials() + Entry(kAllZeroKey, "Everything", "Asia/Tokyo") + kEndAndFlags);
  settings = Loaded();
  EXPECT_EQ(Column(settings, &DeviceEntry::Description), Names{kAllDevicesDescription});
  EXPECT_EQ(Zones(settings), Names{"Asia/Tokyo"});

  // Text ends at the first zero; any flag byte other than the stored zero is set.
  Bytes id = Record("12345678", 17);
  id[4] = 0xFF;
  WriteStored(Credentials() + id + Record("Desk", 25) + Record("", 40) +
              Bytes{0xAA, 0x55, 0x00, 0x80, 0x12, 0x34});  // bytes after the flags are ignored
  settings = Loaded();
  EXPECT_EQ(Ids(settings), (Names{kAllZeroKey, "1234"}));
  EXPECT_TRUE(settings.MohMode);
  EXPECT_TRUE(settings.RestoreOffered);
}

TEST_F(SecuritySettingsFileTest, DeviceListIsCappedOnReadAndOnWrite) {
  // More entries than the cap, none of them the all-devices entry.
  Bytes huge = Credentials();
  const Bytes entry = Entry("1111222233334444", "Lobby", "");
  for (int i = 0; i < 10050; ++i) huge = std::move(huge) + entry;
  WriteStored(huge + kEndAndFlags);

  SecuritySettings settings = Loaded();
  ASSERT_EQ(settings.Devices.size(), 10000u);
  EXPECT_EQ(settings.Devices.front().Id, kAllZeroKey);
  EXPECT_EQ(settings.Devices.back().Id, "1111222233334444");
  EXPECT_FALSE(settings.MohMode);  // the flags lie past what is read
  SecuritySettings decoded;
  ASSERT_TRUE(DecodeSecuritySettings(huge + kEndAndFlags, decoded));  // not cut by a read
  EXPECT_EQ(decoded, settings);

  settings.Devices.push_back({"AAAABBBBCCCCDDDD", "", ""});
  Save(settings);
  EXPECT_EQ(fs::file_size(Stored()), 51u + 10000 * 82 + 4);
  settings.Devices.pop_back();
  EXPECT_EQ(Loaded(), settings);
}

TEST_F(SecuritySettingsFileTest, MarkerLikeIdsAndUnevenListsDoNotDamageTheFile) {
  SecuritySettings settings = ThreeDevices();
  // An ID the reader would take for the end marker, then a good device.
  settings.Devices.insert(settings.Devices.begin() + 1, {std::string("U\xAA") + "00", "Odd", ""});
  settings.Devices.push_back({"9999000099990000", "", ""});  // no description or zone
  Save(settings);
  const SecuritySettings back = Loaded();
  EXPECT_EQ(Ids(back),
            (Names{kAllZeroKey, "1111222233334444", "ABCDEF0123456789", "9999000099990000"}));
  EXPECT_EQ(Zones(back), (Names{"", "Europe/Berlin", "America/Argentina/ComodRivadavia", ""}));
  EXPECT_TRUE(back.MohMode);
  EXPECT_FALSE(back.RestoreOffered);
}

void ExpectSettingsFileDialog(const FileDialogRequest& request, bool overwritePrompt) {
  EXPECT_EQ(request.filter, "Corvane Setting File (*.isf)|*.isf|All Files (*.*)|*.*||");
  EXPECT_EQ(request.initialName, "TMV_settings");
  EXPECT_EQ(request.defaultExtension, ".isf");
  EXPECT_EQ(request.overwritePrompt, overwritePrompt);
}

// The icons of the messages the operator saw, in order.
std::vector<OperatorIcon> MessageIcons(const ScriptedOperator& op) {
  std::vector<OperatorIcon> icons;
  for (const auto& shown : op.History()) {
    if (shown.kind == Kind::Message) icons.push_back(shown.icon);
  }
  return icons;
}

TEST_F(SecuritySettingsFileTest, BackupCopiesTheStoredFileAndSaysWhenItCannot) {
  const fs::path target = root_ / "backup.isf";
  ScriptedOperator op;
  op.ExpectSaveFile(target).ExpectMessage("Error", "Unable to back up settings.");
  EXPECT_FALSE(BackUpSecuritySettings(op, appFolder_));  // nothing stored yet
  EXPECT_FALSE(fs::exists(target));

  Save(ThreeDevices());
  fs::create_directories(root_ / "folder.isf");
  op.ExpectSaveFile(root_ / "folder.isf").ExpectMessage("Error", "Unable to back up settings.");
  EXPECT_FALSE(BackUpSecuritySettings(op, appFolder_));
  op.ExpectSaveFile(std::nullopt);
  EXPECT_FALSE(BackUpSecuritySettings(op, appFolder_));

  test::WriteWholeFile(target, Bytes(500, 0x42));
  op.ExpectSaveFile(target).ExpectMessage("Success", "Settings successfully backed up");
  EXPECT_TRUE(BackUpSecuritySettings(op, appFolder_));
  EXPECT_EQ(test::ReadWholeFile(target), test::ReadWholeFile(Stored()));
  ExpectSettingsFileDialog(op.History().at(0).request, true);
  EXPECT_EQ(MessageIcons(op),
            (std::vector{OperatorIcon::Stop, OperatorIcon::Stop, OperatorIcon::Information}));
}

TEST_F(SecuritySettingsFileTest, ValidFileIsRestoredWithMohModeOnAndTheOfferCleared) {
  SecuritySettings current;
  current.UserName = "before";
  Save(current);
  // Selections the file does not carry are reset.
  current.ProviderKey = "9999999999999999";
  current.DeviceId = "1111222233334444";
  current.TimeZone = "Europe/Berlin";
  current.StaleDate = {{2024, 5, 6, 7, 8, 9}, false};
  current.UnlockDevice = true;
  SecuritySettings backedUp = ThreeDevices();
  backedUp.MohMode = false;
  backedUp.RestoreOffered = true;
  const fs::path chosen = root_ / "old.isf";
  const Bytes chosenBytes = EncodeSecuritySettings(backedUp);
  test::WriteWholeFile(chosen, chosenBytes);

  ScriptedOperator op;
  op.ExpectOpenFile(chosen).ExpectMessage("Success", "Settings successfully restored");
  EXPECT_TRUE(RestoreSecuritySettings(op, current, appFolder_));
  ExpectSettingsFileDialog(op.History().at(0).request, false);
  EXPECT_EQ(MessageIcons(op), std::vector{OperatorIcon::Information});
  SecuritySettings expected = backedUp;
  expected.MohMode = true;
  expected.RestoreOffered = false;
  EXPECT_EQ(current, expected);
  EXPECT_EQ(Loaded(), expected);
  EXPECT_EQ(test::ReadWholeFile(chosen), chosenBytes);
}

TEST_F(SecuritySettingsFileTest, AnInvalidOrUnstorableRestoreChangesNothing) {
  SecuritySettings current = ThreeDevices();
  Save(current);
  const Bytes storedBefore = test::ReadWholeFile(Stored());
  current.DeviceId = "1111222233334444";  // a selection the file does not carry
  const SecuritySettings before = current;
  const fs::path shortFile = root_ / "short.isf";
  test::WriteWholeFile(shortFile, Bytes(16, 0x00));

  ScriptedOperator op;
  op.ExpectOpenFile(shortFile).ExpectMessage("Error", "File was invalid");
  op.ExpectOpenFile(root_ / "missing.isf").ExpectMessage("Error", "File was invalid");
  op.ExpectOpenFile(std::nullopt);
  EXPECT_FALSE(RestoreSecuritySettings(op, current, appFolder_));
  EXPECT_EQ(MessageIcons(op), std::vector(2, OperatorIcon::Stop));
  EXPECT_EQ(current, before);
  EXPECT_EQ(test::ReadWholeFile(Stored()), storedBefore);

  // A good file that cannot replace the stored one: a folder is in its place,
  // which neither a load nor a save takes away.
  fs::remove(Stored());
  fs::create_directories(Stored());
  SecuritySettings loaded;
  EXPECT_FALSE(LoadSecuritySettings(loaded, appFolder_));
  ASSERT_TRUE(loaded.RestoreOffered);
  EXPECT_FALSE(SaveSecuritySettings(loaded, appFolder_, true));
  EXPECT_FALSE(loaded.RestoreOffered);  // cleared even so: the caller asked for it
  EXPECT_TRUE(fs::is_directory(Stored()));
  const fs::path valid = root_ / "good.isf";
  test::WriteWholeFile(valid, EncodeSecuritySettings(SecuritySettings{}));
  op.ExpectOpenFile(valid).ExpectMessage("Error", "Unable to restore settings.");
  EXPECT_FALSE(RestoreSecuritySettings(op, current, appFolder_));
  EXPECT_EQ(current, before);
}

}  // namespace
}  // namespace corvane
