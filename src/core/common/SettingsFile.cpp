#include "common/SettingsFile.h"

#include <unistd.h>

#include <system_error>

#include "common/ByteStream.h"

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

  std::filesystem::path temporary = target;
  temporary += ".tmp" + std::to_string(::getpid());
  FileStream file = FileStream::CreateForWrite(temporary);
  bool ok = file.IsOpen() && file.Write(bytes) == bytes.size() && file.Sync();
  ok = file.Close() && ok;
  if (ok) {
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    ok = !renameError;
  }
  if (!ok) std::filesystem::remove(temporary, ignored);
  return ok;
}

}  // namespace corvane
