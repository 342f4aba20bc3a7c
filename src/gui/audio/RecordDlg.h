#pragma once
// "Audio Recorder": pick an input, record a message while the level bar
// follows the voice, hear the take, and save it as a WAV file for the list
// the recorder was opened from. The rules live in AudioRecorder; this
// screen shows them and runs their two timers.

#include <QTimer>
#include <filesystem>

#include "audio/AudioRecorder.h"
#include "gui/chrome/ChromeDialog.h"

class QComboBox;
class QLabel;
class QProgressBar;

namespace corvane {

class CColorButton;

class CRecordDlg : public ChromeDialog {
  Q_OBJECT

 public:
  CRecordDlg(AudioInput& input, MediaPlayer& player, Operator& op, std::filesystem::path workFile,
             QWidget* parent = nullptr, std::int32_t limitSeconds = RecorderEngine::kLimitSeconds);

  // Lists the input devices; false, after telling the operator, when there
  // is none and the screen must not open.
  bool Open();
  // Ends with kConfirmed after Save, else kCancelled; then RecordingPath()
  // is what to add (empty: nothing).
  const std::filesystem::path& RecordingPath() const { return recorder_.RecordingPath(); }

  // The 100 ms timer while recording, and the play timer.
  void RecordTick();
  void PlayTick();
  bool Recording() const { return recordTimer_.isActive(); }
  bool WaitingForPlayer() const { return playTimer_.isActive(); }

 protected:
  void CloseRequested() override;

 private:
  void BuildControls();
  void BuildButtons();
  // Shows the recorder's state: buttons, time, level, the device list.
  void ShowState();
  void OnRecord();
  void OnPlay();
  void OnSave();
  void OnCancel();

  AudioRecorder recorder_;
  QTimer recordTimer_;
  QTimer playTimer_;
  QComboBox* devices_ = nullptr;
  QProgressBar* level_ = nullptr;
  QLabel* time_ = nullptr;
  CColorButton* record_ = nullptr;
  CColorButton* stopRecording_ = nullptr;
  CColorButton* play_ = nullptr;
  CColorButton* stopPlaying_ = nullptr;
};

}  // namespace corvane
