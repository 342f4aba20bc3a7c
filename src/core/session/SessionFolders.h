#pragma once
// Where the session keeps its settings and working files, and where the
// installed files lie.

#include <filesystem>
#include <functional>
#include <string>

namespace corvane {

// Reads an environment variable; null when unset. Replaced in tests.
using EnvironmentLookup = std::function<const char*(const char*)>;

struct SessionFolders {
  std::filesystem::path ApplicationFolder;  // settings files, the instance lock
  std::string TempFolder;                   // ends with a separator: names append directly
  std::filesystem::path ProgramFolder;      // installed files
  std::filesystem::path SilentFile;         // ProgramFolder / "null.wav"
};

// The application folder is CORVANE_DATA_DIR when set, else the user's data
// folder (XDG_DATA_HOME, else ~/.local/share) + "Melloway"; the temporary
// folder is that + "temp". The installed files are in CORVANE_PROGRAM_DIR when
// set, else in the installed share folder, else in the source tree's assets.
SessionFolders ResolveSessionFolders(const EnvironmentLookup& environment);
SessionFolders ResolveSessionFolders();

// Creates the application and temporary folders; failures are ignored (the
// folders may exist already, and a later write reports a real problem).
void CreateSessionFolders(const SessionFolders& folders);

// Deletes every file directly inside the folder; sub-folders stay; failures
// are ignored.
void ClearFolderFiles(const std::filesystem::path& folder);

}  // namespace corvane
