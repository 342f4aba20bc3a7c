#pragma once
// The default background music the project makes itself: a calm piece of
// about three and a half minutes (pad, bass, electric-piano arpeggios and a
// soft melody over an eight-bar progression in C major), synthesised from
// nothing but this code, so no third-party recording is ever shipped.

#include <cstdint>
#include <vector>

namespace corvane {

// The music's length in seconds, the same at every rate.
double DefaultMusicSeconds();

// The piece as mono 16-bit samples at the rate. Deterministic: the same rate
// gives the same samples on every machine with IEEE arithmetic.
std::vector<std::int16_t> SynthesizeDefaultMusic(int rate);

}  // namespace corvane
