#pragma once
// Everything that lives for one run of the application and that more than one
// screen needs. Screens edit it in place or copy parts and write them back.

#include <cstdint>

#include "audio/AudioType.h"
#include "channel/ChannelConfig.h"
#include "media/LoudnessPreference.h"
#include "package/DeviceConfigRecord.h"
#include "package/SecuritySettings.h"
#include "session/SessionFolders.h"

namespace corvane {

class SessionState {
 public:
  explicit SessionState(SessionFolders folders) : Folders(std::move(folders)) {}
  SessionState(const SessionState&) = delete;
  SessionState& operator=(const SessionState&) = delete;

  SessionFolders Folders;
  ChannelConfig Channel1;
  ChannelConfig Channel2;  // all zero until first loaded
  ST_AUDIO_TYPE Audio;
  SecuritySettings Security;
  DeviceConfigRecord ConfigRecord;
  LoudnessPreference Loudness;

  // Writes the model's properties into Audio and sets the conversion rate to
  // the project rate, which re-derives the maximum length for models with
  // storage. With reloadAudio the model's audio settings file is read first.
  void ApplyModel(std::int32_t model, bool reloadAudio);

  // Deletes every file directly inside the temporary folder, and the
  // program's own unpacking folders there; other folders stay.
  void ClearTempFolder() const;
};

// The one session of this process.
SessionState& CurrentSession();

}  // namespace corvane
