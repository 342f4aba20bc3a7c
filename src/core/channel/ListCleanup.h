#pragma once
// Taking rows out of the channel editor's lists in bulk, with the converted
// files that only those rows name: when the operator abandons the editing,
// and when external music makes the music list unused.
//
// A file goes when exactly one place still names it, the row being taken
// out: no other list being edited, no stored entry of the other channel and
// none of the edited channel's own stored playlists named below.

#include <filesystem>

#include "channel/ChannelConfig.h"
#include "channel/MediaList.h"

namespace corvane {

// Cancel, for one list: rows equal to an entry of the channel's stored
// playlist of that kind stay; every row added since opening goes.
void DropRowsAddedSinceOpening(EditedLists lists, MediaListKind kind, const ChannelConfig& edited,
                               const ChannelConfig& other, const std::filesystem::path& tempFolder);

// Empties the music list and the channel's stored music playlist. A file the
// stored messages also name stays.
void PurgeMusic(EditedLists lists, ChannelConfig& edited, const ChannelConfig& other,
                const std::filesystem::path& tempFolder);

}  // namespace corvane
