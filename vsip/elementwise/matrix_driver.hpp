// The matrix driver of the element-wise operations: matrices are walked with one dimension
// inner, a dense set of matrices is one flat vector, and otherwise the outer dimension is split
// among the threads, each walking its rows (or columns) entirely.
#pragma once

#include "vsip/elementwise/driver.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace qvsip::elementwise {

// Which dimension is walked innermost: along a row (rows) or along a column (columns).
enum class inner_dimension { rows, columns };

// A matrix as a port along the inner dimension (its length the inner count) and a step in
// scalars from one inner line to the next.
template <class Port> struct oriented_matrix {
    Port line;
    std::ptrdiff_t outer_stride;
    vsip_length outer_length;

    Port line_at(std::uint64_t outer) const { return line.moved(at(outer, outer_stride)); }
    // The whole matrix one contiguous run of inner_count x outer_length elements.
    bool flat(std::uint64_t inner_count) const {
        return line.contiguous() &&
               outer_stride == at(inner_count, static_cast<std::ptrdiff_t>(line.element_stride));
    }
    Port as_vector(std::uint64_t count) const {
        Port v = line;
        v.length = count;
        return v;
    }
};

// Rows are inner when the row stride (along a row) is the smaller one.
inline inner_dimension inner_by_strides(const vsip_mview_f& view) {
    return view.row_stride < view.col_stride ? inner_dimension::rows : inner_dimension::columns;
}
inline inner_dimension inner_by_strides(const vsip_cmview_f& view) {
    return view.row_stride < view.col_stride ? inner_dimension::rows : inner_dimension::columns;
}

template <class Port, class Matrix>
oriented_matrix<Port> oriented(Port line, const Matrix& m, inner_dimension inner) {
    if (inner == inner_dimension::rows) {
        line.stride = m.row_stride;
        line.length = m.row_length;
        return {line, m.col_stride, m.col_length};
    }
    line.stride = m.col_stride;
    line.length = m.col_length;
    return {line, m.row_stride, m.row_length};
}

inline oriented_matrix<scalar_port<float>> matrix_port(const vsip_mview_f& view,
                                                       inner_dimension inner) {
    const real_matrix m = resolve(view);
    return oriented(scalar_port<float>{m.start, 0, 0}, m, inner);
}
inline oriented_matrix<complex_port> matrix_port(const vsip_cmview_f& view, inner_dimension inner) {
    const complex_matrix m = resolve(view);
    return oriented(complex_port{m.re, m.im, 0, m.element_stride, 0}, m, inner);
}

// A vector repeated along the outer dimension: the same elements for every line.
template <class Port> oriented_matrix<Port> repeated(Port vector) {
    return {vector, 0, std::numeric_limits<vsip_length>::max()};
}

// The strided matrix path: units of outer lines among the threads; each line is walked with
// the lines' own strides, or as dense lines when they are contiguous and the operation's groups
// give the same results as its single elements.
template <class Op, class Out, class... In>
void run_lines(int threads, std::uint64_t inner, std::uint64_t outer, const path_set& paths,
               const Op& op, const oriented_matrix<Out>& r, const oriented_matrix<In>&... a) {
    const bool dense_lines = paths.strided_groups && r.line.contiguous() && r.line.interleaved() &&
                             ((a.line.contiguous() && a.line.interleaved()) && ...);
    auto kernel = [&](std::uint64_t first, std::uint64_t last) {
        for (std::uint64_t o = first; o < last; ++o) {
            if (dense_lines)
                run_span<access_kind::dense, true>(op, 0, inner, r.line_at(o), a.line_at(o)...);
            else if (paths.strided_groups)
                run_span<access_kind::strided, true>(op, 0, inner, r.line_at(o), a.line_at(o)...);
            else
                run_span<access_kind::strided, false>(op, 0, inner, r.line_at(o), a.line_at(o)...);
        }
    };
    // Lines per thread for the region to pay: light_elements_per_thread elements.
    const std::uint64_t lines_per_thread = (frame::light_elements_per_thread + inner - 1) / inner;
    frame::run_in_units(threads, outer, paths.outer_unit, kernel, lines_per_thread);
}

// A matrix operation on oriented ports: the counts are the minima over the matrices; a set of
// flat matrices of one storage kind is processed as one dense vector.
template <class Op, class Out, class... In>
void apply_matrix(const path_set& paths, const Op& op, const oriented_matrix<Out>& r,
                  const oriented_matrix<In>&... a) {
    const std::uint64_t inner = std::min({r.line.length, a.line.length...});
    const std::uint64_t outer = std::min({r.outer_length, a.outer_length...});
    if (inner == 0 || outer == 0) return;
    const int threads = thread_count();
    if (r.flat(inner) && (a.flat(inner) && ...)) {
        const std::uint64_t count = inner * outer;
        if (r.line.interleaved() && (a.line.interleaved() && ...)) {
            run_dense_path<access_kind::dense>(threads, count, paths.dense, op, op,
                                               r.as_vector(count), a.as_vector(count)...);
            return;
        }
        if (r.line.split() && (a.line.split() && ...)) {
            run_dense_path<access_kind::split>(threads, count, paths.split, op, op,
                                               r.as_vector(count), a.as_vector(count)...);
            return;
        }
    }
    run_lines(threads, inner, outer, paths, op, r, a...);
}

// Matrix operations whose groups give the results of single elements: lines may be walked in
// groups.
inline constexpr path_set real_matrix_paths{.has_split = true, .strided_groups = true};
inline constexpr path_set complex_matrix_paths{
    .dense = interleaved_units, .has_split = true, .strided_groups = true};

// The output's strides fix the dimension order for every matrix of the operation.
template <class Op, class OutView, class... InView>
void matrix_operation(const path_set& paths, const Op& op, const OutView* r, const InView*... a) {
    if (any_null(r, a...)) return;
    const inner_dimension inner = inner_by_strides(*r);
    apply_matrix(paths, op, matrix_port(*r, inner), matrix_port(*a, inner)...);
}

} // namespace qvsip::elementwise
