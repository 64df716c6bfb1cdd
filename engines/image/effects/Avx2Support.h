// What the AVX2 rows of the effects share. Their functions carry the target attribute, and the program calls
// them only after ProcessorHasAvx2 answered true, so everything else keeps the baseline instruction set.
// Where the compiler or the processor family cannot build them, VEMO_AVX2_ROWS stays undefined and only the
// portable rows exist.
#pragma once

#if (defined(__x86_64__) || defined(__i386__)) && defined(__has_builtin)
#if __has_builtin(__builtin_shufflevector) && __has_builtin(__builtin_cpu_supports)
#define VEMO_AVX2_ROWS 1
#define VEMO_AVX2 __attribute__((target("avx2")))
#define VEMO_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline
#endif
#endif

namespace Vemo {

// Whether the processor runs AVX2 (false where no AVX2 rows were built).
bool ProcessorHasAvx2();

} // namespace Vemo
