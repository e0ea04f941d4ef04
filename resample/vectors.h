// Which vector kernels exist in this build and which of them may run. Every
// kernel gives the bytes of the plain loops, so the choice changes speed only.
#pragma once

// x86 with SSE2 (every x86-64) has the 128-bit kernels in its baseline and the
// wider ones behind a run-time check of the processor. Elsewhere the plain
// loops are the kernels.
#if (defined(__x86_64__) || defined(__i386__)) && defined(__SSE2__)
#define GLYPHARY_X86_VECTORS 1
#else
#define GLYPHARY_X86_VECTORS 0
#endif

#if GLYPHARY_X86_VECTORS
// Functions built for more than the baseline, reached only once the processor
// has been checked. Per function rather than per file, so that nothing else
// in a file - above all the standard library's inline templates, which the
// linker may keep from any one file for the whole program - gets instructions
// the processor may lack. A helper that uses the wider intrinsics must carry
// the same mark to be inlined into its callers; plain helpers inline freely.
#define GLYPHARY_AVX2 __attribute__((target("avx2")))
#define GLYPHARY_AVX512 __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vnni")))

// GCC 12 warns about its own 512-bit intrinsics, which start from deliberately
// undefined vectors; clang has neither the warning nor the need.
#if defined(__GNUC__) && !defined(__clang__)
#define GLYPHARY_BEGIN_512_BIT_INTRINSICS \
  _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Wmaybe-uninitialized\"")
#define GLYPHARY_END_512_BIT_INTRINSICS _Pragma("GCC diagnostic pop")
#else
#define GLYPHARY_BEGIN_512_BIT_INTRINSICS
#define GLYPHARY_END_512_BIT_INTRINSICS
#endif
#endif

namespace glyphary {

// Each level includes the ones below it.
enum class Vectors { kScalar, kSse2, kAvx2, kAvx512 };

// The widest level this build has kernels for and the processor runs:
// AVX-512 needs byte permutes (VBMI) and dot products (VNNI) besides
// AVX-512F and BW.
Vectors ProcessorVectors();

// The level the kernels use: the processor's, lowered by the GLYPHARY_VECTORS
// environment variable (read once) and by tests.
Vectors ActiveVectors();

// What a GLYPHARY_VECTORS setting (null when unset) leaves of the processor's
// level. It only ever lowers it; an unknown name leaves it.
Vectors VectorsAllowedBy(const char* setting, Vectors processor);

}  // namespace glyphary
