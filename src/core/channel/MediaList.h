#pragma once
// The rows of one of the channel editor's three lists (music, messages,
// scheduled messages) and what the operator does with them: selecting by
// click and keyboard, moving the selection, keeping the running total. The
// list control on screen draws these rows and forwards clicks and keys.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "channel/MediaReferences.h"

namespace corvane {

enum class MediaListKind { Music, Messages, Scheduled };

// How a click arrived.
struct ClickKeys {
  bool shift = false;
  bool control = false;
};

class MediaList final : public MediaListView {
 public:
  explicit MediaList(MediaListKind kind) : kind_(kind) {}

  MediaListKind Kind() const { return kind_; }
  std::size_t RowCount() const override { return rows_.size(); }
  std::string_view Row(std::size_t index) const override;
  bool IsSelected(std::size_t index) const;
  std::vector<std::size_t> Selected() const;
  // The sum of the rows' durations, as their labels give them.
  std::int64_t TotalSeconds() const { return total_; }
  // The row last clicked or reached by keyboard; -1 for none.
  int Anchor() const { return anchor_; }
  // The editor starts the total from the stored playlist's, not the labels.
  void SetTotal(std::int64_t seconds) { total_ = seconds; }

  // A row at the end, counted into the total, not selected.
  void Append(std::string line);
  // Takes the row out and its duration off the total.
  void Remove(std::size_t index);
  void SelectAll(bool selected);
  void Select(std::size_t index, bool selected);
  // The keyboard sets the anchor where it lands; -1 for none.
  void SetAnchor(int anchor) { anchor_ = anchor; }

  // A click on a row, after which the list shows the selection the operator
  // expects: the scheduled list holds one row at a time; in the others Shift
  // selects from the anchor, Ctrl toggles, a plain click selects only this
  // row. A click past the rows does nothing.
  void Click(std::size_t index, ClickKeys keys);

  // Moves the selected rows, in their order, to stand before `position`
  // (counted in the list as it was); they stay selected.
  void MoveSelectedTo(std::size_t position);
  // The menu's and Ctrl+arrow's moves; each returns the row that becomes the
  // anchor (see the list control's commands).
  int MoveUp();
  int MoveDown();
  // With an anchor only: the selection to the top (anchor 0) or the bottom
  // (anchor = row count).
  void MoveToTop();
  void MoveToBottom();
  void ForgetAnchor() { anchor_ = -1; }

 private:
  struct Entry {
    std::string line;
    bool selected = false;
  };

  MediaListKind kind_;
  std::vector<Entry> rows_;
  std::int64_t total_ = 0;
  int anchor_ = -1;
};

// The scheduled list's rows and the two values kept per row beside them:
// the start time in minutes after midnight and the packed schedule word.
struct ScheduledRows {
  MediaList& list;
  std::vector<std::uint32_t>& startMinutes;
  std::vector<std::uint32_t>& words;
};

// The three lists of the channel being edited.
struct EditedLists {
  MediaList& music;
  MediaList& messages;
  ScheduledRows scheduled;
};

// The list of that kind among them.
MediaList& ListOfKind(EditedLists& lists, MediaListKind kind);

}  // namespace corvane
