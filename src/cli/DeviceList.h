#pragma once
// The players a production is relocked for: device IDs given one by one on
// the command line or listed in a file, one a line.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane::cli {

// Upper case, left-padded to 16 digits; nothing unless 1-16 hexadecimal digits.
std::optional<std::string> DeviceIdFromText(std::string text);

struct DeviceList {
  std::vector<std::string> ids;       // in the order given, each once
  std::vector<std::string> problems;  // "FILE:LINE: why", one per refused line
};

// Reads a list: blanks around an ID do not matter, and "#" starts a comment
// (a whole line or the rest of one). A line that is not a device ID is
// refused with its number; the others are kept. Nothing when the file
// cannot be read.
std::optional<DeviceList> ReadDeviceList(const std::filesystem::path& file);

}  // namespace corvane::cli
