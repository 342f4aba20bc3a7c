#include "common/PrivateFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <string>
#include <system_error>

namespace corvane {
namespace {

constexpr std::size_t kUniquePart = 6;  // what mkdtemp fills in

bool IsLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

PrivateFolder::PrivateFolder(const std::filesystem::path& parent, std::string_view prefix) {
  std::string pattern = (parent / prefix).string();
  pattern += '-';
  pattern.append(kUniquePart, 'X');
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

bool IsPrivateFolderName(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + 1 + kUniquePart || !name.starts_with(prefix) ||
      name[prefix.size()] != '-') {
    return false;
  }
  const std::string_view unique = name.substr(prefix.size() + 1);
  return std::all_of(unique.begin(), unique.end(), IsLetterOrDigit);
}

void RemoveLeftPrivateFolders(const std::filesystem::path& parent, std::string_view prefix) {
  std::error_code error;
  std::filesystem::directory_iterator it(parent, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    if (!IsPrivateFolderName(it->path().filename().string(), prefix)) continue;
    // remove_all takes a link for what it is and never goes through one.
    std::error_code ignored;
    std::filesystem::remove_all(it->path(), ignored);
  }
}

}  // namespace corvane
