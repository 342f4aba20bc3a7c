#include "gui/audio/QtMediaPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <optional>

#include "gui/audio/PlaybackDevice.h"
#include "gui/chrome/OffUiThread.h"

namespace corvane {
namespace {

// The device's own rate and channels, with samples the stream can give.
std::optional<PlaybackFormat> FormatFor(const QAudioDevice& device, QAudioFormat& chosen) {
  chosen = device.preferredFormat();
  if (chosen.sampleRate() <= 0 || chosen.channelCount() <= 0) return std::nullopt;
  for (const auto sample : {QAudioFormat::Int16, QAudioFormat::Float}) {
    chosen.setSampleFormat(sample);
    if (device.isFormatSupported(chosen)) {
      return PlaybackFormat{
          chosen.sampleRate(), chosen.channelCount(),
          sample == QAudioFormat::Int16 ? PlaybackSample::Int16 : PlaybackSample::Float};
    }
  }
  return std::nullopt;
}

}  // namespace

QtMediaPlayer::QtMediaPlayer(QObject* parent)
    : QObject(parent), device_(std::make_unique<PlaybackDevice>()) {}

QtMediaPlayer::~QtMediaPlayer() { Release(); }

// The sink and its device belong to the UI thread; work running elsewhere
// (a mix for the preview) reaches them through it.
void QtMediaPlayer::Stop() {
  OnUiThread([this] { StopHere(); });
}

void QtMediaPlayer::PlayFile(const std::string& path) {
  OnUiThread([this, &path] { PlayHere(path); });
}

std::string QtMediaPlayer::Status() {
  return OnUiThread([this] { return StatusHere(); });
}

void QtMediaPlayer::StopHere() {
  if (sink_) {
    // The sink goes first: it must not pull from a closed device.
    sink_->disconnect(this);
    sink_->stop();
    sink_.reset();
  }
  device_->End();
}

void QtMediaPlayer::PlayHere(const std::string& path) {
  StopHere();
  if (released_) return;
  const QAudioDevice output = QMediaDevices::defaultAudioOutput();
  if (output.isNull()) return;  // no sound device: silent
  QAudioFormat format;
  const auto playback = FormatFor(output, format);
  if (!playback || !device_->Begin(path, *playback)) return;
  sink_ = std::make_unique<QAudioSink>(output, format);
  connect(sink_.get(), &QAudioSink::stateChanged, this, &QtMediaPlayer::OnStateChanged);
  sink_->start(device_.get());
  if (sink_->error() != QAudio::NoError) StopHere();
}

std::string QtMediaPlayer::StatusHere() {
  if (!sink_) return "Stopped";
  const QAudio::State state = sink_->state();
  if (state == QAudio::ActiveState || (state == QAudio::IdleState && !device_->Finished())) {
    return "Playing";
  }
  return "Stopped";
}

void QtMediaPlayer::Release() {
  Stop();
  released_ = true;
}

void QtMediaPlayer::OnStateChanged(QAudio::State state) {
  // Played to the end, or the device went away: let go of the file.
  if ((state == QAudio::IdleState && device_->Finished()) ||
      (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError)) {
    Stop();
  }
}

}  // namespace corvane
