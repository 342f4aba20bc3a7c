// The channel editor's loudness row: whether added files are evened out and
// the loudness each list is brought to. It is the operator's own preference,
// not the channel's, so it is saved as it changes and kept by Cancel.

#include <QCheckBox>
#include <QSpinBox>
#include <cmath>

#include "gui/channel/ChannelDlg.h"
#include "gui/channel/ChannelDlgLayout.h"

namespace corvane {
namespace {

using namespace channel_layout;

constexpr int kTop = 364;
constexpr int kLeftUnits = 92;

struct TargetRow {
  const char* name;
  const char* label;
  double LoudnessPreference::*field;
  int labelLeft;
  int labelWidth;
};
const TargetRow kTargetRows[] = {
    {"musicLoudness", "Music", &LoudnessPreference::musicLufs, kLeftUnits, 26},
    {"messageLoudness", "Messages", &LoudnessPreference::messageLufs, kLeftUnits + 86, 40},
};

}  // namespace

void CChannelDlg::BuildLoudness() {
  const LoudnessPreference& preference = context_.session.Loudness;
  evenLoudness_ = new QCheckBox(QStringLiteral("Even Out Loudness of Added Files (LUFS)"), this);
  evenLoudness_->setObjectName(QStringLiteral("evenLoudness"));
  evenLoudness_->setFont(ChromeFont(8, Weight::Bold));
  evenLoudness_->setGeometry(Units().Rect(kLeftUnits, kTop, 190, 11));
  evenLoudness_->setChecked(preference.normalise);
  connect(evenLoudness_, &QCheckBox::toggled, this, &CChannelDlg::OnLoudnessChanged);
  for (const TargetRow& row : kTargetRows) {
    auto* spin = new QSpinBox(this);
    spin->setFont(ChromeFont(8, Weight::Regular));
    spin->setRange(static_cast<int>(kQuietestTargetLufs), static_cast<int>(kLoudestTargetLufs));
    spin->setValue(static_cast<int>(std::lround(preference.*row.field)));
    AddLabelled(row.name, row.label, 8, QRect(row.labelLeft, kTop + 13, row.labelWidth, 12), spin,
                QRect(row.labelLeft + row.labelWidth, kTop + 13, 36, 12));
    // "Music" alone would not tell a screen reader's user what the number is.
    spin->setAccessibleName(QStringLiteral("%1 loudness (LUFS)").arg(QLatin1String(row.label)));
    connect(spin, &QSpinBox::valueChanged, this, &CChannelDlg::OnLoudnessChanged);
    loudnessTargets_.emplace_back(spin, row.field);
  }
  // Without messages of any kind the message target has nothing to bring.
  const bool messages = sections_.messages || sections_.scheduledMessages;
  for (const char* name : {"messageLoudness", "messageLoudnessLabel"}) {
    findChild<QWidget*>(QString::fromLatin1(name))->setVisible(messages);
  }
  ShowLoudnessTargets();
}

void CChannelDlg::ShowLoudnessTargets() {
  for (const auto& [spin, field] : loudnessTargets_) spin->setEnabled(evenLoudness_->isChecked());
}

void CChannelDlg::OnLoudnessChanged() {
  LoudnessPreference& preference = context_.session.Loudness;
  preference.normalise = evenLoudness_->isChecked();
  for (const auto& [spin, field] : loudnessTargets_) preference.*field = spin->value();
  ShowLoudnessTargets();
  if (!SaveLoudnessPreference(preference, context_.session.Folders.ApplicationFolder)) {
    context_.op.Tell("Write Error", "Failed to save the loudness preference.", OperatorIcon::Stop);
  }
}

}  // namespace corvane
