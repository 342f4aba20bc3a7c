#pragma once
// The inner loops of the production mixer: music scaled by its level, a
// message laid over the music, and the fades around a message. Each gives
// exactly the double-precision results, truncated toward zero and held
// within 16 bits, that the mixer's rules define; on x86 they run eight to
// sixteen samples at a time.

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

// out[k] = trunc(factors[k] * out[k] / 10.0), in double precision.
void FadeSamples(const double* factors, std::size_t count, std::int16_t* out);

}  // namespace corvane
