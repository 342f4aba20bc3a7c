#pragma once
// "Audio Recorder" without its window: record a message from an input
// device, hear it through the shared player, and save it as a WAV file the
// list it was recorded for then adds. The screen shows what this holds and
// calls its two timers' ticks.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "audio/AudioInput.h"
#include "audio/MediaPlayer.h"
#include "audio/RecorderEngine.h"
#include "operator/Operator.h"

namespace corvane {

enum class RecorderState { Idle, Recording, Playing };

// "Record" and "Stop Recording" share one place, and so do "Play" and
// "Stop Playing": what each shows in a state.
struct RecorderButtons {
  bool recordShown = false;
  bool recordEnabled = false;
  bool stopRecordingShown = false;
  bool playShown = false;
  bool playEnabled = false;
  bool stopPlayingShown = false;
};
RecorderButtons ButtonsFor(RecorderState state, bool hasTake);

// The recorder's timer periods, in milliseconds. The play timer's first wait
// is longer: a player may take a moment to report that it plays.
inline constexpr int kRecordTickMs = 100;
inline constexpr int kFirstPlayTickMs = 1000;
inline constexpr int kPlayTickMs = 100;

// The save dialog's filter and the name it proposes.
inline constexpr const char* kRecordingFilter = "Audio Files (*.wav)|*.wav||";
inline constexpr const char* kRecordingName = "audio_recording";

class AudioRecorder {
 public:
  AudioRecorder(AudioInput& input, MediaPlayer& player, Operator& op, std::filesystem::path workFile,
                std::int32_t limitSeconds = RecorderEngine::kLimitSeconds);
  AudioRecorder(const AudioRecorder&) = delete;
  AudioRecorder& operator=(const AudioRecorder&) = delete;
  // Whatever still records stops before the take goes; the work file goes too.
  ~AudioRecorder();

  // Reads the input devices. Without one the operator is told, and the
  // screen ends: false.
  bool Open();
  const std::vector<std::string>& Devices() const { return devices_; }

  // "Record" on the device at that place in the list (nothing for an empty
  // choice). A take asks "Abandon changes?" first. False when recording did
  // not start.
  bool Record(std::optional<std::size_t> device);
  // The 100 ms timer while recording; false once the recording has ended
  // (it stops by itself after the limit).
  bool RecordTick();
  void StopRecording();
  // "Play" hands the take to the player, which starts by itself.
  void Play();
  // The play timer; false once the player no longer plays.
  bool PlayTick();
  void StopPlaying();

  // "Save": with a take the operator chooses where it goes, and cancelling
  // that keeps the screen. Whether the screen ends; then RecordingPath()
  // says what to add (empty: nothing).
  bool Save();
  // "Cancel" or closing the screen: a recording stops first, and a take asks
  // "Abandon changes?". Whether the screen ends.
  bool Cancel();

  RecorderState State() const { return state_; }
  bool HasTake() const { return engine_.HasTake(); }
  std::string TimeText() const { return RecordingTimeText(engine_.ElapsedTenths() / 10); }
  int Level() const { return level_; }
  const std::filesystem::path& RecordingPath() const { return recordingPath_; }
  const std::filesystem::path& WorkFile() const { return engine_.WorkFile(); }

 private:
  bool AbandonTake();
  // Leaves the screen: playback stopped, the take and its work file gone.
  void Release();

  MediaPlayer& player_;
  Operator& op_;
  RecorderEngine engine_;
  std::vector<std::string> devices_;
  RecorderState state_ = RecorderState::Idle;
  int level_ = 0;
  std::filesystem::path recordingPath_;
};

}  // namespace corvane
