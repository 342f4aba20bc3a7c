#pragma once
// A spin control of the channel editor. The record keeps steps; the spin
// shows them the way the operator reads them: volumes as percent (a step is
// ten), tone as a signed step, times as two digits. A guard may refuse a
// move before it happens, and the spin then stays where it was.

#include <QSpinBox>
#include <functional>

namespace corvane {

enum class SpinText { TimesTen, Signed, TwoDigits };

class SettingSpin : public QSpinBox {
  Q_OBJECT

 public:
  SettingSpin(SpinText text, int minimum, int maximum, QWidget* parent);
  // Asked with the position the spin is about to take.
  void SetGuard(std::function<bool(int)> mayBecome) { mayBecome_ = std::move(mayBecome); }
  // Moves the spin from code; the guard is not asked.
  void Show(int position);

 protected:
  QString textFromValue(int value) const override;
  int valueFromText(const QString& text) const override;
  QValidator::State validate(QString& input, int& position) const override;
  void stepBy(int steps) override;

 private:
  void OnValueChanged(int value);

  SpinText text_;
  std::function<bool(int)> mayBecome_;
  int accepted_ = 0;
};

}  // namespace corvane
