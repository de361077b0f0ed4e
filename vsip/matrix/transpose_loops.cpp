// The transposes' own loops: the general strided transpose, the in-place swap of a square
// matrix, and flat copies and negations of contiguous data.
#include "vsip/frame.hpp"
#include "vsip/matrix/transpose_layout.hpp"

#include <cstring>
#include <utility>

namespace qvsip::matrix {
namespace {

// Units of the two flat-copy regions, in scalars.
constexpr std::uint64_t copy_unit = 16;
constexpr std::uint64_t copy_tail_unit = 8;
// The strided loops hand out whole rows (or columns).
constexpr std::uint64_t line_unit = 1;

template <conjugation_mode conjugation> float stored_imag(float x) {
    if constexpr (conjugation == conjugation_mode::negate) return -x;
    return x;
}

std::ptrdiff_t at(std::uint64_t n, std::ptrdiff_t stride) {
    return static_cast<std::ptrdiff_t>(n) * stride;
}

// Steps through A along its layout and through R along the matching transposed positions.
struct transpose_walk {
    std::ptrdiff_t a_outer, a_inner, r_outer, r_inner;
    vsip_length outer, inner;
};

transpose_walk walk_of(const complex_matrix& a, const complex_matrix& r, vsip_length rows,
                       vsip_length columns) {
    const matrix_lines l = layout_of(a);
    // A(i, j) goes to R(j, i), at j * R's column stride + i * R's row stride.
    if (l.row_major)
        return {l.outer_stride, l.inner_stride, r.row_stride, r.col_stride, rows, columns};
    return {l.outer_stride, l.inner_stride, r.col_stride, r.row_stride, columns, rows};
}

template <conjugation_mode conjugation>
void strided_lines(const complex_matrix& a, const complex_matrix& r, const transpose_walk& w,
                   int threads) {
    frame::run_in_units(threads, w.outer, line_unit, [&](std::uint64_t first, std::uint64_t last) {
        for (std::uint64_t o = first; o < last; ++o) {
            for (std::uint64_t k = 0; k < w.inner; ++k) {
                const std::ptrdiff_t from = at(o, w.a_outer) + at(k, w.a_inner);
                const std::ptrdiff_t to = at(o, w.r_outer) + at(k, w.r_inner);
                r.re[to] = a.re[from];
                r.im[to] = stored_imag<conjugation>(a.im[from]);
            }
        }
    });
}

template <conjugation_mode conjugation>
void swap_rows(const complex_matrix& m, vsip_length n, int threads) {
    frame::run_in_units(threads, n, line_unit, [&](std::uint64_t first, std::uint64_t last) {
        for (std::uint64_t i = first; i < last; ++i) {
            const std::ptrdiff_t diagonal = at(i, m.col_stride) + at(i, m.row_stride);
            m.im[diagonal] = stored_imag<conjugation>(m.im[diagonal]);
            for (std::uint64_t j = i + 1; j < n; ++j) {
                const std::ptrdiff_t upper = at(i, m.col_stride) + at(j, m.row_stride);
                const std::ptrdiff_t lower = at(j, m.col_stride) + at(i, m.row_stride);
                std::swap(m.re[upper], m.re[lower]);
                const float upper_imag = m.im[upper];
                m.im[upper] = stored_imag<conjugation>(m.im[lower]);
                m.im[lower] = stored_imag<conjugation>(upper_imag);
            }
        }
    });
}

} // namespace

void strided_transpose(const complex_matrix& a, const complex_matrix& r, vsip_length rows,
                       vsip_length columns, conjugation_mode conjugation, int threads) {
    const transpose_walk w = walk_of(a, r, rows, columns);
    if (conjugation == conjugation_mode::negate)
        strided_lines<conjugation_mode::negate>(a, r, w, threads);
    else
        strided_lines<conjugation_mode::keep>(a, r, w, threads);
}

void swap_transpose(const complex_matrix& m, vsip_length n, conjugation_mode conjugation,
                    int threads) {
    if (conjugation == conjugation_mode::negate)
        swap_rows<conjugation_mode::negate>(m, n, threads);
    else
        swap_rows<conjugation_mode::keep>(m, n, threads);
}

void flat_copy(const float* source, float* target, vsip_length count, int threads) {
    auto copy = [&](std::uint64_t first, std::uint64_t last) {
        std::memcpy(target + first, source + first, (last - first) * sizeof(float));
    };
    if (threads == 1) {
        copy(0, count);
        return;
    }
    std::uint64_t done =
        frame::parallel_region(threads, 0, count, copy_unit, frame::range_kernel(copy));
    done = frame::parallel_region(threads, done, count, copy_tail_unit, frame::range_kernel(copy));
    copy(done, count);
}

void flat_negate(float* data, vsip_length count, int threads) {
    frame::run_dense(threads, count, frame::two_regions,
                     [&](std::uint64_t first, std::uint64_t last) {
                         for (std::uint64_t n = first; n < last; ++n)
                             data[n] = -data[n];
                     });
}

} // namespace qvsip::matrix
