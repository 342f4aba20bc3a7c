#pragma once
// A folder of the program's own with a unique name inside a parent folder:
// members are unpacked there until a package proves sound, the command line
// stages a package there. It is removed, with everything in it, when its
// owner goes; what a killed run left is found again by its name.

#include <filesystem>
#include <string_view>

namespace corvane {

// Where a package is unpacked until it has proved sound.
inline constexpr std::string_view kUnpackingFolderPrefix = ".unpacking";

class PrivateFolder {
 public:
  // parent / (prefix + "-" + six random letters or digits); Exists() is false
  // when it could not be made.
  PrivateFolder(const std::filesystem::path& parent, std::string_view prefix);
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  ~PrivateFolder();

  bool Exists() const { return !path_.empty(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Whether name is one a PrivateFolder with this prefix is given.
bool IsPrivateFolderName(std::string_view name, std::string_view prefix);

// Removes, with their contents, the folders of that prefix directly inside
// parent that an owner never removed because the run was killed. Links are
// never followed: a link of that name is removed itself, and so is any link
// inside such a folder. Failures are ignored.
void RemoveLeftPrivateFolders(const std::filesystem::path& parent, std::string_view prefix);

}  // namespace corvane
