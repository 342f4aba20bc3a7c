#pragma once
// The read side a QAudioSink pulls from: a PlaybackStream behind Qt's
// sequential device interface.

#include <QIODevice>

#include "audio/PlaybackStream.h"

namespace corvane {

class PlaybackDevice final : public QIODevice {
 public:
  // Opens the file for reading in the format; false when it cannot be played.
  bool Begin(const std::filesystem::path& path, const PlaybackFormat& format);
  // Lets go of the file.
  void End();
  bool Finished() const { return stream_.Finished(); }

  bool isSequential() const override { return true; }
  bool atEnd() const override { return stream_.Finished(); }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  PlaybackStream stream_;
};

}  // namespace corvane
