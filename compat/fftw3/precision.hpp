// Working precision of one interface build. The sources are compiled twice: with
// QVSIP_FFTW3_DOUBLE into libqvsip_fftw3 (fftw_ names on the qtx_fft_ engine) and with
// QVSIP_FFTW3_SINGLE into libqvsip_fftw3f (fftwf_ names on the qtx_fftf_ engine).
#pragma once

#include <cstdint>

#include "qtx_fft.h"
#include "qvsip/fftw3/fftw3.h"

#if defined(QVSIP_FFTW3_DOUBLE) == defined(QVSIP_FFTW3_SINGLE)
#error "define exactly one of QVSIP_FFTW3_SINGLE and QVSIP_FFTW3_DOUBLE"
#endif

#if defined(QVSIP_FFTW3_DOUBLE)
#define QVSIP_FFTW3_NAMESPACE fftw3_f64
#define X(name) fftw_##name
#define E(name) qtx_fft_##name
#define QVSIP_FFTW3_PRECISION_NAME "double"
#else
#define QVSIP_FFTW3_NAMESPACE fftw3_f32
#define X(name) fftwf_##name
#define E(name) qtx_fftf_##name
#define QVSIP_FFTW3_PRECISION_NAME "single"
#endif

namespace qtx::QVSIP_FFTW3_NAMESPACE {

#if defined(QVSIP_FFTW3_DOUBLE)
using real = double;
#else
using real = float;
#endif
using complex = X(complex);
using engine_complex = E(complex);
using engine_plan = E(plan);

} // namespace qtx::QVSIP_FFTW3_NAMESPACE
