#pragma once
// The x86 vector intrinsics for the AVX-512 paths. GCC 12 warns about the
// deliberately undefined source operand inside its own 512-bit intrinsics
// (GCC bug 105593); the warning is silenced for the header only.

#if defined(__x86_64__) || defined(__i386__)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif
