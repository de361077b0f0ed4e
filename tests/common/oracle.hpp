// Reference transforms and error measures for the engine tests. The reference is FFTW's
// long-double transform, so the oracle's own rounding is far below the engine's.
#pragma once

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace qtx::test {

using reference_complex = std::complex<long double>;
using reference_signal = std::vector<reference_complex>;

// Deterministic complex samples, uniform in [-1, 1) in both parts.
inline reference_signal random_signal(size_t n, uint32_t seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    reference_signal x(n);
    for (auto& v : x) {
        const double re = uniform(generator);
        const double im = uniform(generator);
        v = {re, im};
    }
    return x;
}

// Unnormalised DFT X[f] = Σ x[t]·exp(sign·2πi·f·t/n) in long double.
inline reference_signal reference_dft(const reference_signal& x, int sign) {
    const int n = static_cast<int>(x.size());
    reference_signal y(x.size());
    if (n == 0) return y;
    auto* in = reinterpret_cast<fftwl_complex*>(const_cast<reference_complex*>(x.data()));
    auto* out = reinterpret_cast<fftwl_complex*>(y.data());
    fftwl_plan plan = fftwl_plan_dft_1d(n, in, out, sign < 0 ? FFTW_FORWARD : FFTW_BACKWARD,
                                        FFTW_ESTIMATE | FFTW_PRESERVE_INPUT);
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);
    return y;
}

// Samples rounded to the working precision, interleaved, at element stride `stride` in an
// array of `length` complex values (the gaps keep `fill`).
template <class R>
std::vector<R> to_working(const reference_signal& x, size_t stride = 1, size_t length = 0,
                          R fill = R(0)) {
    if (length == 0) length = x.empty() ? 0 : (x.size() - 1) * stride + 1;
    std::vector<R> out(2 * length, fill);
    for (size_t i = 0; i < x.size(); ++i) {
        out[2 * i * stride] = static_cast<R>(x[i].real());
        out[2 * i * stride + 1] = static_cast<R>(x[i].imag());
    }
    return out;
}

// The working-precision input as the engine saw it, for a fair reference.
template <class R> reference_signal rounded(const reference_signal& x) {
    reference_signal y(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        y[i] = {static_cast<R>(x[i].real()), static_cast<R>(x[i].imag())};
    return y;
}

// sqrt(Σ|got − want|² / Σ|want|²) over elements read at element stride `stride`.
template <class R>
double relative_rms_error(const R* got, const reference_signal& want, size_t stride = 1) {
    long double error = 0, norm = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const reference_complex g(got[2 * i * stride], got[2 * i * stride + 1]);
        error += std::norm(g - want[i]);
        norm += std::norm(want[i]);
    }
    if (norm == 0) return static_cast<double>(std::sqrt(error));
    return static_cast<double>(std::sqrt(error / norm));
}

// The error bound the transforms are held to: c·ε·log2(n), with a floor for tiny n.
template <class R> double transform_error_bound(size_t n, double c = 2.0) {
    const double log_n = n > 2 ? std::log2(static_cast<double>(n)) : 1.0;
    return c * static_cast<double>(std::numeric_limits<R>::epsilon()) * log_n;
}

// Lengths 2^a·3^b·5^c·7^d up to limit, ascending.
inline std::vector<uint64_t> smooth_lengths(uint64_t limit) {
    std::vector<uint64_t> lengths;
    for (uint64_t a = 1; a <= limit; a *= 2)
        for (uint64_t b = a; b <= limit; b *= 3)
            for (uint64_t c = b; c <= limit; c *= 5)
                for (uint64_t d = c; d <= limit; d *= 7)
                    lengths.push_back(d);
    std::sort(lengths.begin(), lengths.end());
    return lengths;
}

} // namespace qtx::test
