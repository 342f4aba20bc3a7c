#include "channel/MediaList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using Rows = std::vector<std::string>;
using Indexes = std::vector<std::size_t>;

// Rows "a" to the letter of `count`, each a minute longer than the one before.
MediaList ListOf(std::size_t count, MediaListKind kind = MediaListKind::Music) {
  MediaList list(kind);
  for (std::size_t i = 0; i < count; ++i) {
    list.Append("00:0" + std::to_string(i + 1) + ":00 | " + std::string(1, char('a' + i)));
  }
  return list;
}

// The names of the rows in order, and of the selected ones.
Rows Names(const MediaList& list, bool selectedOnly = false) {
  Rows names;
  for (std::size_t i = 0; i < list.RowCount(); ++i) {
    if (!selectedOnly || list.IsSelected(i)) names.emplace_back(list.Row(i).substr(11));
  }
  return names;
}

void Select(MediaList& list, const Indexes& rows) {
  for (const std::size_t row : rows) list.Click(row, {.control = true});
}

TEST(MediaList, SelectedRowsMoveTogetherInTheirOrder) {
  const struct {
    Indexes selected;
    std::size_t position;
    Rows after;
  } cases[] = {
      {{1, 3, 4}, 0, {"b", "d", "e", "a", "c", "f"}},  // not side by side, to the top
      {{0, 2}, 4, {"b", "d", "a", "c", "e", "f"}},     // before "e", counted as it was
      {{0, 5}, 6, {"b", "c", "d", "e", "a", "f"}},     // to the end
      {{2}, 99, {"a", "b", "d", "e", "f", "c"}},       // past the end
  };
  for (const auto& c : cases) {
    MediaList list = ListOf(6);
    Select(list, c.selected);
    list.MoveSelectedTo(c.position);
    EXPECT_EQ(Names(list), c.after) << c.position;
    EXPECT_EQ(list.Selected().size(), c.selected.size()) << c.position;
    EXPECT_EQ(list.TotalSeconds(), 21 * 60);
  }
}

TEST(MediaList, MovesUpAndDownStopAtTheEndsAndSetTheAnchor) {
  const struct {
    bool up;
    Indexes selected;
    int result;
    Rows after;
  } cases[] = {
      {true, {0, 2}, 0, {"a", "b", "c", "d"}},  // the first row already at the top
      {true, {2, 3}, 1, {"a", "c", "d", "b"}},  {true, {}, 0, {"a", "b", "c", "d"}},
      {false, {1, 3}, 4, {"a", "b", "c", "d"}},  // the last row already at the bottom
      {false, {0, 1}, 2, {"c", "a", "b", "d"}}, {false, {}, 0, {"a", "b", "c", "d"}},
  };
  for (const auto& c : cases) {
    MediaList list = ListOf(4);
    Select(list, c.selected);
    EXPECT_EQ(c.up ? list.MoveUp() : list.MoveDown(), c.result);
    EXPECT_EQ(list.Anchor(), c.result);
    EXPECT_EQ(Names(list), c.after) << (c.up ? "up " : "down ") << c.result;
  }
}

TEST(MediaList, MovesToTheTopOrBottomNeedAnAnchor) {
  MediaList list = ListOf(4);
  list.Click(2, {});
  list.MoveToBottom();
  EXPECT_EQ(Names(list), (Rows{"a", "b", "d", "c"}));
  EXPECT_EQ(list.Anchor(), 4);
  list.MoveToTop();
  EXPECT_EQ(Names(list), (Rows{"c", "a", "b", "d"}));
  EXPECT_EQ(list.Anchor(), 0);

  MediaList noAnchor = ListOf(3);
  noAnchor.SelectAll(true);
  noAnchor.MoveToBottom();
  EXPECT_EQ(noAnchor.Anchor(), -1);
}

TEST(MediaList, ClicksSelectAsTheListKindAndKeysSay) {
  const struct {
    MediaListKind kind;
    Indexes before;  // selected by Ctrl-clicks, the last of them the anchor
    std::size_t clicked;
    ClickKeys keys;
    Rows selected;
    int anchor;
  } cases[] = {
      {MediaListKind::Music, {0, 1}, 3, {}, {"d"}, 3},  // only the clicked row
      {MediaListKind::Music, {0, 3}, 3, {}, {"a"}, 3},  // a selected row lets go
      {MediaListKind::Messages, {0}, 2, {.control = true}, {"a", "c"}, 2},
      {MediaListKind::Music, {4, 1}, 3, {.shift = true}, {"b", "c", "d"}, 1},
      {MediaListKind::Music, {}, 3, {.shift = true}, {"d"}, 3},       // no anchor: a plain click
      {MediaListKind::Scheduled, {}, 1, {.shift = true}, {"b"}, -1},  // one row at a time
      {MediaListKind::Music, {0}, 9, {}, {"a"}, 0},                   // past the rows
  };
  for (const auto& c : cases) {
    MediaList list = ListOf(5, c.kind);
    Select(list, c.before);
    if (c.kind == MediaListKind::Scheduled) list.Click(3, {});
    list.Click(c.clicked, c.keys);
    EXPECT_EQ(Names(list, true), c.selected) << c.clicked;
    EXPECT_EQ(list.Anchor(), c.anchor) << c.clicked;
  }
}

}  // namespace
}  // namespace corvane
