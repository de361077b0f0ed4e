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

// Double-precision signals and FFTW's double-precision transform: for long lengths, where the
// long-double reference is too slow (it is emulated in software on some targets). Its own
// error is of the order of a double-precision engine's, so bounds against it need room for both.
using double_signal = std::vector<std::complex<double>>;

inline double_signal to_double(const reference_signal& x) {
    return double_signal(x.begin(), x.end());
}

inline double_signal reference_dft_double(const double_signal& x, int sign) {
    double_signal in(x), out(x.size());
    fftw_plan plan =
        fftw_plan_dft_1d(static_cast<int>(x.size()), reinterpret_cast<fftw_complex*>(in.data()),
                         reinterpret_cast<fftw_complex*>(out.data()),
                         sign < 0 ? FFTW_FORWARD : FFTW_BACKWARD, FFTW_ESTIMATE);
    fftw_execute(plan);
    fftw_destroy_plan(plan);
    return out;
}

// A guru transform in long double over whole arrays (strides and distances in elements), in
// place when in and out are the same vector.
struct guru_shape {
    std::vector<fftwl_iodim64> dims, howmany;
};
inline void reference_guru_dft(const guru_shape& shape, reference_signal& in, reference_signal& out,
                               int sign) {
    auto* i = reinterpret_cast<fftwl_complex*>(in.data());
    auto* o = reinterpret_cast<fftwl_complex*>(out.data());
    fftwl_plan plan =
        fftwl_plan_guru64_dft(static_cast<int>(shape.dims.size()), shape.dims.data(),
                              static_cast<int>(shape.howmany.size()), shape.howmany.data(), i, o,
                              sign < 0 ? FFTW_FORWARD : FFTW_BACKWARD, FFTW_ESTIMATE);
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);
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
// Accumulates in the reference's own precision.
template <class R, class T>
double relative_rms_error(const R* got, const std::vector<std::complex<T>>& want,
                          size_t stride = 1) {
    T error = 0, norm = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const std::complex<T> g(got[2 * i * stride], got[2 * i * stride + 1]);
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
