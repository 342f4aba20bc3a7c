#pragma once
// Saving the project as a media package and opening a package back: the
// questions, the work the progress dialog runs, and the clean-up after.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/Clock.h"
#include "common/Progress.h"
#include "common/TraceLog.h"
#include "operator/Operator.h"
#include "package/PackageStatus.h"
#include "project/SessionState.h"

namespace corvane {

// What the home screen keeps about the project: the device model it is for
// and whether anything changed since the last load or save.
struct HomeState {
  std::int32_t CurrentModel = 2;
  bool SecurityModified = false;
  bool Channel1Modified = false;
  bool Channel2Modified = false;
  bool FileSaved = false;
  bool DayChangeWarned = false;

  void ClearChangeFlags() {
    SecurityModified = Channel1Modified = Channel2Modified = FileSaved = false;
  }
};

// Mixes channel 1 into the temporary "output.wav" that a Tonvex-One package
// carries.
class ProductionMixer {
 public:
  virtual ~ProductionMixer() = default;
  virtual void MixChannel1(SessionState& session) = 0;
};

// The modal progress dialog: shows the text, runs the work, shows the result
// and returns the work's status code.
class PackageProgressDialog {
 public:
  virtual ~PackageProgressDialog() = default;
  virtual int Run(const std::string& text, const std::function<PackageStatus(Progress&)>& work) = 0;
};

struct ProjectServices {
  SessionState& session;
  HomeState& home;
  Operator& op;
  const Clock& clock;
  ProductionMixer& mixer;
  PackageProgressDialog& dialog;
  TraceLog trace;
};

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
PackageStatus SavePackageAs(ProjectServices& services, Progress& progress);
PackageStatus OpenPackage(ProjectServices& services, Progress& progress);

// The home screen's "Save Current Content to File" and "Open Existing File".
// True when a package was saved or opened.
bool RunSaveFlow(ProjectServices& services);
bool RunOpenFlow(ProjectServices& services);

// Deletes "update.bin" and "config.dat" from the temporary folder.
void DeleteTemporaryRecordFiles(const SessionState& session);

}  // namespace corvane
