#pragma once
// The desktop's sound inputs through Qt Multimedia, for the recorder. A
// device that cannot give the capture format itself records in its own
// format, converted as it arrives. The screen's timer takes what arrived;
// nothing runs on another thread.

#include <QAudioDevice>
#include <QAudioFormat>
#include <QList>
#include <memory>

#include "audio/AudioInput.h"
#include "audio/CaptureResampler.h"

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
  // The format the device records in: the capture format where it takes
  // it, else its own preferred one.
  QAudioFormat RecordingFormat(std::size_t device) const;
  QList<QAudioDevice> devices_;
  std::unique_ptr<QAudioSource> source_;
  QIODevice* captured_ = nullptr;    // owned by source_
  CaptureResampler resampler_;
};

}  // namespace corvane
