#pragma once
// The two inner loops of the production mixer, over whole files of samples:
// a music file scaled by its level, and a message laid over the music. Both
// give exactly the double-precision results, truncated toward zero and held
// within 16 bits, that the mixer's rules define; on x86 they run four to
// eight samples at a time.

#include <cstddef>
#include <cstdint>

namespace corvane {

// out[k] = trunc(s[k] * level / 10.0) for the little-endian samples s; out
// may be the samples themselves.
void ScaleMusic(const std::uint8_t* samples, std::size_t count, int level, std::int16_t* out);

// mix[k] = trunc((level * m[k] + crossFade * mix[k]) / (crossFade + 10)) for
// the little-endian message samples m.
void LayMessage(const std::uint8_t* samples, std::size_t count, int level, int crossFade,
                std::int16_t* mix);

}  // namespace corvane
