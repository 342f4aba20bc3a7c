// The channel editor's list control, as the operator sees it: which rows are
// selected and in what order after clicks, keys, menu picks and drags, and
// what the control asks the editor to do.
#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "gui/channel/MediaListBox.h"
#include "support/ScreenDriver.h"

namespace corvane::test {
namespace {

using Box = COLEDragAndDropListBox;
using Clicks = std::vector<std::pair<int, Qt::KeyboardModifiers>>;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;

std::string RowLine(int row) {
  return "00:03:5" + std::to_string(row % 10) + " | " + static_cast<char>('a' + row) + ".ogg";
}

QPoint RowCenter(const Box& box, int row) {
  return box.visualRect(box.model()->index(row, 0)).center();
}

// The rows on screen by file letter, selected ones in brackets: "a [b] c".
std::string Seen(const Box& box) {
  std::string seen;
  for (int row = 0; row < box.model()->rowCount(); ++row) {
    const QString text = box.model()->index(row, 0).data().toString();
    const std::string letter(1, text.at(text.indexOf('|') + 2).toLatin1());
    const bool selected = box.selectionModel()->isRowSelected(row, {});
    seen += (seen.empty() ? "" : " ") + (selected ? "[" + letter + "]" : letter);
  }
  return seen;
}

// Music, messages and scheduled messages of six rows each, on one screen.
struct Channel {
  Channel() {
    for (auto [list, box, x] : {std::tuple{&music, &musicBox, 0},
                                {&messages, &messageBox, 230},
                                {&scheduled, &scheduledBox, 460}}) {
      for (int row = 0; row < 6; ++row) list->Append(RowLine(row));
      box->Refresh();
      box->setGeometry(x, 0, 220, 200);
      Listen(*box);
    }
    musicBox.SetPartner(&messageBox);
    ShowScreen(screen);
  }
  Box& Of(MediaListKind kind) {
    return *std::array{&musicBox, &messageBox, &scheduledBox}[static_cast<std::size_t>(kind)];
  }
  void Listen(Box& box) {
    auto note = [this](std::string what) { heard += (heard.empty() ? "" : ", ") + what; };
    QObject::connect(&box, &Box::AddFilesRequested, [=] { note("add"); });
    QObject::connect(&box, &Box::DeleteRequested,
                     [=](bool fromMenu) { note(fromMenu ? "delete menu" : "delete key"); });
    QObject::connect(&box, &Box::PlayRequested,
                     [=](int row) { note("play " + std::to_string(row)); });
    QObject::connect(&box, &Box::StopRequested, [=] { note("stop"); });
    QObject::connect(&box, &Box::RecordRequested, [=] { note("record"); });
    QObject::connect(&box, &Box::DayCommandRequested,
                     [=](DayCommand day) { note("day " + std::to_string(static_cast<int>(day))); });
    QObject::connect(&box, &Box::FilesDropped,
                     [=](const QStringList& paths) { note(paths.join('|').toStdString()); });
    QObject::connect(&box, &Box::RowsChanged, [this] { ++changes; });
  }
  void Click(MediaListKind kind, const Clicks& clicks) {
    for (const auto& [row, keys] : clicks) {
      QTest::mouseClick(Of(kind).viewport(), Qt::LeftButton, keys, RowCenter(Of(kind), row));
    }
  }

  MediaList music{MediaListKind::Music};
  MediaList messages{MediaListKind::Messages};
  MediaList scheduled{MediaListKind::Scheduled};
  QWidget screen;
  Box musicBox{music, &screen};
  Box messageBox{messages, &screen};
  Box scheduledBox{scheduled, &screen};
  std::string heard;
  int changes = 0;
};

constexpr auto kMusic = MediaListKind::Music;
constexpr auto kMessages = MediaListKind::Messages;
constexpr auto kScheduled = MediaListKind::Scheduled;

TEST(MediaListBox, ClicksSelectAsTheirModifiersSayAndADoubleClickPlaysTheRow) {
  const struct {
    MediaListKind list;
    Clicks clicks;
    const char* seen;
  } cases[] = {
      {kMusic, {{1, {}}, {3, {}}}, "a b c [d] e f"},
      {kMusic, {{1, {}}, {3, kShift}}, "a [b] [c] [d] e f"},
      {kMessages, {{1, {}}, {4, kCtrl}}, "a [b] c d [e] f"},
      {kScheduled, {{1, {}}, {4, kCtrl}, {2, kShift}}, "a b [c] d e f"},
  };
  for (const auto& c : cases) {
    Channel channel;
    channel.Click(c.list, c.clicks);
    // The right button only opens the menu.
    QTest::mouseClick(channel.Of(c.list).viewport(), Qt::RightButton, {},
                      RowCenter(channel.Of(c.list), 0));
    EXPECT_EQ(Seen(channel.Of(c.list)), c.seen) << c.seen;
    QTest::mouseDClick(channel.Of(c.list).viewport(), Qt::LeftButton, {},
                       RowCenter(channel.Of(c.list), 5));
    EXPECT_EQ(channel.heard, "play 5");
  }
}

// Opens the context menu over the first row; `popup` stands in for the
// operator's pick.
void OpenMenu(Box& box, Box::MenuPopup popup) {
  box.SetMenuPopup(std::move(popup));
  const QPoint at = RowCenter(box, 0);
  QContextMenuEvent open(QContextMenuEvent::Mouse, at, box.viewport()->mapToGlobal(at));
  QApplication::sendEvent(box.viewport(), &open);
}

// Opening the menu picks nothing here, so only the partner's rows change.
TEST(MediaListBox, ClickingArrowingOrOpeningTheMenuClearsThePartnerListOnly) {
  const std::function<void(Box&)> uses[] = {
      [](Box& box) { QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, RowCenter(box, 0)); },
      [](Box& box) { QTest::keyClick(&box, Qt::Key_Down); },
      [](Box& box) { OpenMenu(box, [](QMenu&, const QPoint&) { return nullptr; }); }};
  for (const auto& use : uses) {
    for (const auto& [list, partner] : {std::pair{kMusic, kMessages}, {kMessages, kMusic}}) {
      Channel channel;
      channel.Click(kScheduled, {{1, {}}});
      channel.Click(partner, {{2, {}}, {4, kCtrl}});
      use(channel.Of(list));
      EXPECT_EQ(Seen(channel.Of(partner)), "a b c d e f");
      EXPECT_EQ(Seen(channel.scheduledBox), "a [b] c d e f");
    }
  }
}

TEST(MediaListBox, KeysStepSelectAndMoveRowsButNotInTheScheduledList) {
  const struct {
    MediaListKind list;
    Clicks clicks;
    Qt::Key key;
    Qt::KeyboardModifiers keys;
    const char* seen;
    const char* heard;
  } cases[] = {
      {kMusic, {{2, {}}, {4, kCtrl}}, Qt::Key_Up, {}, "a b c [d] e f", ""},
      {kMusic, {{2, {}}}, Qt::Key_Down, kShift, "a b [c] [d] e f", ""},
      {kMusic, {{2, {}}}, Qt::Key_Up, kCtrl, "a [c] b d e f", ""},
      {kMessages, {{3, {}}, {5, kCtrl}}, Qt::Key_Down, kCtrl, "a b c [d] e [f]", ""},
      {kMessages, {{3, {}}, {3, kCtrl}}, Qt::Key_Home, kShift, "[a] [b] [c] d e f", ""},
      {kMessages, {{5, {}}}, Qt::Key_Down, {}, "a b c d e [f]", ""},
      {kMusic, {{1, {}}, {3, kCtrl}}, Qt::Key_End, kCtrl, "a c e f [b] [d]", ""},
      {kMusic, {{1, {}}}, Qt::Key_Delete, {}, "a [b] c d e f", "delete key"},
      {kScheduled, {{2, {}}}, Qt::Key_Down, {}, "a b [c] d e f", ""},
      {kScheduled, {{2, {}}}, Qt::Key_Delete, {}, "a b [c] d e f", ""},
  };
  for (const auto& c : cases) {
    Channel channel;
    channel.Click(c.list, c.clicks);
    QTest::keyClick(&channel.Of(c.list), c.key, c.keys);
    EXPECT_EQ(Seen(channel.Of(c.list)), c.seen) << c.seen;
    EXPECT_EQ(channel.heard, c.heard) << c.seen;
  }
}

// Opens the menu over `box`, noting whether the item starting with `item`
// could be picked, and picks it when it could.
bool PickFromMenu(Box& box, const QString& item) {
  bool enabled = false;
  OpenMenu(box, [&](QMenu& menu, const QPoint&) -> QAction* {
    for (QAction* action : menu.actions()) {
      if (!action->isSeparator() && action->text().startsWith(item)) {
        enabled = action->isEnabled();
        return enabled ? action : nullptr;
      }
    }
    ADD_FAILURE() << "no item " << item.toStdString();
    return nullptr;
  });
  return enabled;
}

TEST(MediaListBox, MenuItemsAskTheEditorOrMoveRowsAndPlayingNeedsOneRow) {
  using enum DayCommand;
  const auto day = [](DayCommand command) {
    return "day " + std::to_string(static_cast<int>(command));
  };
  const struct {
    MediaListKind list;
    Clicks clicks;
    const char* item;
    bool enabled;
    std::string heard;
    const char* seen;
  } cases[] = {
      {kMusic, {}, "Add Files", true, "add", "a b c d e f"},
      {kMusic, {{1, {}}}, "Delete", true, "delete menu", "a [b] c d e f"},
      {kMusic, {}, "Start Playing File", false, "", "a b c d e f"},
      {kMusic, {{3, {}}}, "Start Playing File", true, "play 3", "a b c [d] e f"},
      {kMessages, {{1, {}}, {3, kCtrl}}, "Start Playing File", false, "", "a [b] c [d] e f"},
      {kMusic, {}, "Stop Playing File", true, "stop", "a b c d e f"},
      {kScheduled, {}, "Record Audio File", true, "record", "a b c d e f"},
      {kMusic, {{1, {}}}, "Select All", true, "", "[a] [b] [c] [d] [e] [f]"},
      {kMusic, {{1, {}}, {3, kCtrl}}, "Deselect All", true, "", "a b c d e f"},
      {kMusic, {{3, {}}}, "Move Up", true, "", "a b [d] c e f"},
      {kMessages, {{1, {}}}, "Move Down", true, "", "a c [b] d e f"},
      {kMusic, {{4, {}}, {2, kCtrl}}, "Move To Top", true, "", "[c] [e] a b d f"},
      {kMessages, {{0, {}}, {2, kCtrl}}, "Move To Bottom", true, "", "b d e f [a] [c]"},
      {kMusic, {{1, {}}}, "Exit", true, "", "a [b] c d e f"},
      {kScheduled, {}, "Set All Days", false, "", "a b c d e f"},
      {kScheduled, {{2, {}}}, "Clear All Days", true, day(ClearAllDays), "a b [c] d e f"},
      {kScheduled, {{2, {}}}, "Set Week Days", true, day(SetWeekDays), "a b [c] d e f"},
      {kScheduled, {{4, {}}}, "Set Weekend Days", true, day(SetWeekendDays), "a b c d [e] f"},
      {kScheduled, {{4, {}}}, "Reset Start/Stop Date", true, day(ResetDates), "a b c d [e] f"},
  };
  for (const auto& c : cases) {
    Channel channel;
    channel.Click(c.list, c.clicks);
    EXPECT_EQ(PickFromMenu(channel.Of(c.list), QString::fromLatin1(c.item)), c.enabled) << c.item;
    EXPECT_EQ(channel.heard, c.heard) << c.item;
    EXPECT_EQ(Seen(channel.Of(c.list)), c.seen) << c.item;
  }
}

std::unique_ptr<QMimeData> RowDrag(const Box& box, int row) {
  auto mime = std::make_unique<QMimeData>();
  mime->setData(Box::kRowFormat, box.model()->index(row, 0).data().toString().toUtf8());
  return mime;
}

// The action the list takes the drag with; IgnoreAction when it refuses it.
template <class Event>
Qt::DropAction Send(Box& box, QPoint at, const QMimeData& mime) {
  Event event(at, Qt::MoveAction | Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box.viewport(), &event);
  return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
}

bool LineIsDrawnAt(Box& box, int y) {
  const QImage image = box.viewport()->grab().toImage();
  const QRgb black = qRgb(0, 0, 0);
  return image.pixel(image.width() - 2, y) == black && image.pixel(image.width() - 1, y) != black;
}

TEST(MediaListBox, DraggingARowMovesTheSelectionWithinItsOwnListOnly) {
  const struct {
    MediaListKind from, to;
    int pressed, over;  // over -1: below the last row
    const char* seen;
  } cases[] = {
      {kMusic, kMusic, 4, 1, "a [e] b c d f"},
      {kMessages, kMessages, 1, -1, "a c d e f [b]"},
      {kMessages, kMusic, 1, 3, "a b c d e f"},
      {kScheduled, kScheduled, 1, 3, "a [b] c d e f"},
  };
  for (const auto& c : cases) {
    Channel channel;
    Box& target = channel.Of(c.to);
    QTest::mousePress(channel.Of(c.from).viewport(), Qt::LeftButton, {},
                      RowCenter(channel.Of(c.from), c.pressed));
    const auto mime = RowDrag(channel.Of(c.from), c.pressed);
    const QRect last = target.visualRect(target.model()->index(5, 0));
    const QPoint over = c.over < 0 ? QPoint(5, last.bottom() + 8) : RowCenter(target, c.over);
    const bool own = c.from == c.to && c.to != kScheduled;
    const int lineY =
        c.over < 0 ? last.bottom() - 1 : target.visualRect(target.indexAt(over)).top() + 1;
    for (const bool leave : {true, false}) {
      const Qt::DropAction expected = own ? Qt::MoveAction : Qt::IgnoreAction;
      EXPECT_EQ(Send<QDragEnterEvent>(target, over, *mime), expected);
      EXPECT_EQ(Send<QDragMoveEvent>(target, over, *mime), expected);
      EXPECT_EQ(target.Marker(), own ? c.over : -1);
      EXPECT_EQ(LineIsDrawnAt(target, lineY), own) << c.seen;
      if (!leave) break;
      QDragLeaveEvent left;
      QApplication::sendEvent(target.viewport(), &left);
      EXPECT_FALSE(LineIsDrawnAt(target, lineY));
    }
    channel.changes = 0;
    Send<QDropEvent>(target, over, *mime);
    EXPECT_EQ(Seen(target), c.seen);
    EXPECT_EQ(channel.changes > 0, own);
    if (own) {
      EXPECT_EQ(std::tuple(target.Marker(), target.Rows().Anchor(), target.DragSource()),
                std::tuple(-1, -1, -1));
    }
  }
}

TEST(MediaListBox, LocalFilesDroppedOnAnyListAreHandedOnInOrderAndItsRowsDeselected) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile("/tmp/b.ogg"), QUrl("https://example.com/c.ogg"),
                QUrl::fromLocalFile("/tmp/" + QString(Box::kMaxDroppedPath, 'x')),
                QUrl::fromLocalFile("/tmp/a.ogg")});
  for (const MediaListKind list : {kMusic, kMessages, kScheduled}) {
    Channel channel;
    channel.Click(list, {{2, {}}});
    EXPECT_EQ(Send<QDragEnterEvent>(channel.Of(list), RowCenter(channel.Of(list), 4), mime),
              Qt::CopyAction);
    EXPECT_EQ(Send<QDropEvent>(channel.Of(list), RowCenter(channel.Of(list), 4), mime),
              Qt::CopyAction);
    EXPECT_EQ(channel.heard, "/tmp/b.ogg|/tmp/a.ogg");
    EXPECT_EQ(Seen(channel.Of(list)), "a b c d e f");
  }
}

TEST(MediaListBox, DraggingNearAnEdgeScrollsFasterTheFurtherPastItUntilTheEnd) {
  Channel channel;
  Box& box = channel.musicBox;
  for (int row = 6; row < 40; ++row) channel.music.Append(RowLine(row));
  box.Refresh();
  const auto topRow = [&] { return box.indexAt(QPoint(0, 0)).row(); };
  QTest::mousePress(box.viewport(), Qt::LeftButton, {}, RowCenter(box, 0));
  const auto mime = RowDrag(box, 0);
  const int height = box.viewport()->height();
  const int rowHeight = box.visualRect(box.model()->index(0, 0)).height();
  const QPoint middle(5, height / 2);
  Send<QDragEnterEvent>(box, middle, *mime);
  const struct {
    int y, interval, topRow;
  } cases[] = {{2, 25, 9},
               {-2 * rowHeight, 8, 9},
               {height / 2, 0, 10},
               {height - 3, 25, 11},
               {height + 4 * rowHeight, 5, 11},
               {height + 30 * rowHeight, 0, 10}};  // past the last row
  for (const auto& c : cases) {
    box.verticalScrollBar()->setValue(10);
    // Moving on at the same pace waits for the timer: one row, not two.
    Send<QDragMoveEvent>(box, QPoint(5, c.y), *mime);
    Send<QDragMoveEvent>(box, QPoint(5, c.y), *mime);
    EXPECT_EQ(box.ScrollInterval(), c.interval) << c.y;
    EXPECT_EQ(topRow(), c.topRow) << c.y;
    Send<QDragMoveEvent>(box, middle, *mime);
  }
  box.verticalScrollBar()->setValue(2);
  Send<QDragMoveEvent>(box, QPoint(5, 2), *mime);
  EXPECT_EQ(std::pair(topRow(), box.Marker()), std::pair(1, 1));
  box.ScrollTick();
  EXPECT_EQ(std::pair(topRow(), box.Marker()), std::pair(0, 0));
  EXPECT_EQ(box.ScrollInterval(), 25);
  box.ScrollTick();
  EXPECT_EQ(box.ScrollInterval(), 0);
  Send<QDragMoveEvent>(box, QPoint(5, height - 3), *mime);
  QDragLeaveEvent left;
  QApplication::sendEvent(box.viewport(), &left);
  EXPECT_EQ(box.ScrollInterval(), 0);
}

TEST(MediaListBox, ScreenReadersReadEachRowsText) {
  Channel channel;
  channel.messages.Append(RowLine(6));
  channel.messageBox.Refresh();
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&channel.messageBox);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->childCount(), 7);
  for (int row = 0; row < 7; ++row) {
    EXPECT_EQ(list->child(row)->text(QAccessible::Name).toStdString(), RowLine(row));
  }
}

}  // namespace
}  // namespace corvane::test
