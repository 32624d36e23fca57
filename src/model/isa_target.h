#pragma once

// Instruction-set targets for the per-path builds of a hot kernel. A kernel source includes
// the standard headers it needs first, then opens DLSLAB_TARGET_AVX2 or DLSLAB_TARGET_AVX512
// with _Pragma, defines its code and closes with DLSLAB_TARGET_END. Only code defined inside
// is built for the target, so the library's inline functions (std::vector and the like) keep
// the baseline code wherever the linker takes them from, and can still be inlined into the
// kernel (the kernel's set includes the baseline's). What differs between the paths' code is
// written in the path's own source, never under the compiler's __AVX2__ / __AVX512F__ macros,
// which the pragma does not set. The engine reaches the paths' entry points as isa_dispatch.h
// tells.

// clang-format off
#if defined(__clang__)
// clang ignores the GCC target pragma; its attribute pragma marks every function defined in
// the region, lambdas included.
#define DLSLAB_TARGET_AVX2                                                                  \
  _Pragma("clang attribute push(__attribute__((target(\"avx2,bmi,bmi2,popcnt,lzcnt\"))), \
          apply_to = function)")
#define DLSLAB_TARGET_AVX512                                                     \
  _Pragma("clang attribute push(__attribute__((target(\"avx2,bmi,bmi2,popcnt,lzcnt,avx512f,\
avx512bw,avx512dq,avx512cd,avx512vl\"))), apply_to = function)")
#define DLSLAB_TARGET_AVX512_VP2I                                                \
  _Pragma("clang attribute push(__attribute__((target(\"avx2,bmi,bmi2,popcnt,lzcnt,avx512f,\
avx512bw,avx512dq,avx512cd,avx512vl,avx512vbmi2,avx512vp2intersect\"))), apply_to = function)")
#define DLSLAB_TARGET_SCALAR \
  _Pragma("clang attribute push(__attribute__((annotate(\"scalar\"))), apply_to = function)")
#define DLSLAB_TARGET_END _Pragma("clang attribute pop")
#else
#define DLSLAB_TARGET_AVX2 \
  _Pragma("GCC push_options") _Pragma("GCC target(\"avx2,bmi,bmi2,popcnt,lzcnt\")")
#define DLSLAB_TARGET_AVX512           \
  _Pragma("GCC push_options") _Pragma( \
      "GCC target(\"avx2,bmi,bmi2,popcnt,lzcnt,avx512f,avx512bw,avx512dq,avx512cd,avx512vl\")")
#define DLSLAB_TARGET_AVX512_VP2I                                              \
  _Pragma("GCC push_options") _Pragma("GCC target(\"avx2,bmi,bmi2,popcnt,lzcnt,avx512f,\
avx512bw,avx512dq,avx512cd,avx512vl,avx512vbmi2,avx512vp2intersect\")")
#define DLSLAB_TARGET_SCALAR _Pragma("GCC push_options")
#define DLSLAB_TARGET_END _Pragma("GCC pop_options")
#endif
// clang-format on
