#pragma once
// Entry header of the SIMD layer. Kernels include this, write `using namespace qtx::simd;` and
// call add, cmul, load_complex_strided, ... on vec<R>; the operations and their exact semantics
// are documented at the scalar backend (backend_scalar.hpp) and in complex_ops.hpp.
//
// Every backend is its own namespace (qtx::simd::scalar, ::sse, ::neon) with the same interface,
// inside the inline namespace of the instruction set the file is compiled for (simd/isa.hpp).
// The scalar one is always compiled; SSE needs SSE4.1 + FMA, NEON needs AArch64. The most capable
// compiled-in backend is the default unless QTX_SIMD_SCALAR is defined.
#include "simd/backend_scalar.hpp"
#include "simd/lanes_scalar.hpp"

#if defined(__SSE4_1__) && defined(__FMA__)
#define QTX_SIMD_HAVE_SSE 1
#include "simd/backend_sse.hpp"
#include "simd/lanes_sse.hpp"
#endif

#if defined(__ARM_NEON) && defined(__aarch64__)
#define QTX_SIMD_HAVE_NEON 1
#include "simd/backend_neon.hpp"
#include "simd/lanes_neon.hpp"
#endif

namespace qtx::simd::inline QTX_ISA {

#if defined(QTX_SIMD_SCALAR)
using namespace scalar;
#elif defined(QTX_SIMD_HAVE_NEON)
using namespace neon;
#elif defined(QTX_SIMD_HAVE_SSE)
using namespace sse;
#else
using namespace scalar;
#endif

} // namespace qtx::simd::inline QTX_ISA
