// Any bytes as the stored security settings file. The loader must not crash;
// a file it accepts must save and load back to the same settings, and saving
// those again must give the same bytes (the round trip the screens rely on).
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <system_error>

#include "FuzzFolder.h"
#include "package/SecuritySettingsFile.h"

namespace {

namespace fs = std::filesystem;
using corvane::SecuritySettings;

using corvane::fuzz::FuzzFolder;

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SamePersistedFields(const SecuritySettings& a, const SecuritySettings& b) {
  return a.UserName == b.UserName && a.Password == b.Password &&
         a.AssignedProviderKey == b.AssignedProviderKey && a.Devices == b.Devices &&
         a.MohMode == b.MohMode && a.RestoreOffered == b.RestoreOffered;
}

// What every load promises the screens, valid or not.
void CheckListShape(const SecuritySettings& settings) {
  const std::size_t count = settings.Devices.size();
  Check(count >= 1 && count <= corvane::kMaxDeviceEntries);
  Check(settings.Devices[0].Id == corvane::kAllZeroKey);
  Check(settings.Devices[0].Description == corvane::kAllDevicesDescription);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  const fs::path stored = corvane::SecuritySettingsPath(folder.Path());
  {
    std::ofstream out(stored, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    Check(out.good());
  }
  const std::span<const std::uint8_t> input(data, size);

  SecuritySettings first;
  const bool valid = corvane::LoadSecuritySettings(first, folder.Path());
  CheckListShape(first);
  SecuritySettings direct;
  Check(corvane::DecodeSecuritySettings(input, direct) == valid);
  Check(direct == first);
  if (!valid) {
    Check(first == SecuritySettings{});
    Check(!fs::exists(stored));
    return 0;
  }

  SecuritySettings toSave = first;
  Check(corvane::SaveSecuritySettings(toSave, folder.Path(), false));
  const auto saved = corvane::EncodeSecuritySettings(first);
  Check(saved.size() <= corvane::kSecuritySettingsMaxBytes);

  SecuritySettings second;
  Check(corvane::LoadSecuritySettings(second, folder.Path()));
  Check(SamePersistedFields(first, second));
  Check(corvane::EncodeSecuritySettings(second) == saved);
  return 0;
}
