#include "channel/MediaList.h"

#include <algorithm>

#include "channel/MediaEntry.h"

namespace corvane {

std::string_view MediaList::Row(std::size_t index) const {
  return index < rows_.size() ? std::string_view(rows_[index].line) : std::string_view();
}

bool MediaList::IsSelected(std::size_t index) const {
  return index < rows_.size() && rows_[index].selected;
}

std::vector<std::size_t> MediaList::Selected() const {
  std::vector<std::size_t> selected;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].selected) selected.push_back(i);
  }
  return selected;
}

void MediaList::Append(std::string line) {
  total_ += DurationOfEntry(line);
  rows_.push_back({std::move(line), false});
}

void MediaList::Remove(std::size_t index) {
  if (index >= rows_.size()) return;
  total_ -= DurationOfEntry(rows_[index].line);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
}

void MediaList::SelectAll(bool selected) {
  for (Entry& entry : rows_) entry.selected = selected;
}

void MediaList::Select(std::size_t index, bool selected) {
  if (index < rows_.size()) rows_[index].selected = selected;
}

void MediaList::Click(std::size_t index, ClickKeys keys) {
  if (index >= rows_.size()) return;
  if (kind_ == MediaListKind::Scheduled) {
    SelectAll(false);
    rows_[index].selected = true;
    return;
  }
  // The list box itself toggles the row first; the rules below build on that.
  rows_[index].selected = !rows_[index].selected;
  const int clicked = static_cast<int>(index);
  if (keys.shift && anchor_ >= 0) {
    SelectAll(false);
    const auto [from, to] = std::minmax(anchor_, clicked);
    for (int i = from; i <= to && i < static_cast<int>(rows_.size()); ++i) {
      rows_[static_cast<std::size_t>(i)].selected = true;
    }
    return;
  }
  anchor_ = clicked;
  if (keys.control || !rows_[index].selected) return;
  SelectAll(false);
  rows_[index].selected = true;
}

void MediaList::MoveSelectedTo(std::size_t position) {
  std::vector<Entry> taken;
  for (std::size_t i = rows_.size(); i-- > 0;) {
    if (!rows_[i].selected) continue;
    taken.push_back(std::move(rows_[i]));
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
    if (i < position) --position;
  }
  std::reverse(taken.begin(), taken.end());
  position = std::min(position, rows_.size());
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(position),
               std::make_move_iterator(taken.begin()), std::make_move_iterator(taken.end()));
}

int MediaList::MoveUp() {
  const std::vector<std::size_t> selected = Selected();
  int result = 0;
  if (!selected.empty() && selected.front() > 0) {
    MoveSelectedTo(selected.front() - 1);
    result = static_cast<int>(selected.front()) - 1;
  }
  anchor_ = result;
  return result;
}

int MediaList::MoveDown() {
  const std::vector<std::size_t> selected = Selected();
  int result = 0;
  if (selected.empty()) {
    // Nothing to move; the anchor goes to the top all the same.
  } else if (selected.back() + 1 == rows_.size()) {
    result = static_cast<int>(rows_.size());
  } else {
    MoveSelectedTo(selected.back() + 2);
    result = static_cast<int>(selected.back()) + 1;
  }
  anchor_ = result;
  return result;
}

void MediaList::MoveToTop() {
  if (anchor_ < 0) return;
  MoveSelectedTo(0);
  anchor_ = 0;
}

void MediaList::MoveToBottom() {
  if (anchor_ < 0) return;
  MoveSelectedTo(rows_.size());
  anchor_ = static_cast<int>(rows_.size());
}

MediaList& ListOfKind(EditedLists& lists, MediaListKind kind) {
  switch (kind) {
    case MediaListKind::Music:
      return lists.music;
    case MediaListKind::Messages:
      return lists.messages;
    case MediaListKind::Scheduled:
      break;
  }
  return lists.scheduled.list;
}

}  // namespace corvane
