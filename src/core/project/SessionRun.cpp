#include "project/SessionRun.h"

#include "audio/AudioSettings.h"
#include "channel/ChannelSettingsFile.h"
#include "common/ReplacingFile.h"
#include "media/LoudnessPreference.h"
#include "package/SecuritySettingsFile.h"
#include "session/DeviceModel.h"

namespace corvane {

StartResult StartSession(SessionState& session, InstanceLock& lock) {
  CreateSessionFolders(session.Folders);
  // A folder where no lock file can be made must not keep the operator out.
  if (lock.Acquire(session.Folders.ApplicationFolder) == InstanceLock::Result::HeldElsewhere) {
    return StartResult::AlreadyRunning;
  }
  session.ConfigRecord = DeviceConfigRecord{};
  session.ClearTempFolder();
  // A settings save killed at the wrong instant leaves a whole copy under a
  // hidden name.
  RemoveLeftPartialFiles(session.Folders.ApplicationFolder);

  constexpr std::int32_t kStartModel = ModelNumber(DeviceModel::TonvexOne);
  LoadChannelSettings(session.Channel1, 1, kStartModel, session.Folders.ApplicationFolder);
  LoadAudioSettings(session.Audio, session.Folders.ApplicationFolder, kStartModel);
  // The login credentials and MOH mode are among them; a missing or damaged
  // file gives the built-in login.
  LoadSecuritySettings(session.Security, session.Folders.ApplicationFolder);
  session.Loudness = ReadLoudnessPreference(session.Folders.ApplicationFolder);
  return StartResult::Started;
}

int EndSession(SessionState& session) {
  session.ClearTempFolder();
  return 0;
}

}  // namespace corvane
