// Any bytes as a channel settings file or an audio settings file. The loaders
// must not crash, must load the defaults for any file not exactly their
// size, and a file they accept must save back to the same bytes.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "audio/AudioSettings.h"
#include "channel/ChannelConfig.h"
#include "channel/ChannelSettingsFile.h"
#include "FuzzFolder.h"

namespace {

namespace fs = std::filesystem;
using namespace corvane;

const fs::path& Folder() {
  static const corvane::fuzz::FuzzFolder folder;
  return folder.Path();
}

void Write(const fs::path& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Write(Folder() / "channel1_settings.2", data, size);
  ChannelConfig channel;
  channel.Music.entries.push_back(MediaEntry{"00:00:01", "old.ogg"});
  const int loaded = LoadChannelSettings(channel, 1, 2, Folder());
  if (!channel.Music.entries.empty()) std::abort();
  if ((loaded == 1) != (size == kChannelSettingsFileSize)) std::abort();
  if (loaded == 0) {
    ChannelConfig defaults;
    defaults.ResetSettings();
    defaults.ResetPlaylists();
    if (!(channel == defaults)) std::abort();
  }

  Write(Folder() / "audio_settings.2", data, size);
  ST_AUDIO_TYPE audio;
  const bool used = LoadAudioSettings(audio, Folder(), 2);
  if (used != (size == kAudioSettingsFileSize)) std::abort();
  if (used) {
    const auto again = EncodeAudioSettings(AudioSettingsOf(audio));
    if (std::memcmp(again.data(), data, kAudioSettingsFileSize) != 0) std::abort();
  } else if (!(AudioSettingsOf(audio) == AudioSettings{})) {
    std::abort();
  }
  return 0;
}
