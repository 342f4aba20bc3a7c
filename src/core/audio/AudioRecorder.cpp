#include "audio/AudioRecorder.h"


#include "audio/ProductionFile.h"

namespace corvane {
namespace {

constexpr const char* kRecordError = "Record Error";

}  // namespace

RecorderButtons ButtonsFor(RecorderState state, bool hasTake) {
  RecorderButtons buttons;
  switch (state) {
    case RecorderState::Idle:
      buttons.recordShown = buttons.recordEnabled = true;
      buttons.playShown = true;
      buttons.playEnabled = hasTake;
      break;
    case RecorderState::Recording:
      buttons.stopRecordingShown = true;
      buttons.playShown = true;
      break;
    case RecorderState::Playing:
      buttons.recordShown = true;
      buttons.stopPlayingShown = true;
      break;
  }
  return buttons;
}

AudioRecorder::AudioRecorder(AudioInput& input, MediaPlayer& player, Operator& op,
                             std::filesystem::path workFile, std::int32_t limitSeconds)
    : player_(player), op_(op), engine_(input, std::move(workFile), limitSeconds) {}

// A screen ended from outside (the program told to exit) still leaves
// nothing behind: no capture running, no player holding the work file.
AudioRecorder::~AudioRecorder() { Release(); }

bool AudioRecorder::Open() {
  player_.Stop();
  devices_ = engine_.Devices();
  if (devices_.empty()) {
    op_.Tell(kRecordError, "No available recording devices.", OperatorIcon::Stop);
    return false;
  }
  return true;
}

bool AudioRecorder::AbandonTake() {
  if (engine_.HasTake() && !AbandonChanges(op_)) return false;
  // The old work file must not outlive its take: a new take that captures
  // nothing writes none, and would otherwise play and save the old one.
  engine_.Discard();
  level_ = 0;
  return true;
}

bool AudioRecorder::Record(std::optional<std::size_t> device) {
  if (state_ != RecorderState::Idle || !device || !AbandonTake()) return false;
  switch (engine_.Start(*device)) {
    case RecordStart::Started:
      state_ = RecorderState::Recording;
      return true;
    case RecordStart::FormatUnsupported:
      op_.Tell(kRecordError, "Selected device does not support WAV format.", OperatorIcon::Stop);
      return false;
    case RecordStart::NoDevice:
    case RecordStart::Failed:
      return false;
  }
  return false;
}

bool AudioRecorder::RecordTick() {
  if (state_ != RecorderState::Recording) return false;
  const RecorderTick tick = engine_.Tick();
  level_ = tick.level;
  if (tick.limitReached) state_ = RecorderState::Idle;
  return state_ == RecorderState::Recording;
}

void AudioRecorder::StopRecording() {
  if (state_ != RecorderState::Recording) return;
  engine_.Stop();
  level_ = 0;
  state_ = RecorderState::Idle;
}

void AudioRecorder::Play() {
  if (state_ != RecorderState::Idle || !engine_.HasTake()) return;
  player_.PlayFile(engine_.WorkFile().string());
  state_ = RecorderState::Playing;
}

bool AudioRecorder::PlayTick() {
  if (state_ != RecorderState::Playing) return false;
  if (!player_.IsPlaying()) state_ = RecorderState::Idle;
  return state_ == RecorderState::Playing;
}

void AudioRecorder::StopPlaying() {
  if (state_ != RecorderState::Playing) return;
  player_.Stop();
  state_ = RecorderState::Idle;
}

bool AudioRecorder::Save() {
  StopRecording();
  // A take whose device delivered nothing has nothing to keep. The samples
  // are saved from memory, so a work file that could not be written loses
  // nothing.
  std::filesystem::path chosen;
  if (!engine_.Take().empty()) {
    const auto answer = op_.ChooseFileToSave({kRecordingFilter, kRecordingName, "", true});
    if (!answer) return false;
    player_.Stop();
    if (!WriteProductionFile(*answer, kCaptureRate, engine_.Take())) {
      op_.Tell("Write Error", "Failed to save the recording.", OperatorIcon::Stop);
      state_ = RecorderState::Idle;
      return false;
    }
    chosen = *answer;
  }
  Release();
  recordingPath_ = chosen;
  return true;
}

bool AudioRecorder::Cancel() {
  // The capture ends before anything else: the question may take a while.
  StopRecording();
  if (engine_.HasTake() && !AbandonChanges(op_)) return false;
  Release();
  recordingPath_.clear();
  return true;
}

void AudioRecorder::Release() {
  player_.Stop();
  engine_.Discard();
  state_ = RecorderState::Idle;
  level_ = 0;
}

}  // namespace corvane
