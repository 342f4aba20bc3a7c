#pragma once
// The list control of the channel editor's music, messages and scheduled
// messages lists. It only draws a MediaList and turns the operator's clicks,
// keys, menu picks and drags into changes of it; the list owns the rows and
// their selection, and the view's own selection is a copy refreshed after
// every change. Anything touching files (adding, deleting, playing,
// recording) is left to the editor through the signals.

#include <QListView>
#include <QPoint>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "channel/MediaList.h"
#include "channel/ScheduleWord.h"

class QAction;
class QMenu;
class QMimeData;

namespace corvane {

class MediaRowsModel;

class COLEDragAndDropListBox : public QListView {
  Q_OBJECT

 public:
  // The format a dragged row travels under; only the list it came from
  // takes it back.
  static constexpr const char* kRowFormat = "{2FCA1C31-D8F1-4f20-8051-B0CCF7B6FD0D}";
  // Longest dropped file path taken; a longer one is left out, since cutting
  // it short would name some other file.
  static constexpr int kMaxDroppedPath = 2048;

  enum class MenuCommand {
    AddFiles,
    Delete,
    StartPlaying,
    StopPlaying,
    Record,
    SelectAll,
    DeselectAll,
    MoveUp,
    MoveDown,
    MoveToTop,
    MoveToBottom,
    ClearAllDays,
    SetAllDays,
    SetWeekDays,
    SetWeekendDays,
    ResetDates,
    Exit,
  };
  // Shows the context menu at a global position and returns the action
  // picked, or null when it was dismissed.
  using MenuPopup = std::function<QAction*(QMenu& menu, const QPoint& at)>;

  explicit COLEDragAndDropListBox(MediaList& rows, QWidget* parent = nullptr);
  ~COLEDragAndDropListBox() override;

  MediaList& Rows() { return rows_; }
  const MediaList& Rows() const { return rows_; }
  // Links the music and messages lists both ways: using one clears the
  // other's selection.
  void SetPartner(COLEDragAndDropListBox* other);
  // Shows the rows and selection as the list now has them; the editor calls
  // it after changing the rows itself.
  void Refresh();

  // The context menu's commands, whichever way they are picked. Each action
  // of the menu carries its command as data().
  void RunMenuCommand(MenuCommand command);
  // Replaces how the menu is shown (QMenu::exec by default).
  void SetMenuPopup(MenuPopup popup);
  // What a row's tooltip says, asked each time one is shown.
  void SetRowToolTip(std::function<QString(int row)> toolTip);

  // The row a drag would carry, -1 for none; set by a press on a row.
  int DragSource() const { return dragSource_; }
  // The row the insertion line stands above while a row is dragged over the
  // list, -1 for below the last row or no drag.
  int Marker() const { return marker_; }
  // Milliseconds between auto-scroll steps while dragging near an edge; 0
  // when not scrolling.
  int ScrollInterval() const { return scrollInterval_; }
  // One auto-scroll step: a row towards the edge the pointer is at, the
  // marker following the pointer; stops when the list cannot go further.
  void ScrollTick();

 signals:
  void AddFilesRequested();
  // Local files dropped from the desktop, in drop order.
  void FilesDropped(const QStringList& localPaths);
  void DeleteRequested(bool fromMenu);
  void PlayRequested(int row);
  void StopRequested();
  void RecordRequested();
  void DayCommandRequested(corvane::DayCommand command);
  // The control itself has moved or reselected rows.
  void RowsChanged();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  enum class Carried { Nothing, OwnRows, Files };
  enum class ScrollDirection { None, Up, Down };

  bool IsScheduled() const { return rows_.Kind() == MediaListKind::Scheduled; }
  int RowCount() const { return static_cast<int>(rows_.RowCount()); }
  int RowAt(const QPoint& point) const;
  void Changed();
  void DeselectPartner();
  bool HandleKey(const QKeyEvent& event);
  void StepCaret(int step, bool shift, bool control);
  void FillMenu(QMenu& menu) const;
  bool IsEnabled(MenuCommand command) const;
  Carried WhatIsCarried(const QMimeData* mime) const;
  void DragOver(QDragMoveEvent* event);
  void EndDrag();
  QRect LineRect() const;
  void ShowLine(bool shown, int marker);
  void FollowPointer(int y);
  void StopScroll();

  MediaList& rows_;
  MediaRowsModel* model_;
  QPointer<COLEDragAndDropListBox> partner_;
  MenuPopup popup_;
  // The keyboard's position: the row last clicked or reached by keyboard,
  // shown as the view's current row. Up and Down step from it.
  int caret_ = -1;
  int dragSource_ = -1;
  QPoint pressPoint_;
  int marker_ = -1;
  bool lineShown_ = false;
  QPoint dragPoint_;
  QTimer scrollTimer_;
  int scrollInterval_ = 0;
  ScrollDirection scrollDirection_ = ScrollDirection::None;
};

}  // namespace corvane
