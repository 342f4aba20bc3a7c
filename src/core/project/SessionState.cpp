#include "project/SessionState.h"

#include "audio/AudioSettings.h"
#include "common/PrivateFolder.h"
#include "session/DeviceModel.h"

namespace corvane {

void SessionState::ApplyModel(std::int32_t model, bool reloadAudio) {
  if (reloadAudio) LoadAudioSettings(Audio, Folders.ApplicationFolder, model);
  Audio.Model = model;

  const ModelProperties& p = PropertiesOf(model);
  Audio.ProjectCodec.Set("libvorbis");
  Audio.ChannelCountText.Set("1");
  Audio.ChannelCount = 1;
  Audio.MediaExtension.Set(".ogg");
  Audio.StorageMegabytes = p.StorageMegabytes;
  Audio.ListCapacity = p.ListCapacity;
  Audio.ScheduledCapacity = p.ScheduledCapacity;
  Audio.DefaultMusicFromFile = p.DefaultMusicFromFile;
  Audio.HasStaleDate = p.HasStaleDate;
  Audio.ExactStaleDate = p.ExactStaleDate;
  Audio.HasShuffle = p.HasShuffle;
  Audio.HasMessages = p.HasMessages;
  Audio.HasScheduledMessages = p.HasScheduledMessages;
  Audio.HasToneControls = p.HasToneControls;
  Audio.HasSecondChannel = p.HasSecondChannel;
  Audio.IsPlayerDevice = p.IsPlayerDevice;
  Audio.HasTimeZone = p.HasTimeZone;
  Audio.HasRepeatInterval = p.HasRepeatInterval;
  Audio.GapsCountAsPlayTime = p.GapsCountAsPlayTime;

  Audio.SetConversionRate(Audio.ProjectRateText.View(), Audio.ProjectRate);
}

void SessionState::ClearTempFolder() const {
  ClearFolderFiles(Folders.TempFolder);
  // An open that was killed mid-way leaves its unpacking folder behind.
  RemoveLeftPrivateFolders(Folders.TempFolder, kUnpackingFolderPrefix);
}

SessionState& CurrentSession() {
  static SessionState session(ResolveSessionFolders());
  return session;
}

}  // namespace corvane
