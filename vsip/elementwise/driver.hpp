// The generic drivers of the element-wise operations: an operation object supplies the
// arithmetic (op(x...) on One and Group values, see lanes.hpp); the drivers supply the paths of
// the operation skeleton (element count, dense test, serial run or parallel regions, strided
// units) for vectors.
#pragma once

#include "vsip/elementwise/ports.hpp"
#include "vsip/frame.hpp"

#include <algorithm>
#include <cstdint>

namespace qvsip::elementwise {

using frame::region_units;
inline constexpr region_units real_units = frame::two_regions;
// Complex output: the real units in scalars are half as many interleaved elements.
inline constexpr region_units interleaved_units{frame::dense_unit / 2, lane_count / 2};
inline constexpr region_units split_units = frame::two_regions;

struct path_set {
    region_units dense = real_units;
    bool has_split = false; // the second dense case: split complex views
    region_units split = split_units;
    std::uint64_t strided_unit = 1;
    bool strided_groups = false;  // strided elements in groups of lane_count (else one by one)
    bool strided_serial = false;  // no parallel strided path
    std::uint64_t outer_unit = 1; // matrices: rows or columns per unit of the parallel split
};

inline constexpr path_set real_paths{};
inline constexpr path_set complex_paths{.dense = interleaved_units};
// Operations whose groups give the results of single elements: strided regions may work in
// groups of four consecutive elements.
inline constexpr path_set strided_fours{.strided_unit = 4, .strided_groups = true};

// op(x...) for one element or a group; an operation without inputs (a fill) provides value<V>.
template <class Width, class Op, class... X> auto compute(const Op& op, const X&... x) {
    if constexpr (sizeof...(X) == 0)
        return op.template value<typename Width::real>();
    else
        return op(x...);
}

// Groups per iteration of run_span's main loop: enough independent loads, arithmetic and stores
// to keep the vector units busy while the loop control is paid once per four groups.
inline constexpr std::uint64_t groups_per_step = 4;

// One group at i: load every input, compute, store, in that order (so that a port that is both
// input and output, or views that overlap, see exactly what the one-group loop gave them).
template <access_kind A, class Op, class Out, class... In>
[[gnu::always_inline]] inline void run_group(const Op& op, std::uint64_t i, const Out& r,
                                             const In&... a) {
    r.template store<A>(i, compute<group_width>(op, a.template load<A>(i)...));
}

// run_span on copies: the ports and the operation are this function's own values, so the
// compiler keeps their pointers and strides in registers instead of reloading them after every
// store (vector stores may alias anything, the caller's ports included).
template <access_kind A, bool Groups, class Op, class Out, class... In>
void run_span_local(const Op op, std::uint64_t first, std::uint64_t last, const Out r,
                    const In... a) {
    if (first >= last) return;
    std::uint64_t i = first;
    if constexpr (Groups) {
        constexpr std::uint64_t step = groups_per_step * lane_count;
        // A loop the compiler unrolls after inlining the operation once, rather than four calls
        // of it: an operation too large to inline four times would be called out of line.
        for (; last - i >= step; i += step)
#pragma GCC unroll 4
            for (std::uint64_t k = 0; k < groups_per_step; ++k)
                run_group<A>(op, i + k * lane_count, r, a...);
        for (; last - i >= lane_count; i += lane_count)
            run_group<A>(op, i, r, a...);
    }
    for (; i < last; ++i)
        r.store_one(i, compute<single_width>(op, a.load_one(i)...));
}

// Elements [first, last) of the ports: whole groups of lane_count elements from first (when
// Groups), then one by one. Each element is computed as before unrolling: in a group when it
// lies in one of the whole groups from first, else alone.
template <access_kind A, bool Groups, class Op, class Out, class... In>
void run_span(const Op& op, std::uint64_t first, std::uint64_t last, const Out& r, const In&... a) {
    run_span_local<A, Groups, Op, Out, In...>(op, first, last, r, a...);
}

// A dense run of count elements: region_op in the parallel regions, caller_op on the calling
// thread (they differ only where the regions use estimates and the caller exact arithmetic).
// Regions too small to pay for their team run inline, with region_op on the same chunks.
template <access_kind A, class RegionOp, class CallerOp, class Out, class... In>
void run_dense_path(int threads, std::uint64_t count, region_units units, const RegionOp& region_op,
                    const CallerOp& caller_op, const Out& r, const In&... a) {
    auto region = [&](std::uint64_t first, std::uint64_t last) {
        run_span<A, true>(region_op, first, last, r, a...);
    };
    auto caller = [&](std::uint64_t first, std::uint64_t last) {
        run_span<A, true>(caller_op, first, last, r, a...);
    };
    frame::run_dense(threads, count, units, region, caller, frame::light_elements_per_thread);
}

template <class Op, class Out, class... In>
void run_strided_path(int threads, std::uint64_t count, const path_set& paths, const Op& op,
                      const Out& r, const In&... a) {
    auto kernel = [&](std::uint64_t first, std::uint64_t last) {
        if (paths.strided_groups)
            run_span<access_kind::strided, true>(op, first, last, r, a...);
        else
            run_span<access_kind::strided, false>(op, first, last, r, a...);
    };
    frame::run_in_units(paths.strided_serial ? 1 : threads, count, paths.strided_unit, kernel,
                        frame::light_elements_per_thread);
}

// Every path of apply_vector but the serial dense one, out of line: the serial dense call then
// stays small enough to be inlined into each operation's entry point.
template <class RegionOp, class CallerOp, class Out, class... In>
[[gnu::noinline]] void apply_vector_paths(const path_set& paths, int threads, std::uint64_t n,
                                          const RegionOp& region_op, const CallerOp& caller_op,
                                          const Out& r, const In&... a) {
    const bool contiguous = r.contiguous() && (a.contiguous() && ...);
    if (contiguous && r.interleaved() && (a.interleaved() && ...))
        run_dense_path<access_kind::dense>(threads, n, paths.dense, region_op, caller_op, r, a...);
    else if (contiguous && paths.has_split && r.split() && (a.split() && ...))
        run_dense_path<access_kind::split>(threads, n, paths.split, region_op, caller_op, r, a...);
    else
        run_strided_path(threads, n, paths, caller_op, r, a...);
}

// A vector operation on resolved ports: n = the smallest length; dense, split or strided path.
// Serially the dense path is the caller's span over all n elements (see frame::run_dense).
template <class RegionOp, class CallerOp, class Out, class... In>
[[gnu::always_inline]] inline void apply_vector(const path_set& paths, const RegionOp& region_op,
                                                const CallerOp& caller_op, const Out& r,
                                                const In&... a) {
    const std::uint64_t n = std::min({r.length, a.length...});
    if (n == 0) return;
    const int threads = thread_count();
    if (threads == 1 && r.contiguous() && r.interleaved() &&
        ((a.contiguous() && a.interleaved()) && ...)) {
        run_span_local<access_kind::dense, true, CallerOp, Out, In...>(caller_op, 0, n, r, a...);
        return;
    }
    apply_vector_paths(paths, threads, n, region_op, caller_op, r, a...);
}

template <class... View> bool any_null(const View*... views) {
    return ((views == nullptr) || ...);
}

// The whole operation on views, output first: null check, resolution, paths.
template <class Op, class OutView, class... InView>
void vector_operation(const path_set& paths, const Op& op, const OutView* r, const InView*... a) {
    if (any_null(r, a...)) return;
    apply_vector(paths, op, op, port_of(*r), port_of(*a)...);
}

} // namespace qvsip::elementwise
