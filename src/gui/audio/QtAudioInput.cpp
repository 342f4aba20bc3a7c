#include "gui/audio/QtAudioInput.h"

#include <QAudioFormat>
#include <QAudioSource>
#include <QByteArray>
#include <QMediaDevices>
#include <optional>
#include <span>

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
constexpr int kBufferSeconds = 4;

std::optional<DeviceSample> DeviceSampleOf(QAudioFormat::SampleFormat sample) {
  switch (sample) {
    case QAudioFormat::UInt8: return DeviceSample::UInt8;
    case QAudioFormat::Int16: return DeviceSample::Int16;
    case QAudioFormat::Int32: return DeviceSample::Int32;
    case QAudioFormat::Float: return DeviceSample::Float;
    default: return std::nullopt;
  }
}

std::optional<DeviceFormat> DeviceFormatOf(const QAudioFormat& format) {
  const auto sample = DeviceSampleOf(format.sampleFormat());
  if (!format.isValid() || !sample) return std::nullopt;
  return DeviceFormat{format.sampleRate(), format.channelCount(), *sample};
}

}  // namespace

QtAudioInput::QtAudioInput() = default;

QtAudioInput::~QtAudioInput() { Stop(); }

std::vector<std::string> QtAudioInput::Devices() {
  devices_ = QMediaDevices::audioInputs();
  std::vector<std::string> names;
  for (const QAudioDevice& device : devices_) names.push_back(device.description().toStdString());
  return names;
}

QAudioFormat QtAudioInput::RecordingFormat(std::size_t device) const {
  if (device >= static_cast<std::size_t>(devices_.size())) return {};
  const QAudioDevice& chosen = devices_[static_cast<qsizetype>(device)];
  return chosen.isFormatSupported(CaptureFormat()) ? CaptureFormat() : chosen.preferredFormat();
}

bool QtAudioInput::SupportsCaptureFormat(std::size_t device) {
  const auto format = DeviceFormatOf(RecordingFormat(device));
  CaptureResampler probe;
  return format && probe.Open(*format);
}

bool QtAudioInput::Start(std::size_t device) {
  Stop();
  const QAudioFormat recording = RecordingFormat(device);
  const auto format = DeviceFormatOf(recording);
  if (!format || !resampler_.Open(*format)) return false;
  source_ = std::make_unique<QAudioSource>(devices_[static_cast<qsizetype>(device)], recording);
  source_->setBufferSize(recording.bytesForDuration(kBufferSeconds * 1000000LL));
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
  resampler_.Convert(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size())),
                     into);
}

void QtAudioInput::Stop() {
  if (source_) {
    source_->stop();
    captured_ = nullptr;
    source_.reset();
  }
  resampler_.Close();
}

}  // namespace corvane
