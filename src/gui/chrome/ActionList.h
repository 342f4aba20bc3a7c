#pragma once
// A drop-down list of actions. It starts with the placeholder "...", which
// does nothing; an entry acts when the drop-down closes on it or when the
// screen hands it an Enter, and the list then returns to "...". Moving
// through a closed list with the arrow keys only selects.

#include <QComboBox>
#include <QStringList>

namespace corvane {

class ActionList : public QComboBox {
  Q_OBJECT

 public:
  static constexpr const char* kPlaceholder = "...";

  explicit ActionList(QWidget* parent = nullptr);

  // Replaces the entries: the placeholder, then the actions; selects "...".
  void SetActions(const QStringList& actions);
  // Acts on the selected entry as if its drop-down had closed on it.
  void ActOnSelection();

  void hidePopup() override;

 signals:
  // After the action's handler returns, the list shows "..." again.
  void ActionChosen(const QString& action);
};

}  // namespace corvane
