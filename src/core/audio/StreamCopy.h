#pragma once
// The "copy" conversion: the source's audio stream moved into the
// destination's container as it is, without decoding.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace corvane {

struct StreamCopyResult {
  bool ok = false;
  double seconds = 0;  // length of the copied stream
  std::string error;
};

// The container is the one the destination's extension names, else the
// source's own. progress is called with 0 to 1 as the copy goes on.
StreamCopyResult CopyAudioStream(const std::filesystem::path& source,
                                 const std::filesystem::path& destination,
                                 const std::filesystem::path& extensionSource,
                                 const std::function<void(double)>& progress);

}  // namespace corvane
