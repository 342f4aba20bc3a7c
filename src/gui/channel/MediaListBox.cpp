#include "gui/channel/MediaListBox.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QDragEnterEvent>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

#include "gui/channel/MediaRowsModel.h"
#include "gui/chrome/ChromeLook.h"

namespace corvane {

namespace {

using Command = COLEDragAndDropListBox::MenuCommand;

// Which menu shows an item: the music and messages lists', the scheduled
// list's, or both.
enum class In { Lists, Scheduled, Both };
// A null text stands for a separator. The keys are shown after a tab, in the
// lists that take them: the scheduled list takes none.
struct MenuItem {
  const char* text;
  const char* keys;
  Command command;
  In in;
};
constexpr MenuItem kMenu[] = {
    {"Add Files", nullptr, Command::AddFiles, In::Both},
    {"Delete", "Del", Command::Delete, In::Both},
    {nullptr, nullptr, Command::Exit, In::Both},
    {"Start Playing File", nullptr, Command::StartPlaying, In::Both},
    {"Stop Playing File", nullptr, Command::StopPlaying, In::Both},
    {"Record Audio File", nullptr, Command::Record, In::Both},
    {nullptr, nullptr, Command::Exit, In::Both},
    {"Select All", nullptr, Command::SelectAll, In::Lists},
    {"Deselect All", nullptr, Command::DeselectAll, In::Lists},
    {nullptr, nullptr, Command::Exit, In::Lists},
    {"Move Up", "Ctrl-Up", Command::MoveUp, In::Lists},
    {"Move Down", "Ctrl-Down", Command::MoveDown, In::Lists},
    {"Move To Top", "Ctrl-Home", Command::MoveToTop, In::Lists},
    {"Move To Bottom", "Ctrl-End", Command::MoveToBottom, In::Lists},
    {"Clear All Days", nullptr, Command::ClearAllDays, In::Scheduled},
    {"Set All Days", nullptr, Command::SetAllDays, In::Scheduled},
    {"Set Week Days", nullptr, Command::SetWeekDays, In::Scheduled},
    {"Set Weekend Days", nullptr, Command::SetWeekendDays, In::Scheduled},
    {nullptr, nullptr, Command::Exit, In::Scheduled},
    {"Reset Start/Stop Date", nullptr, Command::ResetDates, In::Scheduled},
    {nullptr, nullptr, Command::Exit, In::Both},
    {"Exit", nullptr, Command::Exit, In::Both},
};

// Within this many pixels of the top or bottom a drag scrolls the list.
constexpr int kScrollZone = 10;
// The slowest auto-scroll step; the further the pointer is past the edge,
// the shorter the step.
constexpr int kSlowestScrollMs = 25;

QStringList LocalPaths(const QMimeData& mime) {
  QStringList paths;
  for (const QUrl& url : mime.urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (path.size() <= COLEDragAndDropListBox::kMaxDroppedPath) paths.append(path);
  }
  return paths;
}

}  // namespace

COLEDragAndDropListBox::COLEDragAndDropListBox(MediaList& rows, QWidget* parent)
    : QListView(parent), rows_(rows), model_(new MediaRowsModel(rows, this)) {
  setModel(model_);
  setFont(ChromeFont(10, Weight::Regular));
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  // Drags and their scrolling are this control's own, not the view's.
  setDragDropMode(QAbstractItemView::NoDragDrop);
  setAutoScroll(false);
  viewport()->setAcceptDrops(true);
  popup_ = [](QMenu& menu, const QPoint& at) { return menu.exec(at); };
  connect(&scrollTimer_, &QTimer::timeout, this, &COLEDragAndDropListBox::ScrollTick);
  Refresh();
}

COLEDragAndDropListBox::~COLEDragAndDropListBox() = default;

void COLEDragAndDropListBox::SetPartner(COLEDragAndDropListBox* other) {
  partner_ = other;
  if (other != nullptr) other->partner_ = this;
}

void COLEDragAndDropListBox::SetMenuPopup(MenuPopup popup) { popup_ = std::move(popup); }

void COLEDragAndDropListBox::SetRowToolTip(std::function<QString(int row)> toolTip) {
  model_->SetToolTip(std::move(toolTip));
}

void COLEDragAndDropListBox::Refresh() {
  model_->Reset();
  // Consecutive selected rows go in as one range, so a long selection stays cheap.
  QItemSelection selection;
  const int count = RowCount();
  for (int row = 0; row < count;) {
    if (!rows_.IsSelected(static_cast<std::size_t>(row))) {
      ++row;
      continue;
    }
    const int first = row;
    while (row < count && rows_.IsSelected(static_cast<std::size_t>(row))) ++row;
    selection.select(model_->index(first, 0), model_->index(row - 1, 0));
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  caret_ = std::min(caret_, count - 1);
  if (caret_ >= 0) {
    selectionModel()->setCurrentIndex(model_->index(caret_, 0), QItemSelectionModel::NoUpdate);
  }
  // Rows are hit-tested right after a change (drops, auto-scroll), so the
  // layout may not wait for the next paint.
  executeDelayedItemsLayout();
}

void COLEDragAndDropListBox::Changed() {
  Refresh();
  emit RowsChanged();
}

int COLEDragAndDropListBox::RowAt(const QPoint& point) const { return indexAt(point).row(); }

void COLEDragAndDropListBox::DeselectPartner() {
  if (partner_ == nullptr || partner_->rows_.Selected().empty()) return;
  partner_->rows_.SelectAll(false);
  partner_->Changed();
}

// Selection is the list's; the view's own press handling would fight it.
void COLEDragAndDropListBox::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  dragSource_ = RowAt(point);
  pressPoint_ = point;
  if (dragSource_ < 0) return;
  DeselectPartner();
  const Qt::KeyboardModifiers keys = event->modifiers();
  rows_.Click(static_cast<std::size_t>(dragSource_),
              {keys.testFlag(Qt::ShiftModifier), keys.testFlag(Qt::ControlModifier)});
  caret_ = dragSource_;
  Changed();
}

void COLEDragAndDropListBox::mouseMoveEvent(QMouseEvent* event) {
  if (IsScheduled() || dragSource_ < 0 || !event->buttons().testFlag(Qt::LeftButton)) return;
  const QPoint moved = event->position().toPoint() - pressPoint_;
  if (moved.manhattanLength() < QApplication::startDragDistance()) return;
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kRowFormat),
                model_->index(dragSource_, 0).data().toString().toUtf8());
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  const QPointer<COLEDragAndDropListBox> self(this);
  drag->exec(Qt::MoveAction);
  if (self != nullptr) dragSource_ = -1;
}

// A press let go without a drag was a click; a later drag of some other
// list's row must not pass for this list's.
void COLEDragAndDropListBox::mouseReleaseEvent(QMouseEvent*) { dragSource_ = -1; }

void COLEDragAndDropListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int row = RowAt(event->position().toPoint());
  if (row >= 0) emit PlayRequested(row);
}

void COLEDragAndDropListBox::keyPressEvent(QKeyEvent* event) {
  if (!IsScheduled() && HandleKey(*event)) {
    event->accept();
    return;
  }
  // Past the item view, whose keys would select behind the list's back; the
  // scroll area still pages.
  QAbstractScrollArea::keyPressEvent(event);
}

bool COLEDragAndDropListBox::HandleKey(const QKeyEvent& event) {
  const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
  const bool control = event.modifiers().testFlag(Qt::ControlModifier);
  const int anchor = rows_.Anchor();
  switch (event.key()) {
    case Qt::Key_Up:
      StepCaret(-1, shift, control);
      break;
    case Qt::Key_Down:
      StepCaret(1, shift, control);
      break;
    case Qt::Key_Home:
      if (anchor >= 0 && control) {
        rows_.MoveToTop();
        caret_ = rows_.Anchor();
      } else if (anchor >= 0 && shift) {
        for (int row = 0; row < anchor; ++row) rows_.Select(static_cast<std::size_t>(row), true);
      }
      break;
    case Qt::Key_End:
      if (anchor >= 0 && control) {
        rows_.MoveToBottom();
        caret_ = rows_.Anchor();
      } else if (anchor >= 0 && shift) {
        for (int row = anchor; row < RowCount(); ++row) {
          rows_.Select(static_cast<std::size_t>(row), true);
        }
      }
      break;
    case Qt::Key_Delete:
      emit DeleteRequested(false);
      return true;
    default:
      return false;
  }
  Changed();
  return true;
}

void COLEDragAndDropListBox::StepCaret(int step, bool shift, bool control) {
  if (!shift && !control) rows_.SelectAll(false);
  DeselectPartner();
  int target = caret_;
  if (step < 0 && caret_ > 0) target = caret_ - 1;
  if (step > 0 && caret_ < RowCount() - 1) target = caret_ + 1;
  if (control) target = step < 0 ? rows_.MoveUp() : rows_.MoveDown();
  // Moving down past the last row leaves nothing below it to select.
  if (target >= 0 && target < RowCount()) rows_.Select(static_cast<std::size_t>(target), true);
  rows_.SetAnchor(target);
  caret_ = target;
}

void COLEDragAndDropListBox::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  DeselectPartner();
  QMenu menu(this);
  FillMenu(menu);
  const QAction* chosen = popup_(menu, event->globalPos());
  if (chosen != nullptr) RunMenuCommand(static_cast<MenuCommand>(chosen->data().toInt()));
}

void COLEDragAndDropListBox::FillMenu(QMenu& menu) const {
  const In shown = IsScheduled() ? In::Scheduled : In::Lists;
  for (const MenuItem& item : kMenu) {
    if (item.in != In::Both && item.in != shown) continue;
    if (item.text == nullptr) {
      menu.addSeparator();
      continue;
    }
    QString text = QString::fromLatin1(item.text);
    if (item.keys != nullptr && shown == In::Lists) text += '\t' + QString::fromLatin1(item.keys);
    QAction* action = menu.addAction(text);
    action->setData(static_cast<int>(item.command));
    action->setEnabled(IsEnabled(item.command));
  }
}

bool COLEDragAndDropListBox::IsEnabled(MenuCommand command) const {
  switch (command) {
    case Command::StartPlaying:
      return rows_.Selected().size() == 1;
    case Command::ClearAllDays:
    case Command::SetAllDays:
    case Command::SetWeekDays:
    case Command::SetWeekendDays:
    case Command::ResetDates:
      return IsScheduled() && !rows_.Selected().empty();
    default:
      return true;
  }
}

void COLEDragAndDropListBox::RunMenuCommand(MenuCommand command) {
  switch (command) {
    case Command::AddFiles:
      emit AddFilesRequested();
      return;
    case Command::Delete:
      emit DeleteRequested(true);
      return;
    case Command::StartPlaying:
      if (!rows_.Selected().empty()) emit PlayRequested(static_cast<int>(rows_.Selected().back()));
      return;
    case Command::StopPlaying:
      emit StopRequested();
      return;
    case Command::Record:
      emit RecordRequested();
      return;
    case Command::ClearAllDays:
      emit DayCommandRequested(DayCommand::ClearAllDays);
      return;
    case Command::SetAllDays:
      emit DayCommandRequested(DayCommand::SetAllDays);
      return;
    case Command::SetWeekDays:
      emit DayCommandRequested(DayCommand::SetWeekDays);
      return;
    case Command::SetWeekendDays:
      emit DayCommandRequested(DayCommand::SetWeekendDays);
      return;
    case Command::ResetDates:
      emit DayCommandRequested(DayCommand::ResetDates);
      return;
    case Command::Exit:
      return;
    case Command::SelectAll:
    case Command::DeselectAll:
      rows_.SelectAll(command == Command::SelectAll);
      break;
    case Command::MoveUp:
      caret_ = rows_.MoveUp();
      break;
    case Command::MoveDown:
      caret_ = rows_.MoveDown();
      break;
    case Command::MoveToTop:
      rows_.MoveToTop();
      break;
    case Command::MoveToBottom:
      rows_.MoveToBottom();
      break;
  }
  Changed();
}

COLEDragAndDropListBox::Carried COLEDragAndDropListBox::WhatIsCarried(const QMimeData* mime) const {
  if (mime == nullptr) return Carried::Nothing;
  // A row is only ever taken by the list it was pressed in; the scheduled
  // list keeps its order.
  if (mime->hasFormat(QString::fromLatin1(kRowFormat))) {
    return dragSource_ >= 0 && !IsScheduled() ? Carried::OwnRows : Carried::Nothing;
  }
  return LocalPaths(*mime).isEmpty() ? Carried::Nothing : Carried::Files;
}

void COLEDragAndDropListBox::dragEnterEvent(QDragEnterEvent* event) { DragOver(event); }

void COLEDragAndDropListBox::dragMoveEvent(QDragMoveEvent* event) { DragOver(event); }

void COLEDragAndDropListBox::DragOver(QDragMoveEvent* event) {
  switch (WhatIsCarried(event->mimeData())) {
    case Carried::Nothing:
      event->ignore();
      return;
    case Carried::Files:
      event->setDropAction(Qt::CopyAction);
      event->accept();
      return;
    case Carried::OwnRows:
      event->setDropAction(Qt::MoveAction);
      event->accept();
      dragPoint_ = event->position().toPoint();
      ShowLine(true, RowAt(dragPoint_));
      FollowPointer(dragPoint_.y());
      return;
  }
}

void COLEDragAndDropListBox::dragLeaveEvent(QDragLeaveEvent* event) {
  event->accept();
  EndDrag();
}

void COLEDragAndDropListBox::dropEvent(QDropEvent* event) {
  const Carried carried = WhatIsCarried(event->mimeData());
  if (carried == Carried::Nothing) {
    event->ignore();
    return;
  }
  event->setDropAction(carried == Carried::OwnRows ? Qt::MoveAction : Qt::CopyAction);
  event->accept();
  const QStringList paths =
      carried == Carried::Files ? LocalPaths(*event->mimeData()) : QStringList();
  if (carried == Carried::OwnRows) {
    const int row = RowAt(event->position().toPoint());
    rows_.MoveSelectedTo(static_cast<std::size_t>(row < 0 ? RowCount() : row));
    dragSource_ = -1;
  } else {
    rows_.SelectAll(false);
  }
  EndDrag();
  Changed();
  if (!paths.isEmpty()) emit FilesDropped(paths);
}

void COLEDragAndDropListBox::EndDrag() {
  StopScroll();
  ShowLine(false, -1);
  rows_.ForgetAnchor();
}

QRect COLEDragAndDropListBox::LineRect() const {
  const int width = viewport()->width() - 1;
  if (marker_ >= 0) return {0, visualRect(model_->index(marker_, 0)).top() + 1, width, 2};
  if (RowCount() == 0) return {};
  return {0, visualRect(model_->index(RowCount() - 1, 0)).bottom() - 1, width, 2};
}

void COLEDragAndDropListBox::ShowLine(bool shown, int marker) {
  if (lineShown_) viewport()->update(LineRect());
  lineShown_ = shown;
  marker_ = marker;
  if (lineShown_) viewport()->update(LineRect());
}

void COLEDragAndDropListBox::paintEvent(QPaintEvent* event) {
  QListView::paintEvent(event);
  if (!lineShown_) return;
  QPainter painter(viewport());
  painter.fillRect(LineRect(), Qt::black);
}

void COLEDragAndDropListBox::FollowPointer(int y) {
  const int height = viewport()->height();
  const int rowHeight = std::max(1, sizeHintForRow(0));
  int interval = 0;
  ScrollDirection direction = ScrollDirection::None;
  if (y < kScrollZone) {
    interval = kSlowestScrollMs / (1 + std::abs(y) / rowHeight);
    direction = ScrollDirection::Up;
  } else if (y > height - kScrollZone) {
    // Inside the zone (y - height) / rowHeight is 0: the slowest step.
    interval = kSlowestScrollMs / std::max(1, 1 + (y - height) / rowHeight);
    direction = ScrollDirection::Down;
  }
  if (direction == ScrollDirection::None) {
    StopScroll();
    return;
  }
  // Far past the edge the step is as short as a timer allows.
  interval = std::max(1, interval);
  if (interval == scrollInterval_ && direction == scrollDirection_) return;
  scrollInterval_ = interval;
  scrollDirection_ = direction;
  scrollTimer_.start(scrollInterval_);
  ScrollTick();
}

void COLEDragAndDropListBox::ScrollTick() {
  QScrollBar* bar = verticalScrollBar();
  const int before = bar->value();
  if (scrollDirection_ == ScrollDirection::Up && RowAt(QPoint(0, 0)) > 0) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  } else if (scrollDirection_ == ScrollDirection::Down && marker_ >= 0) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  }
  if (bar->value() == before) {
    StopScroll();
    return;
  }
  ShowLine(lineShown_, RowAt(dragPoint_));
}

void COLEDragAndDropListBox::StopScroll() {
  scrollTimer_.stop();
  scrollInterval_ = 0;
  scrollDirection_ = ScrollDirection::None;
}

}  // namespace corvane
