#include "gui/audio/ChangeSamplingRateDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>
#include <string>

#include "gui/app/AboutDlg.h"
#include "gui/chrome/ColorButton.h"
#include "operator/Operator.h"
#include "project/SessionState.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 450;
constexpr int kHeightUnits = 290;
constexpr int kBannerUnits = 37;
constexpr int kColumnUnits = 165;

}  // namespace

CChangeSamplingRateDlg::CChangeSamplingRateDlg(SessionState& session, Operator& op, bool locked,
                                               QWidget* parent)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      session_(session),
      op_(op) {
  setObjectName(QStringLiteral("CChangeSamplingRateDlg"));
  setWindowTitle(QString::fromLatin1(kProductName));
  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  AddPicture("picture", Picture::Settings, QPoint(Units().X(10), Units().Y(45)));
  AddLabel("heading", QStringLiteral("Sampling Rates / Output Format"), ChromeFont(16, Weight::Bold),
           kBannerColor, QRect(kColumnUnits, 44, 275, 18));

  QStringList rates;
  for (const std::int32_t rate : kOfferedRates) rates << QString::number(rate);
  QStringList codecs;
  for (const OutputCodecChoice& codec : kOutputCodecs) {
    codecs << QString::fromLatin1(codec.display.data(), static_cast<qsizetype>(codec.display.size()));
  }
  const auto addRow = [&](const char* name, const char* label, int top, QWidget* control) {
    control->setFont(ChromeFont(10, Weight::Regular));
    AddLabelled(name, label, 10, QRect(kColumnUnits, top, 150, 12), control,
                QRect(kColumnUnits + 150, top, 110, 13));
  };
  projectRate_ = new QComboBox(this);
  projectRate_->addItems(rates);
  addRow("projectRate", "Project Sampling Rate (Hz)", 72, projectRate_);
  outputRate_ = new QComboBox(this);
  outputRate_->addItems(rates);
  addRow("outputRate", "Output Sampling Rate (Hz)", 92, outputRate_);
  codec_ = new QComboBox(this);
  codec_->addItems(codecs);
  addRow("codec", "Output Format", 112, codec_);
  maxMinutes_ = new QSpinBox(this);
  maxMinutes_->setRange(1, 60);
  addRow("maxMinutes", "Max. File Length (Min.)", 132, maxMinutes_);

  CColorButton* loadDefaults = AddButton("loadDefaults", QStringLiteral("Load Defaults"),
                                         QRect(kColumnUnits, 160, 80, 14));
  UseActionScheme(*loadDefaults, 10);
  CColorButton* ok = AddButton("ok", QStringLiteral("OK"), QRect(kColumnUnits, 190, 60, 20));
  UseActionScheme(*ok, 14);
  CColorButton* cancel = AddButton("cancel", QStringLiteral("Cancel"), QRect(kColumnUnits + 70, 190, 60, 20));
  UseActionScheme(*cancel, 14);
  AddLogo();
  CColorButton* help = AddHelpButton();

  // The stored files were converted at the project rate.
  for (QWidget* control : {static_cast<QWidget*>(projectRate_), static_cast<QWidget*>(maxMinutes_),
                           static_cast<QWidget*>(loadDefaults)}) {
    control->setEnabled(!locked);
  }
  Show(ChoiceOf(AudioSettingsOf(session_.Audio)));
  connect(loadDefaults, &QAbstractButton::clicked, this, [this] { Show(ChoiceOf(AudioSettings{})); });
  connect(ok, &QAbstractButton::clicked, this, &CChangeSamplingRateDlg::OnOk);
  connect(cancel, &QAbstractButton::clicked, this, [this] { done(kCancelled); });
  connect(help, &QAbstractButton::clicked, this, [this] { RunHelpBox(this); });
}

void CChangeSamplingRateDlg::Show(const AudioSettingsChoice& choice) {
  projectRate_->setCurrentIndex(choice.projectRate);
  outputRate_->setCurrentIndex(choice.outputRate);
  codec_->setCurrentIndex(choice.codec);
  maxMinutes_->setValue(choice.maxMinutes);
}

AudioSettingsChoice CChangeSamplingRateDlg::Chosen() const {
  return {projectRate_->currentIndex(), outputRate_->currentIndex(), codec_->currentIndex(),
          maxMinutes_->value()};
}

void CChangeSamplingRateDlg::OnOk() {
  const AudioSettings settings = SettingsOf(Chosen());
  if (!SaveAudioSettings(settings, session_.Folders.ApplicationFolder, session_.Audio.Model)) {
    op_.Tell("Write Error", "Failed to save audio settings.", OperatorIcon::Stop);
  }
  // Applied for this run even when the file could not be written.
  ApplyAudioSettings(session_.Audio, settings);
  done(kConfirmed);
}

}  // namespace corvane
