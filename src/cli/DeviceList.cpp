#include "DeviceList.h"

#include <cctype>
#include <fstream>
#include <unordered_set>

#include "common/Blanks.h"
#include "package/PackageCipher.h"

namespace corvane::cli {
namespace {

// A list longer than any provider's fleet is a wrong file, not a list.
constexpr std::size_t kMaxLineBytes = 4096;
constexpr std::size_t kMaxDevices = 100000;

}  // namespace

std::optional<std::string> DeviceIdFromText(std::string text) {
  if (text.empty() || text.size() > 16) return std::nullopt;
  for (char& c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  LeftPadTo16(text);
  return text;
}

std::optional<DeviceList> ReadDeviceList(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  DeviceList list;
  std::unordered_set<std::string> listed;  // a long list is not searched line by line
  std::string line;
  for (std::size_t number = 1; std::getline(in, line); ++number) {
    const auto where = [&] { return file.string() + ":" + std::to_string(number) + ": "; };
    if (line.size() > kMaxLineBytes) {
      list.problems.push_back(where() + "the line is too long for a device ID");
      continue;
    }
    const std::string text(WithoutBlanksAround(std::string_view(line).substr(0, line.find('#'))));
    if (text.empty()) continue;
    const auto id = DeviceIdFromText(text);
    if (!id) {
      list.problems.push_back(where() + "'" + text + "' is not a device ID (1 to 16 hexadecimal digits)");
    } else if (!listed.contains(*id)) {
      if (list.ids.size() == kMaxDevices) {
        list.problems.push_back(where() + "more than " + std::to_string(kMaxDevices) + " devices");
        break;
      }
      list.ids.push_back(*id);
      listed.insert(*id);
    }
  }
  return list;
}

}  // namespace corvane::cli
