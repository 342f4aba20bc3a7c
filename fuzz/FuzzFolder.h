#pragma once
// One private folder for a whole fuzzing run, on a memory file system when
// there is one, removed at exit.

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/PrivateFolder.h"

namespace corvane::fuzz {

inline std::filesystem::path FuzzFolderParent() {
  std::error_code error;
  return std::filesystem::is_directory("/dev/shm", error) ? std::filesystem::path("/dev/shm")
                                                          : std::filesystem::temp_directory_path();
}

class FuzzFolder {
 public:
  FuzzFolder() : folder_(FuzzFolderParent(), "corvane-fuzz") {
    if (!folder_.Exists()) std::abort();
  }
  const std::filesystem::path& Path() const { return folder_.Path(); }

 private:
  PrivateFolder folder_;
};

}  // namespace corvane::fuzz
