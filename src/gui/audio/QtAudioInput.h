#pragma once
// The desktop's sound inputs through Qt Multimedia, for the recorder. The
// screen's timer takes what arrived; nothing runs on another thread.

#include <QAudioDevice>
#include <QList>
#include <memory>

#include "audio/AudioInput.h"

class QAudioSource;
class QIODevice;

namespace corvane {

class QtAudioInput final : public AudioInput {
 public:
  QtAudioInput();
  ~QtAudioInput() override;

  std::vector<std::string> Devices() override;
  bool SupportsCaptureFormat(std::size_t device) override;
  bool Start(std::size_t device) override;
  void TakeCaptured(std::vector<std::int16_t>& into) override;
  void Stop() override;

 private:
  QList<QAudioDevice> devices_;
  std::unique_ptr<QAudioSource> source_;
  QIODevice* captured_ = nullptr;    // owned by source_
  std::vector<std::uint8_t> carry_;  // a half sample left from the last read
};

}  // namespace corvane
