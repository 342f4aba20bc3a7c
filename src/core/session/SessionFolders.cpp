#include "session/SessionFolders.h"

#include <cstdlib>
#include <system_error>

namespace corvane {
namespace {

std::filesystem::path FromEnvironment(const EnvironmentLookup& environment, const char* name) {
  const char* value = environment(name);
  return (value != nullptr && *value != '\0') ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path UserDataFolder(const EnvironmentLookup& environment) {
  std::filesystem::path xdg = FromEnvironment(environment, "XDG_DATA_HOME");
  // The XDG rules ignore a relative XDG_DATA_HOME.
  if (!xdg.empty() && xdg.is_absolute()) return xdg;
  std::filesystem::path home = FromEnvironment(environment, "HOME");
  if (home.empty()) home = ".";
  return home / ".local" / "share";
}

std::filesystem::path InstalledFilesFolder(const EnvironmentLookup& environment) {
  std::filesystem::path program = FromEnvironment(environment, "CORVANE_PROGRAM_DIR");
  if (!program.empty()) return program;
  std::error_code ignored;
  const std::filesystem::path installed = CORVANE_INSTALL_DATA_DIR;
  if (std::filesystem::is_directory(installed, ignored)) return installed;
  return CORVANE_SOURCE_ASSETS_DIR;
}

}  // namespace

SessionFolders ResolveSessionFolders(const EnvironmentLookup& environment) {
  SessionFolders folders;
  folders.ApplicationFolder = FromEnvironment(environment, "CORVANE_DATA_DIR");
  if (folders.ApplicationFolder.empty()) {
    folders.ApplicationFolder = UserDataFolder(environment) / "Melloway";
  }
  folders.TempFolder = (folders.ApplicationFolder / "temp" / "").string();
  folders.ProgramFolder = InstalledFilesFolder(environment);
  folders.SilentFile = folders.ProgramFolder / "null.wav";
  return folders;
}

SessionFolders ResolveSessionFolders() {
  return ResolveSessionFolders([](const char* name) { return std::getenv(name); });
}

void CreateSessionFolders(const SessionFolders& folders) {
  std::error_code ignored;
  std::filesystem::create_directories(folders.ApplicationFolder, ignored);
  std::filesystem::create_directories(folders.TempFolder, ignored);
}

void ClearFolderFiles(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code ignored;
    // A link is removed itself, never what it points to.
    if (!it->is_directory(ignored) || it->is_symlink(ignored)) {
      std::filesystem::remove(it->path(), ignored);
    }
  }
}

}  // namespace corvane
