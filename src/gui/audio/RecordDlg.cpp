#include "gui/audio/RecordDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

#include "gui/app/AboutDlg.h"
#include "gui/chrome/ColorButton.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 330;
constexpr int kHeightUnits = 205;
constexpr int kBannerUnits = 37;
constexpr int kLeft = 15;
constexpr int kRowWidth = 210;

// The level bar's own colour.
constexpr const char* kLevelStyle = "QProgressBar::chunk { background: rgb(26, 82, 142); }";

}  // namespace

CRecordDlg::CRecordDlg(AudioInput& input, MediaPlayer& player, Operator& op,
                       std::filesystem::path workFile, QWidget* parent, std::int32_t limitSeconds)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      recorder_(input, player, op, std::move(workFile), limitSeconds) {
  setObjectName(QStringLiteral("CRecordDlg"));
  setWindowTitle(QStringLiteral("Audio Recorder"));
  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  AddLabel("heading", QStringLiteral("Audio Recorder"), ChromeFont(16, Weight::Bold), kBannerColor,
           QRect(kLeft, 43, 200, 16));
  BuildControls();
  BuildButtons();

  recordTimer_.setInterval(kRecordTickMs);
  connect(&recordTimer_, &QTimer::timeout, this, &CRecordDlg::RecordTick);
  playTimer_.setSingleShot(true);
  connect(&playTimer_, &QTimer::timeout, this, &CRecordDlg::PlayTick);
  ShowState();
}

void CRecordDlg::BuildControls() {
  const auto addRow = [this](const char* name, const char* label, int top, QWidget* control,
                             int height) {
    AddLabelled(name, label, 10, QRect(kLeft, top, kRowWidth, 12), control,
                QRect(kLeft, top + 13, kRowWidth, height));
  };
  devices_ = new QComboBox(this);
  devices_->setFont(ChromeFont(10, Weight::Regular));
  addRow("inputSource", "Audio Input Source", 64, devices_, 14);
  level_ = new QProgressBar(this);
  level_->setRange(0, 100);
  level_->setTextVisible(false);
  level_->setStyleSheet(QString::fromLatin1(kLevelStyle));
  addRow("inputLevel", "Audio Input Level", 96, level_, 9);
  time_ = AddLabel("elapsed", QString(), ChromeFont(18, Weight::Bold), kBlackText,
                   QRect(kLeft + kRowWidth + 10, 104, 90, 20), Qt::AlignCenter);
  time_->setAccessibleName(QStringLiteral("Elapsed Time"));
}

void CRecordDlg::BuildButtons() {
  struct ButtonRow {
    const char* name;
    const char* text;
    QRect units;
    CColorButton* CRecordDlg::*member;
    void (CRecordDlg::*action)();
  };
  // Record and Stop Recording share a place, and so do Play and Stop Playing.
  const QRect first(kLeft, 130, 85, 16);
  const QRect second(kLeft + 91, 130, 75, 16);
  const ButtonRow rows[] = {
      {"record", "Record", first, &CRecordDlg::record_, &CRecordDlg::OnRecord},
      {"stopRecording", "Stop Recording", first, &CRecordDlg::stopRecording_, nullptr},
      {"play", "Play", second, &CRecordDlg::play_, &CRecordDlg::OnPlay},
      {"stopPlaying", "Stop Playing", second, &CRecordDlg::stopPlaying_, nullptr},
      {"save", "Save", QRect(kLeft + 172, 130, 60, 16), nullptr, &CRecordDlg::OnSave},
      {"cancel", "Cancel", QRect(kLeft + 238, 130, 60, 16), nullptr, &CRecordDlg::OnCancel},
  };
  for (const ButtonRow& row : rows) {
    CColorButton* button = AddButton(row.name, QString::fromLatin1(row.text), row.units);
    UseActionScheme(*button, 11);
    if (row.member != nullptr) this->*row.member = button;
    if (row.action != nullptr) connect(button, &QAbstractButton::clicked, this, row.action);
  }
  connect(stopRecording_, &QAbstractButton::clicked, this, [this] {
    recorder_.StopRecording();
    ShowState();
  });
  connect(stopPlaying_, &QAbstractButton::clicked, this, [this] {
    recorder_.StopPlaying();
    ShowState();
  });
  AddLogo();
  connect(AddHelpButton(), &QAbstractButton::clicked, this, [this] { RunHelpBox(this); });
}

bool CRecordDlg::Open() {
  if (!recorder_.Open()) return false;
  devices_->clear();
  for (const std::string& name : recorder_.Devices()) devices_->addItem(QString::fromStdString(name));
  devices_->setCurrentIndex(0);
  ShowState();
  return true;
}

void CRecordDlg::ShowState() {
  const RecorderState state = recorder_.State();
  const RecorderButtons buttons = ButtonsFor(state, recorder_.HasTake());
  record_->setVisible(buttons.recordShown);
  record_->setEnabled(buttons.recordEnabled);
  stopRecording_->setVisible(buttons.stopRecordingShown);
  play_->setVisible(buttons.playShown);
  play_->setEnabled(buttons.playEnabled);
  stopPlaying_->setVisible(buttons.stopPlayingShown);
  // The device cannot change under a running capture.
  devices_->setEnabled(state != RecorderState::Recording);
  time_->setText(QString::fromStdString(recorder_.TimeText()));
  level_->setValue(recorder_.Level());
  if (state != RecorderState::Recording) recordTimer_.stop();
  if (state != RecorderState::Playing) playTimer_.stop();
}

void CRecordDlg::OnRecord() {
  const int device = devices_->currentIndex();
  const bool chosen = device >= 0 && !devices_->currentText().isEmpty();
  if (recorder_.Record(chosen ? std::optional<std::size_t>(static_cast<std::size_t>(device))
                              : std::nullopt)) {
    recordTimer_.start();
  }
  ShowState();
}

// ShowState stops the timer once the recording has ended.
void CRecordDlg::RecordTick() {
  recorder_.RecordTick();
  ShowState();
}

void CRecordDlg::OnPlay() {
  recorder_.Play();
  if (recorder_.State() == RecorderState::Playing) playTimer_.start(kFirstPlayTickMs);
  ShowState();
}

void CRecordDlg::PlayTick() {
  if (recorder_.PlayTick()) playTimer_.start(kPlayTickMs);
  ShowState();
}

void CRecordDlg::OnSave() {
  const bool ends = recorder_.Save();
  ShowState();
  if (ends) done(kConfirmed);
}

void CRecordDlg::OnCancel() {
  const bool ends = recorder_.Cancel();
  ShowState();
  if (ends) done(kCancelled);
}

void CRecordDlg::CloseRequested() { OnCancel(); }

}  // namespace corvane
