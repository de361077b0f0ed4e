// The fixed real kernels. A real sequence of length n = 2M read as M complex values is
// transformed by the butterfly of radix M (M = 16·16 for n = 512, as columns and rows with
// twiddles between them) and split into the half spectrum; the complex-input kernels merge
// first and run the backward butterfly. The pair arithmetic is the one of the real passes.
#include "fft/kernels/real_kernels.hpp"

#if defined(QTX_FFT_DOUBLE)

#include <array>

#include "fft/kernels/butterfly.hpp"
#include "fft/solvers/real_passes.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

using kernels::butterfly;
using kernels::butterfly_detail::static_for;
using real_pass::V;

// exp(−2πi·k/N) for k < Count, evaluated at compile time.
template <int N, int Count> constexpr std::array<real, 2 * Count> forward_roots() {
    std::array<real, 2 * Count> roots{};
    for (int k = 0; k < Count; ++k) {
        const auto w = kernels::butterfly_detail::compile_time_root(-k, N);
        roots[2 * k] = static_cast<real>(w.c);
        roots[2 * k + 1] = static_cast<real>(w.s);
    }
    return roots;
}

// The split twiddles w_k of length N, k = 0 … N/4.
template <int N> constexpr auto split_roots = forward_roots<N, N / 4 + 1>();

// Element j of the real sequence read as complex values: (x[2j·s], x[(2j+1)·s]).
template <bool Unit> QTX_SIMD_INLINE V load_pair(const real* x, int64_t s, int64_t j) {
    if constexpr (Unit) return simd::loadu(x + 2 * j);
    return simd::set_complex(x[2 * j * s], x[(2 * j + 1) * s]);
}

template <bool Unit> QTX_SIMD_INLINE void store_pair(real* y, int64_t s, int64_t j, V v) {
    if constexpr (Unit) {
        simd::storeu(y + 2 * j, v);
    } else {
        real parts[2];
        simd::storeu(parts, v);
        y[2 * j * s] = parts[0];
        y[(2 * j + 1) * s] = parts[1];
    }
}

// X[0 … M] from Z[0 … M−1] (os in reals), without the imaginary parts of X[0] and X[M].
template <int N> void store_half_spectrum(const V* Z, real* X, int64_t os) {
    constexpr int M = N / 2;
    real z0[2];
    simd::storeu(z0, Z[0]);
    X[0] = z0[0] + z0[1];
    X[M * os] = z0[0] - z0[1];
    for (int k = 1; 2 * k <= M; ++k) {
        const real_pass::pair_values x =
            real_pass::split_lanes(Z[k], Z[M - k], simd::loadu(split_roots<N>.data() + 2 * k));
        simd::storeu(X + k * os, x.low);
        simd::storeu(X + (M - k) * os, x.high);
    }
}

template <int N> struct short_transform {
    static constexpr int M = N / 2;

    template <bool Unit> static void r2c(const real* x, int64_t is, real* X, int64_t os) {
        V z[M];
        static_for<M>([&](auto j) QTX_INLINE_LAMBDA { z[j] = load_pair<Unit>(x, is, j); });
        if constexpr (M > 1) butterfly<M, true>(z);
        store_half_spectrum<N>(z, X, os);
    }

    template <bool Unit> static void c2r(const real* X, int64_t is, real* y, int64_t os) {
        V z[M];
        z[0] = simd::set_complex(X[0] + X[M * is], X[0] - X[M * is]);
        static_for<M / 2>([&](auto i) QTX_INLINE_LAMBDA {
            constexpr int k = i + 1;
            const real_pass::pair_values r =
                real_pass::merge_lanes(simd::loadu(X + k * is), simd::loadu(X + (M - k) * is),
                                       simd::loadu(split_roots<N>.data() + 2 * k));
            z[k] = r.low;
            z[M - k] = r.high;
        });
        if constexpr (M > 1) butterfly<M, false>(z);
        static_for<M>([&](auto j) QTX_INLINE_LAMBDA { store_pair<Unit>(y, os, j, z[j]); });
    }
};

// n = 512: the 256 complex values as 16 columns of 16 (z[q + 16·p]), each transformed over p
// and twiddled by ω_256^(q·kp), then 16 rows transformed over q into Z[kp + 16·kq].
constexpr int side = 16;
constexpr auto column_twiddles = forward_roots<side * side, side * side>();

template <bool Unit> void transform_columns(const real* x, int64_t is, V* columns) {
    for (int q = 0; q < side; ++q) {
        V column[side];
        static_for<side>(
            [&](auto p) QTX_INLINE_LAMBDA { column[p] = load_pair<Unit>(x, is, q + side * p); });
        butterfly<side, true>(column);
        static_for<side>([&](auto kp) QTX_INLINE_LAMBDA {
            const V w = simd::loadu(column_twiddles.data() + 2 * (q * kp % (side * side)));
            columns[kp * side + q] = kp == 0 ? column[kp] : simd::cmul(column[kp], w);
        });
    }
}

void transform_rows(const V* columns, V* Z) {
    for (int kp = 0; kp < side; ++kp) {
        V row[side];
        static_for<side>([&](auto q) QTX_INLINE_LAMBDA { row[q] = columns[kp * side + q]; });
        butterfly<side, true>(row);
        static_for<side>([&](auto kq) QTX_INLINE_LAMBDA { Z[kp + side * kq] = row[kq]; });
    }
}

struct transform_512 {
    template <bool Unit> static void r2c(const real* x, int64_t is, real* X, int64_t os) {
        alignas(64) V columns[side * side];
        alignas(64) V Z[side * side];
        transform_columns<Unit>(x, is, columns);
        transform_rows(columns, Z);
        store_half_spectrum<2 * side * side>(Z, X, os);
    }
};

// The batch loops of the calling convention; unit element strides get their own loads.
template <class T>
void r2c_batch(const void* in, void* out, int64_t in_stride, int64_t out_stride, int64_t count,
               int64_t in_distance, int64_t out_distance) {
    const int64_t is = in_stride / 2;
    for (int64_t b = 0; b < count; ++b) {
        const real* x = static_cast<const real*>(in) + b * in_distance;
        real* X = static_cast<real*>(out) + b * out_distance;
        if (is == 1)
            T::template r2c<true>(x, 1, X, out_stride);
        else
            T::template r2c<false>(x, is, X, out_stride);
    }
}

template <class T>
void c2r_batch(const void* in, void* out, int64_t in_stride, int64_t out_stride, int64_t count,
               int64_t in_distance, int64_t out_distance) {
    const int64_t os = out_stride / 2;
    for (int64_t b = 0; b < count; ++b) {
        const real* X = static_cast<const real*>(in) + b * in_distance;
        real* y = static_cast<real*>(out) + b * out_distance;
        if (os == 1)
            T::template c2r<true>(X, in_stride, y, 1);
        else
            T::template c2r<false>(X, in_stride, y, os);
    }
}

template <int N> constexpr real_kernel_row row_of() {
    return {N, r2c_batch<short_transform<N>>, c2r_batch<short_transform<N>>};
}

constexpr real_kernel_row real_kernel_table[] = {
    row_of<2>(),  row_of<4>(),  row_of<8>(),
    row_of<16>(), row_of<32>(), {512, r2c_batch<transform_512>, nullptr},
};

} // namespace

const real_kernel_row* find_real_kernels(uint64_t n) {
    for (const real_kernel_row& row : real_kernel_table)
        if (row.n == n) return &row;
    return nullptr;
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA

#endif
