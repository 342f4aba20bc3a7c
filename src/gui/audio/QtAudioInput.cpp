#include "gui/audio/QtAudioInput.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QByteArray>
#include <QMediaDevices>
#include <cstring>

namespace corvane {
namespace {

QAudioFormat CaptureFormat() {
  QAudioFormat format;
  format.setSampleRate(kCaptureRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  return format;
}

// Room for a few seconds, so a late timer tick loses nothing.
constexpr qsizetype kCaptureBufferBytes = kCaptureRate * 2 * 4;

}  // namespace

QtAudioInput::QtAudioInput() = default;

QtAudioInput::~QtAudioInput() { Stop(); }

std::vector<std::string> QtAudioInput::Devices() {
  devices_ = QMediaDevices::audioInputs();
  std::vector<std::string> names;
  for (const QAudioDevice& device : devices_) names.push_back(device.description().toStdString());
  return names;
}

bool QtAudioInput::SupportsCaptureFormat(std::size_t device) {
  return device < static_cast<std::size_t>(devices_.size()) &&
         devices_[static_cast<qsizetype>(device)].isFormatSupported(CaptureFormat());
}

bool QtAudioInput::Start(std::size_t device) {
  Stop();
  if (device >= static_cast<std::size_t>(devices_.size())) return false;
  source_ =
      std::make_unique<QAudioSource>(devices_[static_cast<qsizetype>(device)], CaptureFormat());
  source_->setBufferSize(kCaptureBufferBytes);
  captured_ = source_->start();
  if (captured_ == nullptr || source_->error() != QAudio::NoError) {
    Stop();
    return false;
  }
  return true;
}

void QtAudioInput::TakeCaptured(std::vector<std::int16_t>& into) {
  if (captured_ == nullptr) return;
  const QByteArray bytes = captured_->readAll();
  carry_.insert(carry_.end(), bytes.begin(), bytes.end());
  const std::size_t samples = carry_.size() / 2;
  const std::size_t at = into.size();
  into.resize(at + samples);
  std::memcpy(into.data() + at, carry_.data(), samples * 2);
  carry_.erase(carry_.begin(), carry_.begin() + static_cast<std::ptrdiff_t>(samples * 2));
}

void QtAudioInput::Stop() {
  if (source_) {
    source_->stop();
    captured_ = nullptr;
    source_.reset();
  }
  carry_.clear();
}

}  // namespace corvane
