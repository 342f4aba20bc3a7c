#pragma once
// "Sampling Rates / Output Format": the rate every list file is converted
// at, the rate and format of the exported production, and its longest
// length. While channel 1 holds files the project rate is locked: those
// files were converted at it.

#include "audio/AudioSettings.h"
#include "gui/chrome/ChromeDialog.h"

class QComboBox;
class QSpinBox;

namespace corvane {

class CColorButton;
class Operator;
class SessionState;

class CChangeSamplingRateDlg : public ChromeDialog {
  Q_OBJECT

 public:
  // Ends with kConfirmed after OK (the settings stored and applied).
  CChangeSamplingRateDlg(SessionState& session, Operator& op, bool locked, QWidget* parent = nullptr);

 private:
  void Show(const AudioSettingsChoice& choice);
  AudioSettingsChoice Chosen() const;
  void OnOk();

  SessionState& session_;
  Operator& op_;
  QComboBox* projectRate_ = nullptr;
  QComboBox* outputRate_ = nullptr;
  QComboBox* codec_ = nullptr;
  QSpinBox* maxMinutes_ = nullptr;
};

}  // namespace corvane
