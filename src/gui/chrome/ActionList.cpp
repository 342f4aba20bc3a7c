#include "gui/chrome/ActionList.h"

#include <QAbstractItemView>
#include <QTimer>

namespace corvane {

ActionList::ActionList(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  addItem(QString::fromLatin1(kPlaceholder));
}

void ActionList::SetActions(const QStringList& actions) {
  clear();
  addItem(QString::fromLatin1(kPlaceholder));
  addItems(actions);
  setCurrentIndex(0);
}

void ActionList::ActOnSelection() {
  const QString chosen = currentText();
  if (currentIndex() > 0) emit ActionChosen(chosen);
  setCurrentIndex(0);
}

void ActionList::hidePopup() {
  // Qt also calls this when the list is disabled, with no drop-down open:
  // that is no pick.
  const bool open = view() != nullptr && view()->isVisible();
  QComboBox::hidePopup();
  // The pick that closes the drop-down is stored only after it has closed;
  // act once the event that closed it is over.
  if (open) QTimer::singleShot(0, this, &ActionList::ActOnSelection);
}

}  // namespace corvane
