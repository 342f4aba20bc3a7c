#pragma once
// Opens an audio file for reading, the one way every part of the engine
// does: local files only, no playlists that would pull in other files, and
// the best audio stream picked.

#include <string>

#include "audio/MediaOwners.h"

extern "C" {
struct AVCodec;
}

namespace corvane::media {

struct OpenedInput {
  InputFormat format;
  int stream = -1;                   // index of the audio stream
  const AVCodec* decoder = nullptr;  // its decoder; may be null when only copying
};

// False with a reason when the file cannot be opened, is not a container
// FFmpeg knows, or holds no audio stream. With needDecoder, a stream whose
// codec has no decoder counts as none.
bool OpenInputFile(const std::string& path, bool needDecoder, OpenedInput& opened,
                   std::string& error);

}  // namespace corvane::media
