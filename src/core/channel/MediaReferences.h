#pragma once
// Which playlists use a media file. Before the channel editor deletes a file
// from the package it counts the lines that still refer to it, in its own
// live lists and in the other channel's stored playlists; and when the
// operator adds a file whose name is already in use, it looks for the line
// that holds that name so the same file is reused.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "channel/ChannelConfig.h"

namespace corvane {

// Read-only rows of a playlist: a list control on screen or a stored playlist.
class MediaListView {
 public:
  virtual ~MediaListView() = default;
  virtual std::size_t RowCount() const = 0;
  // The text of a row; empty for a row past the end.
  virtual std::string_view Row(std::size_t index) const = 0;
};

// The editor's live lists in the order music, messages, scheduled; a null
// pointer stands for a list that is not there.
using LiveMediaLists = std::span<const MediaListView* const>;

// The channel whose stored playlists count as "the other channel": channel 1
// while channel 2 is being edited, channel 2 otherwise (0 and 1 both mean the
// first channel is being edited).
int OtherChannelNumber(int editedChannelNumber);

// How many places refer to the file of line (its unsaved marker ignored):
// one for each live list holding a row equal to the line, with or without the
// marker and in any letter case, plus each stored entry of the other channel's
// music, message and scheduled playlists equal to the line exactly.
int CountReferences(std::string_view line, LiveMediaLists liveLists,
                    const ChannelConfig& otherChannel);

// The first line whose base name equals base exactly, looking through the
// live music, message and scheduled lists and then the other channel's stored
// music, message and scheduled playlists. The line is returned as found,
// marker included.
std::optional<std::string> FindByBaseName(std::string_view base, LiveMediaLists liveLists,
                                          const ChannelConfig& otherChannel);

}  // namespace corvane
