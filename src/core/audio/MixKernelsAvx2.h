#pragma once
// The mixer's inner loops on 256-bit registers, for processors that have
// AVX2 (asked at run time; the build targets baseline x86-64). Each handles
// the samples up to a multiple of its width and returns how many it did; the
// caller finishes the rest. Their results are those of the narrower loops,
// operation for operation.

#include <cstddef>
#include <cstdint>

namespace corvane::avx2 {

// True when the processor has AVX2 and this build has the loops.
bool Available();

// Music level in 0..10.
std::size_t ScaleMusic(const std::uint8_t* samples, std::size_t count, int level,
                       std::int16_t* out);
// Message level and cross-fade in 0..10.
std::size_t LayMessage(const std::uint8_t* samples, std::size_t count, int level, int crossFade,
                       std::int16_t* mix);
// Any factors.
std::size_t Fade(const double* factors, std::size_t count, std::int16_t* out);

}  // namespace corvane::avx2
