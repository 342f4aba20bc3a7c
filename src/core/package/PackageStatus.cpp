#include "package/PackageStatus.h"

#include <array>

namespace corvane {

std::string_view PackageStatusText(int code) {
  static constexpr std::array<std::string_view, 15> kTexts = {
      "",
      "Memory Allocation Error.\n",
      "Error Accessing File.\n",
      "Error Reading File.\n",
      "Error Writing File.\n",
      "File CRC Error.\n",
      "Invalid File Length.\n",
      "System Already Updated.\n",
      "Update File Not Found.\n",
      "Update File Not Valid.\n",
      "Invalid Authorization.\n",
      "Invalid Filename.\n",
      "Configuration File Invalid.\n",
      "User Cancelled.\n",
      "Invalid Device ID.\n",
  };
  if (code < 0 || code >= static_cast<int>(kTexts.size())) return {};
  return kTexts[static_cast<std::size_t>(code)];
}

}  // namespace corvane
