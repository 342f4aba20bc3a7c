#pragma once
// Saving the project as a media package and opening a package back: the
// questions, the work the progress dialog runs, and the clean-up after.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "common/Progress.h"
#include "package/PackageStatus.h"
#include "package/SecuritySettings.h"
#include "project/ProjectContext.h"

namespace corvane {

// Why a package with scheduled messages is refused outside MOH mode.
inline constexpr const char* kIncompatibleText =
    "\nThis file was created with Scheduled Messages which "
    "\nare not compatible with the current operation mode. "
    "\n\nTo open this file, restart the application, and "
    "\nselect the 'Music On Hold Service Resellers Only' "
    "\ncheckbox to enable the functionality.  Delete all "
    "\nscheduled messages from the channel pages and "
    "\nresave the file.";

inline constexpr const char* kPackageFilter =
    "Corvane Media Files (*.ipc)|*.ipc|All Files (*.*)|*.*||";

// The files that go into the package, each once: the playlists' files of
// channel 1 then channel 2, then "config.dat", then for Tonvex-One the mixed
// production.
std::vector<std::filesystem::path> CollectPackageMembers(const SessionState& session,
                                                         std::int32_t model);

// The package's file name from the name the operator chose: its extension and
// any model tag cut off, then the model tag, the date, a provider key marker,
// "_", the device ID and ".ipc".
std::string PackageFileName(const std::string& chosenName, std::int32_t model,
                            const LocalDateTime& today, const std::string& providerKey,
                            bool unlock, const std::string& deviceId);

// The configuration record's stale date word and days to it from today.
std::uint32_t StaleDateWord(const SecurityDateTime& date);
std::uint16_t StaleDays(const SecurityDateTime& date, const LocalDateTime& today);
SecurityDateTime StaleDateFromWord(std::uint32_t word);

// The work of the progress dialog.
PackageStatus SavePackageAs(ProjectContext& context, Progress& progress);
PackageStatus OpenPackage(ProjectContext& context, Progress& progress);

// The home screen's "Save Current Content to File" and "Open Existing File",
// the work shown in the dialog. True when a package was saved or opened.
bool RunSaveFlow(ProjectContext& context, PackageProgressDialog& dialog);
bool RunOpenFlow(ProjectContext& context, PackageProgressDialog& dialog);

// Deletes "update.bin" and "config.dat" from the temporary folder.
void DeleteTemporaryRecordFiles(const SessionState& session);

}  // namespace corvane
