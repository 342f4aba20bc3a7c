#include "gui/channel/SettingSpin.h"

#include <QSignalBlocker>
#include <algorithm>

namespace corvane {

SettingSpin::SettingSpin(SpinText text, int minimum, int maximum, QWidget* parent)
    : QSpinBox(parent), text_(text) {
  setRange(minimum, maximum);
  setAlignment(Qt::AlignRight);
  accepted_ = value();
  connect(this, &QSpinBox::valueChanged, this, &SettingSpin::OnValueChanged);
}

void SettingSpin::Show(int position) {
  const QSignalBlocker quiet(this);
  setValue(position);
  accepted_ = value();
}

QString SettingSpin::textFromValue(int value) const {
  switch (text_) {
    case SpinText::TimesTen:
      return QString::number(value * 10);
    case SpinText::TwoDigits:
      return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
    case SpinText::Signed:
      break;
  }
  return QString::number(value);
}

int SettingSpin::valueFromText(const QString& text) const {
  const int number = text.trimmed().toInt();
  return text_ == SpinText::TimesTen ? number / 10 : number;
}

QValidator::State SettingSpin::validate(QString& input, int& /*position*/) const {
  const QString text = input.trimmed();
  if (text.isEmpty() || text == QStringLiteral("-")) return QValidator::Intermediate;
  bool number = false;
  const int typed = text.toInt(&number);
  if (!number) return QValidator::Invalid;
  const int steps = valueFromText(text);
  if (text_ == SpinText::TimesTen && typed % 10 != 0) return QValidator::Intermediate;
  return steps >= minimum() && steps <= maximum() ? QValidator::Acceptable
                                                  : QValidator::Intermediate;
}

void SettingSpin::stepBy(int steps) {
  const int candidate = std::clamp(value() + steps * singleStep(), minimum(), maximum());
  if (candidate == value()) return;
  if (mayBecome_ && !mayBecome_(candidate)) return;
  accepted_ = candidate;
  QSpinBox::stepBy(steps);
}

void SettingSpin::OnValueChanged(int value) {
  if (value == accepted_) return;
  // Typed rather than stepped: the guard is asked now.
  if (mayBecome_ && !mayBecome_(value)) {
    Show(accepted_);
    return;
  }
  accepted_ = value;
}

}  // namespace corvane
