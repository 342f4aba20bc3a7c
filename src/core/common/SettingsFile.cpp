#include "common/SettingsFile.h"

#include <system_error>

#include "common/ByteStream.h"
#include "common/ReplacingFile.h"

namespace corvane {

std::optional<std::vector<std::uint8_t>> ReadFileUpTo(const std::filesystem::path& path,
                                                       std::size_t maxBytes) {
  FileStream file = FileStream::OpenForRead(path);
  if (!file.IsOpen()) return std::nullopt;
  std::vector<std::uint8_t> bytes(maxBytes);
  bytes.resize(file.Read(bytes));
  if (!file.Close()) return std::nullopt;
  return bytes;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  std::error_code ignored;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
  ReplacingFile file(target);
  // Settings are small and costly to lose: they reach the disk before they
  // replace the old ones.
  return file.IsOpen() && file.Stream().Write(bytes) == bytes.size() && file.Commit(true);
}

}  // namespace corvane
