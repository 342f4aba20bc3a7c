#pragma once
// Deleting rows from one of the channel editor's lists. A row's converted
// file in the temporary folder goes only when nothing else names it: no row
// left in the three lists being edited and no stored entry of the other
// channel. A row already saved is also taken out of the channel's stored
// playlist, so Cancel cannot bring back a file that is gone.

#include <cstddef>
#include <filesystem>
#include <functional>

#include "channel/ChannelConfig.h"
#include "channel/MediaList.h"
#include "operator/Operator.h"

namespace corvane {

// The selected rows of the `kind` list, once the operator agrees; playback
// stops first, since the file playing may be one of them. Returns how many
// rows went: 0 with nothing selected or when the operator declines.
std::size_t DeleteSelectedRows(MediaListKind kind, EditedLists lists, ChannelConfig& stored,
                               const ChannelConfig& otherChannel,
                               const std::filesystem::path& tempFolder, Operator& op,
                               const std::function<void()>& stopPlayback);

}  // namespace corvane
