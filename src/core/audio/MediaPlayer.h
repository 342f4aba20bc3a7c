#pragma once
// The one shared player behind every Play and Stop: list files, the
// recorder's take, the production preview. Four operations and nothing
// else; the desktop plays through the sound device, and without one (or in
// tests) the null player stays silent.

#include <string>

namespace corvane {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Stops and lets go of the file it held, so it can be deleted, overwritten
  // or packaged. Harmless when nothing plays.
  virtual void Stop() = 0;
  // Plays the file; playback starts by itself.
  virtual void PlayFile(const std::string& path) = 0;
  // The player's status text. A file is playing exactly when it begins with "Play".
  virtual std::string Status() = 0;
  // Lets go of the sound device; at exit.
  virtual void Release() = 0;

  bool IsPlaying() { return Status().rfind("Play", 0) == 0; }
};

class NullMediaPlayer final : public MediaPlayer {
 public:
  void Stop() override {}
  void PlayFile(const std::string&) override {}
  std::string Status() override { return "Stopped"; }
  void Release() override {}
};

}  // namespace corvane
