// The memory layouts of the dedicated stage kernels. A stage is a sweep of radix-R butterflies;
// one vector carries a group of butterflies side by side: two columns j, j+1 (first and middle
// stages) or two rows k, k+1 (last stage) in single precision, one in double precision, and the
// two sequences of an interleaved pair in the pair kernels. The layout policies below say where
// a group's lanes sit in memory and where its twiddles come from; the three stage templates
// (first, middle, last) combine them, and every table entry is one instantiation for a radix
// and a direction.
#pragma once

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <type_traits>

#include "simd/simd.hpp"

#include "fft/kernels/butterfly.hpp"
#include "fft/kernels/stage_adapters.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA::stage_layout {

using V = simd::vec<real>;
// For the lambdas that wrap a sweep: each is called once, but too large for the compiler to
// inline by itself, and a call costs its hoisted constants.
#define QTX_LAMBDA_INLINE __attribute__((always_inline))
using index = std::ptrdiff_t;

// Complex values per vector: 2 in single precision, 1 in double precision.
inline constexpr index lanes = simd::complex_lanes<real>;
inline constexpr index complex_reals = 2;

// Write prefetch distances of the radix-4 first stage, in bytes beyond each output position.
inline constexpr std::uintptr_t prefetch_keep_bytes = 512;
inline constexpr std::uintptr_t prefetch_stream_bytes = 768;

// ---- Lane maps: where the lanes of one vector sit, `gap` reals apart -----------------------

// Lanes at consecutive complex values (columns j, j+1 of a contiguous area).
struct adjacent_lanes {
    static constexpr index width = lanes; // butterflies per vector
    static constexpr index element_reals = complex_reals;
    index gap;
    QTX_SIMD_INLINE static V load(const real* p) { return simd::loadu(p); }
    QTX_SIMD_INLINE static void store(real* p, V v) { simd::storeu(p, v); }
};

// Lane c at p + c·gap reals: columns of a strided array, or rows of a last stage.
struct spaced_lanes {
    static constexpr index width = lanes;
    index gap;
    QTX_SIMD_INLINE V load(const real* p) const { return simd::load_complex_strided(p, gap); }
    QTX_SIMD_INLINE void store(real* p, V v) const { simd::store_complex_strided(p, gap, v); }
};

// The interleaved pair: one vector is element t of sequence A followed by element t of B, so a
// vector carries one butterfly of each sequence; in the work areas an element takes 4 reals.
struct pair_lanes {
    static constexpr index width = 1;
    static constexpr index element_reals = 2 * complex_reals;
    index gap;
    QTX_SIMD_INLINE static V load(const real* p) { return simd::loadu(p); }
    QTX_SIMD_INLINE static void store(real* p, V v) { simd::storeu(p, v); }
};

// Lane 0 alone: the last column or row when single precision meets an odd count.
struct low_lane {
    static constexpr index width = 1;
    QTX_SIMD_INLINE static V load(const real* p) { return simd::load_low_complex(p); }
    QTX_SIMD_INLINE static void store(real* p, V v) { simd::store_low_complex(p, v); }
};

// Stores through Lanes after hinting the lines that later groups will write.
template <class Lanes> struct prefetching : Lanes {
    QTX_SIMD_INLINE void store(real* p, V v) const {
        const auto at = reinterpret_cast<std::uintptr_t>(p);
        simd::prefetch_write(reinterpret_cast<const void*>(at + prefetch_keep_bytes));
        simd::prefetch_write_stream(reinterpret_cast<const void*>(at + prefetch_stream_bytes));
        Lanes::store(p, v);
    }
};

// ---- Twiddle sources: T(q), q = 1 … R-1, for one group --------------------------------------
// Each is built from the first twiddle of its row k and the row length in reals.

struct no_twiddles {};

// One row in every lane.
struct broadcast_twiddles {
    const real* row;
    QTX_SIMD_INLINE V at(index q) const {
        return simd::load_complex_dup(row + complex_reals * (q - 1));
    }
};

// A row's twiddles held in registers for a whole sweep. Read from the table at every group,
// they would be loaded and shuffled again each time: the sweep's stores may alias the table as
// far as the compiler knows.
template <int R> struct held_twiddles {
    V value[R - 1];
    QTX_SIMD_INLINE explicit held_twiddles(broadcast_twiddles row) {
#pragma GCC unroll 32
        for (index q = 1; q < R; ++q)
            value[q - 1] = row.at(q);
    }
    QTX_SIMD_INLINE V at(index q) const {
        return value[q - 1];
    }
};

// Rows k and k+1 interleaved value by value, as the last unit-stride stage stores them in single
// precision; with one lane per vector this is the plain row.
struct paired_twiddles {
    const real* row;
    QTX_SIMD_INLINE V at(index q) const {
        return simd::loadu(row + lanes * complex_reals * (q - 1));
    }
};

// Rows k and k+1 in the plain layout, one row length apart.
struct spaced_twiddles {
    const real* row;
    index row_reals;
    QTX_SIMD_INLINE V at(index q) const {
        return simd::load_complex_strided(row + complex_reals * (q - 1), row_reals);
    }
};

// ---- One group ------------------------------------------------------------------------------

// Loads the R inputs `in_step` reals apart, applies the twiddles, transforms, and stores the R
// outputs `out_step` reals apart. All inputs are loaded before the first store, which keeps a
// first stage correct in place.
template <int R, bool Forward, class In, class Out, class Twiddles>
QTX_SIMD_INLINE void radix_group(const real* in, index in_step, In in_lanes, real* out,
                                 index out_step, Out out_lanes, Twiddles twiddles) {
    V x[R];
#pragma GCC unroll 32
    for (index q = 0; q < R; ++q)
        x[q] = in_lanes.load(in + q * in_step);
    if constexpr (!std::is_same_v<Twiddles, no_twiddles>) {
#pragma GCC unroll 32
        for (index q = 1; q < R; ++q)
            x[q] = simd::cmul(twiddles.at(q), x[q]); // the twiddle is the shared factor
    }
    kernels::butterfly<R, Forward>(x);
#pragma GCC unroll 32
    for (index q = 0; q < R; ++q)
        out_lanes.store(out + q * out_step, x[q]);
}

// Where the butterflies of a sweep sit: group index t starts at in + t·in_advance and writes
// from out + t·out_advance; inputs q' and outputs q are in_step and out_step reals apart.
struct sweep_geometry {
    const real* in;
    index in_advance, in_step;
    real* out;
    index out_advance, out_step;
};

// The same twiddles for every group (first and middle stages, whose groups share a row k).
template <class Twiddles> struct shared_twiddles {
    Twiddles twiddles;
    QTX_SIMD_INLINE Twiddles group(index) const { return twiddles; }
    QTX_SIMD_INLINE Twiddles tail(index) const { return twiddles; }
};

// Row t's twiddles for the group starting at row t (last stages): `Group` for full groups, the
// plain row alone for a one-row tail.
template <class Group> struct row_twiddles {
    const real* block;
    index row_reals;
    QTX_SIMD_INLINE const real* row(index t) const { return block + t * row_reals; }
    QTX_SIMD_INLINE Group group(index t) const {
        if constexpr (std::is_same_v<Group, spaced_twiddles>)
            return {row(t), row_reals};
        else
            return {row(t)};
    }
    QTX_SIMD_INLINE broadcast_twiddles tail(index t) const { return {row(t)}; }
};

// `count` butterflies In::width at a time, then a one-lane tail if single precision leaves one.
template <int R, bool Forward, class In, class Out, class Rule>
QTX_SIMD_INLINE void sweep(const sweep_geometry& g, index count, In in_lanes, Out out_lanes,
                           Rule rule) {
    index t = 0;
    for (; t + In::width <= count; t += In::width)
        radix_group<R, Forward>(g.in + t * g.in_advance, g.in_step, in_lanes,
                                g.out + t * g.out_advance, g.out_step, out_lanes, rule.group(t));
    if constexpr (In::width > 1) {
        if (t < count)
            radix_group<R, Forward>(g.in + t * g.in_advance, g.in_step, low_lane{},
                                    g.out + t * g.out_advance, g.out_step, low_lane{},
                                    rule.tail(t));
    }
}

// ---- Line staging ---------------------------------------------------------------------------
// Streams a multiple of the cache's way size apart all fall into one cache set: the 16 inputs and
// 16 outputs of a radix-16 stage 4 KiB apart evict each other at every group, and each vector
// access then misses. Such sweeps run in blocks of one cache line per stream: a block's outputs
// collect in a line buffer on the stack and leave it line by line, and a first stage's inputs
// arrive the same way, so every line of the array is touched in one burst. The copies cost
// instructions, so only sweeps whose streams would overflow a set are staged.

inline constexpr index line_bytes = 64;
inline constexpr index line_reals = line_bytes / static_cast<index>(sizeof(real));
// Complex elements per line: 8 in single precision, 4 in double precision.
inline constexpr index line_elements = line_reals / complex_reals;
// The cache geometry assumed: 4 KiB per way (a 48 KiB, 12-way or 32 KiB, 8-way level-1 cache),
// of which streams may take this many ways of one set.
inline constexpr index cache_way_bytes = 4096;
inline constexpr index ways_for_streams = 8;

// The lines that `streams` streams `step_reals` apart put into one cache set: they cycle through
// way_bytes / gcd(step, way_bytes) sets.
inline index lines_per_set(index streams, index step_reals) {
    const index step_bytes = step_reals * static_cast<index>(sizeof(real));
    if (step_bytes % line_bytes != 0) return 1;
    const index sets = cache_way_bytes / std::gcd(step_bytes, cache_way_bytes);
    return (streams + sets - 1) / sets;
}

// True when streams from a and from b, both step_reals apart, fall into the same sets (to within a
// line): the addresses differ by about a multiple of gcd(step, way_bytes) modulo the way size.
inline bool streams_share_sets(const real* a, const real* b, index step_reals) {
    const index step_bytes = step_reals * static_cast<index>(sizeof(real));
    const auto period = static_cast<std::uintptr_t>(std::gcd(step_bytes, cache_way_bytes));
    const std::uintptr_t offset =
        (reinterpret_cast<std::uintptr_t>(a) - reinterpret_cast<std::uintptr_t>(b)) % period;
    return offset < line_bytes || period - offset < line_bytes;
}

// R lines, `from_step` reals apart, to R lines `to_step` reals apart.
template <int R>
QTX_SIMD_INLINE void copy_lines(real* to, index to_step, const real* from, index from_step) {
    constexpr index vector_reals = simd::lanes<real>;
#pragma GCC unroll 32
    for (index q = 0; q < R; ++q)
#pragma GCC unroll 8
        for (index i = 0; i < line_reals; i += vector_reals)
            simd::storeu(to + q * to_step + i, simd::loadu(from + q * from_step + i));
}

template <int R> struct line_buffer { alignas(line_bytes) real lines[R * line_reals]; };

// A row of `columns` contiguous butterflies (g.in_advance = g.out_advance = one element) in
// blocks of one line per stream, the outputs through a line buffer and the inputs too when
// StageIn. Columns past the last whole line run unstaged.
template <int R, bool Forward, bool StageIn, class Rule>
void staged_row_sweep(const sweep_geometry& g, index columns, Rule rule) {
    constexpr index e = complex_reals;
    line_buffer<R> in, out;
    const adjacent_lanes lanes_of{e};
    index j = 0;
    for (; j + line_elements <= columns; j += line_elements) {
        const real* from = g.in + j * e;
        if constexpr (StageIn) copy_lines<R>(in.lines, line_reals, from, g.in_step);
        const sweep_geometry block{StageIn ? in.lines : from,
                                   e,
                                   StageIn ? line_reals : g.in_step,
                                   out.lines,
                                   e,
                                   line_reals};
        sweep<R, Forward>(block, line_elements, lanes_of, lanes_of, rule);
        copy_lines<R>(g.out + j * e, g.out_step, out.lines, line_reals);
    }
    if (j < columns) {
        const sweep_geometry rest{g.in + j * e, e, g.in_step, g.out + j * e, e, g.out_step};
        sweep<R, Forward>(rest, columns - j, lanes_of, lanes_of, rule);
    }
}

inline index reals_of(std::int64_t stride_bytes) {
    return static_cast<index>(stride_bytes) / static_cast<index>(sizeof(real));
}

// ---- Last-stage layouts: input lanes, output lanes, twiddle layout, reals per work element ---

struct last_unit_layout {
    using in_lanes = spaced_lanes;
    using out_lanes = adjacent_lanes;
    using twiddles = paired_twiddles;
    static constexpr index element_reals = complex_reals;
};
struct last_strided_layout {
    using in_lanes = spaced_lanes;
    using out_lanes = spaced_lanes;
    using twiddles = spaced_twiddles;
    static constexpr index element_reals = complex_reals;
};
struct last_pair_layout {
    using in_lanes = pair_lanes;
    using out_lanes = pair_lanes;
    using twiddles = broadcast_twiddles;
    static constexpr index element_reals = pair_lanes::element_reals;
};

// ---- The three stage templates --------------------------------------------------------------

// First stage (P = 1, no twiddles): column j reads elements (q'·m + j)·in_stride and writes
// (q·m + j)·out_stride. Lanes: adjacent_lanes (unit strides), spaced_lanes or pair_lanes.
template <int R, bool Forward, class Lanes>
QTX_SIMD_INLINE void first_stage(real* target, const real* source, std::uint64_t m,
                                 std::int64_t in_stride_bytes = complex_bytes,
                                 std::int64_t out_stride_bytes = complex_bytes) {
    const index columns = static_cast<index>(m);
    const index is = reals_of(in_stride_bytes), os = reals_of(out_stride_bytes);
    const sweep_geometry g{source, is, columns * is, target, os, columns * os};
    const shared_twiddles<no_twiddles> none{};
    if constexpr (std::is_same_v<Lanes, adjacent_lanes>) {
        // The outputs leave the sets first when the streams overflow them, the inputs too when
        // they alone do.
        const index in_lines = lines_per_set(R, g.in_step),
                    out_lines = lines_per_set(R, g.out_step);
        const index set_lines = streams_share_sets(g.in, g.out, g.out_step)
                                    ? in_lines + out_lines
                                    : std::max(in_lines, out_lines);
        if (set_lines > ways_for_streams) {
            if (in_lines > ways_for_streams)
                staged_row_sweep<R, Forward, true>(g, columns, none);
            else
                staged_row_sweep<R, Forward, false>(g, columns, none);
            return;
        }
    }
    // Radix 4 runs on long transforms whose output rarely sits in cache.
    if constexpr (R == 4)
        sweep<R, Forward>(g, columns, Lanes{is}, prefetching<Lanes>{{os}}, none);
    else
        sweep<R, Forward>(g, columns, Lanes{is}, Lanes{os}, none);
}

// run(rule) with the twiddle rule of middle-stage row k: row 0's twiddles are all ones and are
// skipped, the others are held in registers for the row.
template <int R, class Run>
QTX_SIMD_INLINE void with_row_twiddles(const real* twiddles, index k, Run run) {
    if (k == 0)
        run(shared_twiddles<no_twiddles>{});
    else
        run(shared_twiddles<held_twiddles<R>>{
            held_twiddles<R>{{twiddles + k * (R - 1) * complex_reals}}});
}

// A middle stage whose rows are shorter than a line: line_elements / m consecutive rows fill one
// line of each output stream, so they sweep into one line buffer together.
template <int R, bool Forward>
void middle_stage_in_row_lines(real* target, const real* source, const real* twiddles,
                               index columns, index rows) {
    constexpr index e = complex_reals;
    const index rows_per_line = line_elements / columns, out_step = rows * columns * e;
    const adjacent_lanes lanes_of{e};
    line_buffer<R> out;
    index k = 0;
    for (; k + rows_per_line <= rows; k += rows_per_line) {
        for (index i = 0; i < rows_per_line; ++i) {
            const sweep_geometry g{source + (k + i) * R * columns * e, e, columns * e,
                                   out.lines + i * columns * e,        e, line_reals};
            with_row_twiddles<R>(twiddles, k + i, [&](auto rule) QTX_LAMBDA_INLINE {
                sweep<R, Forward>(g, columns, lanes_of, lanes_of, rule);
            });
        }
        copy_lines<R>(target + k * columns * e, out_step, out.lines, line_reals);
    }
    for (; k < rows; ++k) {
        const sweep_geometry g{source + k * R * columns * e, e, columns * e,
                               target + k * columns * e,     e, out_step};
        with_row_twiddles<R>(twiddles, k, [&](auto rule) QTX_LAMBDA_INLINE {
            sweep<R, Forward>(g, columns, lanes_of, lanes_of, rule);
        });
    }
}

// Middle stage on the work areas: row k, column j reads (k·R + q')·m + j and writes
// (q·P + k)·m + j. Lanes: adjacent_lanes, or pair_lanes for the interleaved pair (element
// stride 2). Output streams that alias go through line buffers.
template <int R, bool Forward, class Lanes>
void middle_stage(real* target, const real* source, const real* twiddles, std::uint64_t m,
                  std::uint64_t P) {
    constexpr index e = Lanes::element_reals;
    const index columns = static_cast<index>(m), rows = static_cast<index>(P);
    const Lanes lanes_of{e};
    const index out_step = rows * columns * e;
    auto row = [&](index k) -> sweep_geometry {
        return {source + k * R * columns * e, e, columns * e,
                target + k * columns * e,     e, out_step};
    };
    if (std::is_same_v<Lanes, adjacent_lanes> && lines_per_set(R, out_step) > ways_for_streams) {
        if (columns < line_elements && line_elements % columns == 0) {
            middle_stage_in_row_lines<R, Forward>(target, source, twiddles, columns, rows);
            return;
        }
        for (index k = 0; k < rows; ++k)
            with_row_twiddles<R>(twiddles, k, [&](auto rule) QTX_LAMBDA_INLINE {
                staged_row_sweep<R, Forward, false>(row(k), columns, rule);
            });
        return;
    }
    for (index k = 0; k < rows; ++k)
        with_row_twiddles<R>(twiddles, k, [&](auto rule) QTX_LAMBDA_INLINE {
            sweep<R, Forward>(row(k), columns, lanes_of, lanes_of, rule);
        });
}

// Last stage (m = 1): row k reads k·R + q' of the work area and writes (q·P + k)·out_stride.
template <int R, bool Forward, class Layout>
QTX_SIMD_INLINE void last_stage(real* target, const real* source, const real* twiddles,
                                std::uint64_t P, std::int64_t out_stride_bytes = complex_bytes) {
    constexpr index e = Layout::element_reals;
    const index rows = static_cast<index>(P), os = reals_of(out_stride_bytes);
    const index row_reals = (R - 1) * complex_reals;
    using in_lanes = typename Layout::in_lanes;
    using out_lanes = typename Layout::out_lanes;
    index k = 0;
    // Unit-stride output streams that alias: line_elements rows fill a line of each.
    if (std::is_same_v<Layout, last_unit_layout> &&
        lines_per_set(R, rows * os) > ways_for_streams) {
        line_buffer<R> out;
        for (; k + line_elements <= rows; k += line_elements) {
            const sweep_geometry block{source + k * R * e, R * e, e, out.lines, e, line_reals};
            const row_twiddles<typename Layout::twiddles> rule{twiddles + k * row_reals, row_reals};
            sweep<R, Forward>(block, line_elements, in_lanes{R * e}, out_lanes{e}, rule);
            copy_lines<R>(target + k * e, rows * e, out.lines, line_reals);
        }
    }
    const sweep_geometry g{source + k * R * e, R * e, e, target + k * os, os, rows * os};
    const row_twiddles<typename Layout::twiddles> rule{twiddles + k * row_reals, row_reals};
    sweep<R, Forward>(g, rows - k, in_lanes{R * e}, out_lanes{os}, rule);
}

// The adapters' view of a stage record's words.
inline real* target_of(void* p) {
    return static_cast<real*>(p);
}
inline const real* source_of(const void* p) {
    return static_cast<const real*>(p);
}
inline std::int64_t stride_bytes(std::int64_t element_stride) {
    return element_stride * static_cast<std::int64_t>(complex_bytes);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA::stage_layout

namespace qtx::QTX_ENGINE::inline QTX_ISA {

// ---- Adapters: the record's words as kernel arguments ---------------------------------------

template <int R, bool Forward>
void radix_adapters<R, Forward>::first_unit(const stage_record* s, const void* source,
                                            void* target) {
    stage_layout::first_stage<R, Forward, stage_layout::adjacent_lanes>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->m);
}

template <int R, bool Forward>
void radix_adapters<R, Forward>::first_strided(const stage_record* s, const void* source,
                                               void* target) {
    stage_layout::first_stage<R, Forward, stage_layout::spaced_lanes>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->m,
        stage_layout::stride_bytes(s->in_stride), stage_layout::stride_bytes(s->out_stride));
}

template <int R, bool Forward>
void radix_adapters<R, Forward>::first_pair(const stage_record* s, const void* source,
                                            void* target) requires has_pair_kernels {
    stage_layout::first_stage<R, Forward, stage_layout::pair_lanes>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->m,
        stage_layout::stride_bytes(s->in_stride), stage_layout::stride_bytes(s->out_stride));
}

template <int R, bool Forward>
void radix_adapters<R, Forward>::middle(const stage_record* s, const void* source, void* target) {
    stage_layout::middle_stage<R, Forward, stage_layout::adjacent_lanes>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->twiddles, s->m, s->P);
}

template <int R, bool Forward>
void radix_adapters<R, Forward>::middle_pair(const stage_record* s, const void* source,
                                             void* target) requires has_pair_kernels {
    stage_layout::middle_stage<R, Forward, stage_layout::pair_lanes>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->twiddles, s->m, s->P);
}

template <int R, bool Forward>
void radix_adapters<R, Forward>::last_unit(const stage_record* s, const void* source,
                                           void* target) {
    stage_layout::last_stage<R, Forward, stage_layout::last_unit_layout>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->twiddles, s->P);
}

template <int R, bool Forward>
void radix_adapters<R, Forward>::last_strided(const stage_record* s, const void* source,
                                              void* target) {
    stage_layout::last_stage<R, Forward, stage_layout::last_strided_layout>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->twiddles, s->P,
        stage_layout::stride_bytes(s->out_stride));
}

template <int R, bool Forward>
void radix_adapters<R, Forward>::last_pair(const stage_record* s, const void* source,
                                           void* target) requires has_pair_kernels {
    stage_layout::last_stage<R, Forward, stage_layout::last_pair_layout>(
        stage_layout::target_of(target), stage_layout::source_of(source), s->twiddles, s->P,
        stage_layout::stride_bytes(s->out_stride));
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
