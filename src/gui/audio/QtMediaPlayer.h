#pragma once
// The shared player on the desktop: files decoded by the engine and played
// through Qt Multimedia's default audio output. Without a sound device it
// stays silent and never holds a file.

#include <QObject>
#include <QtMultimedia/QAudio>
#include <memory>
#include <string>

#include "audio/MediaPlayer.h"

class QAudioSink;

namespace corvane {

class PlaybackDevice;

class QtMediaPlayer final : public QObject, public MediaPlayer {
  Q_OBJECT

 public:
  explicit QtMediaPlayer(QObject* parent = nullptr);
  ~QtMediaPlayer() override;

  void Stop() override;
  void PlayFile(const std::string& path) override;
  // "Playing" while a file plays, "Stopped" otherwise.
  std::string Status() override;
  void Release() override;

 private:
  void StopHere();
  void PlayHere(const std::string& path);
  std::string StatusHere();
  void OnStateChanged(QAudio::State state);

  std::unique_ptr<PlaybackDevice> device_;
  std::unique_ptr<QAudioSink> sink_;
  bool released_ = false;
};

}  // namespace corvane
