#pragma once
// The instruction set a translation unit is compiled for, as a namespace name. Every SIMD
// definition, and every kernel built on them, lives in an inline namespace of this name: where
// one library holds the same kernels compiled for two instruction sets, their inline functions
// and template instances then have distinct symbols, and the linker cannot hand a caller of one
// set the other set's copy.
//
// QTX_ISA_NAME is the set's name as tools print it.
#if defined(QTX_SIMD_SCALAR) ||                                                                    \
    !((defined(__ARM_NEON) && defined(__aarch64__)) || (defined(__SSE4_1__) && defined(__FMA__)))
#define QTX_ISA isa_scalar
#define QTX_ISA_NAME "scalar"
#elif defined(__aarch64__) && defined(__ARM_FEATURE_COMPLEX)
#define QTX_ISA isa_armv8_3
#define QTX_ISA_NAME "armv8.3-a"
#elif defined(__aarch64__)
#define QTX_ISA isa_armv8
#define QTX_ISA_NAME "armv8-a"
#else
#define QTX_ISA isa_x86_64_v3
#define QTX_ISA_NAME "x86-64-v3"
#endif
