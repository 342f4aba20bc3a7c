#pragma once
// What the processor offers the cipher, the checksum and the mixer, asked once. The
// build targets baseline x86-64, so the faster paths are chosen here at run
// time rather than by compiler flags.

namespace corvane::cpu {

struct Features {
  bool avx2 = false;
  bool avx512 = false;   // F, BW and VL: what the 512-bit cipher kernel uses
  bool pclmul = false;   // PCLMULQDQ with SSE4.1
  bool vpclmul = false;  // VPCLMULQDQ on 512-bit registers (with AVX-512 F and BW)
};

inline Features Detect() {
  Features f;
#if defined(__x86_64__) || defined(__i386__)
  // libgcc also checks that the OS saves the wider register state.
  __builtin_cpu_init();
  f.avx2 = __builtin_cpu_supports("avx2");
  f.avx512 = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("avx512vl");
  f.pclmul = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  f.vpclmul = f.pclmul && f.avx512 && __builtin_cpu_supports("vpclmulqdq");
#endif
  return f;
}

inline const Features& Detected() {
  static const Features features = Detect();
  return features;
}

}  // namespace corvane::cpu
