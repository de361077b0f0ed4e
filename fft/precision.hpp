// Working precision of one engine build. The engine sources are compiled twice, once with
// QTX_FFT_SINGLE and once with QTX_FFT_DOUBLE; everything internal lives in a namespace
// named after the precision so both builds can be linked into one test program.
#pragma once

#include "simd/isa.hpp"

#if defined(QTX_FFT_DOUBLE) == defined(QTX_FFT_SINGLE)
#error "define exactly one of QTX_FFT_SINGLE and QTX_FFT_DOUBLE"
#endif

#if defined(QTX_FFT_DOUBLE)
#define QTX_ENGINE engine_f64
#define QTX_PUBLIC(name) qtx_fft_##name
#else
#define QTX_ENGINE engine_f32
#define QTX_PUBLIC(name) qtx_fftf_##name
#endif

namespace qtx::QTX_ENGINE {

#if defined(QTX_FFT_DOUBLE)
using real = double;
inline constexpr bool is_double = true;
#else
using real = float;
inline constexpr bool is_double = false;
#endif

// A complex value is stored as its real and imaginary parts side by side.
inline constexpr int reals_per_complex = 2;
// Bytes of one complex element of the working precision.
inline constexpr unsigned complex_bytes = reals_per_complex * sizeof(real);

} // namespace qtx::QTX_ENGINE
