// Reference transforms of real data for the engine tests: FFTW's real-input, real-output and
// real-to-real transforms, whose kind codes 0 to 10 are the engine's.
#pragma once

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "common/oracle.hpp"

namespace qtx::test {

using reference_reals = std::vector<long double>;

// Deterministic real samples, uniform in [-1, 1).
inline reference_reals random_reals(size_t n, uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    reference_reals x(n);
    for (auto& v : x)
        v = uniform(generator);
    return x;
}

// The samples rounded to the working precision, as the engine sees them.
template <class R> reference_reals rounded_reals(const reference_reals& x) {
    reference_reals y(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        y[i] = static_cast<R>(x[i]);
    return y;
}

// Samples in the working precision at element stride `stride` of an array of `length` reals.
template <class R>
std::vector<R> reals_at_stride(const reference_reals& x, size_t stride, size_t length) {
    std::vector<R> out(length, R(0));
    for (size_t i = 0; i < x.size(); ++i)
        out[i * stride] = static_cast<R>(x[i]);
    return out;
}

// The long-double library is exact enough for any engine but slow where long double is
// emulated; a double-precision engine uses it up to this length, the double library beyond.
inline constexpr size_t long_double_reference_limit = 2048;

template <class R> bool uses_long_double_reference(size_t n) {
    return sizeof(R) == sizeof(double) && n <= long_double_reference_limit;
}

// y = r2r kind `kind` of x (unnormalised).
template <class R> reference_reals reference_r2r(const reference_reals& x, int kind) {
    const int n = static_cast<int>(x.size());
    const auto k = static_cast<fftw_r2r_kind>(kind);
    if (uses_long_double_reference<R>(x.size())) {
        reference_reals in(x), out(x.size());
        fftwl_plan plan = fftwl_plan_r2r_1d(n, in.data(), out.data(), k, FFTW_ESTIMATE);
        fftwl_execute(plan);
        fftwl_destroy_plan(plan);
        return out;
    }
    std::vector<double> in(x.begin(), x.end()), out(x.size());
    fftw_plan plan = fftw_plan_r2r_1d(n, in.data(), out.data(), k, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    return reference_reals(out.begin(), out.end());
}

// The half spectrum X[0 … n/2] of x.
template <class R> reference_signal reference_r2c(const reference_reals& x) {
    const int n = static_cast<int>(x.size());
    if (uses_long_double_reference<R>(x.size())) {
        reference_reals in(x);
        reference_signal out(x.size() / 2 + 1);
        fftwl_plan plan = fftwl_plan_dft_r2c_1d(
            n, in.data(), reinterpret_cast<fftwl_complex*>(out.data()), FFTW_ESTIMATE);
        fftwl_execute(plan);
        fftwl_destroy_plan(plan);
        return out;
    }
    std::vector<double> in(x.begin(), x.end());
    std::vector<std::complex<double>> out(x.size() / 2 + 1);
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, in.data(), reinterpret_cast<fftw_complex*>(out.data()),
                                          FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    return reference_signal(out.begin(), out.end());
}

// The real sequence of length n whose half spectrum is X (Im X[0] and, for even n, Im X[n/2]
// are taken as zero).
template <class R> reference_reals reference_c2r(reference_signal X, size_t n) {
    X[0].imag(0);
    if (n % 2 == 0) X[n / 2].imag(0);
    const int length = static_cast<int>(n);
    if (uses_long_double_reference<R>(n)) {
        reference_reals out(n);
        fftwl_plan plan = fftwl_plan_dft_c2r_1d(length, reinterpret_cast<fftwl_complex*>(X.data()),
                                                out.data(), FFTW_ESTIMATE);
        fftwl_execute(plan);
        fftwl_destroy_plan(plan);
        return out;
    }
    std::vector<std::complex<double>> in(X.begin(), X.end());
    std::vector<double> out(n);
    fftw_plan plan = fftw_plan_dft_c2r_1d(length, reinterpret_cast<fftw_complex*>(in.data()),
                                          out.data(), FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    return reference_reals(out.begin(), out.end());
}

// sqrt(Σ(got − want)² / Σ want²) over reals read at element stride `stride`.
template <class R>
double relative_rms_error_reals(const R* got, const reference_reals& want, size_t stride = 1) {
    long double error = 0, norm = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const long double d = got[i * stride] - want[i];
        error += d * d;
        norm += want[i] * want[i];
    }
    if (norm == 0) return static_cast<double>(std::sqrt(error));
    return static_cast<double>(std::sqrt(error / norm));
}

} // namespace qtx::test
