#pragma once
// File names that come from outside (a package's members, the playlists of
// an opened package) are joined to a folder of ours: they must stay inside it.

#include <string_view>

namespace corvane {

// Not empty, not "." or "..", no folder separator of either kind, no NUL.
inline bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace corvane
