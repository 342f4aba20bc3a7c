#pragma once
// What a kill trial and the program it kills agree on.

namespace corvane::test {

// The converted files a package save carries, in the temporary folder.
inline constexpr const char* kKillTrialMedia[] = {"intro.ogg", "song.ogg", "jingle.ogg"};

}  // namespace corvane::test
