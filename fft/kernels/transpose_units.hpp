// Building blocks of the transposition kernels: the moves of one unit, element runs, and the
// cache-oblivious recursion with its base blocks. Everything here addresses memory as reals:
// offsets and strides count reals, so one recursion serves complex values, 16-byte pairs and
// the rotating transposition alike.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>

#include "fft/precision.hpp"
#include "simd/simd.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA::transpose_detail {

// The recursion stops splitting once both sides are at most this many units.
inline constexpr uint64_t base_units = 16;
// Rows of a base block moved per step of its row loop.
inline constexpr uint64_t row_unroll = 8;
// A base block of exactly base_units × base_units pair units goes as micro-tiles of this shape.
inline constexpr uint64_t tile_rows = 8;
inline constexpr uint64_t tile_columns = 4;
// Elements per step of a strided element run.
inline constexpr int64_t run_unroll = 4;

inline constexpr int64_t complex_reals = 2;
// A 16-byte unit: two complex values in single precision, one in double precision.
inline constexpr int64_t vector_reals = simd::lanes<real>;

inline int64_t offset(uint64_t index, int64_t stride) {
    return static_cast<int64_t>(index) * stride;
}

// Largest power of two not above n, halved when it is n itself, so a split always leaves two
// non-empty parts and power-of-two blocks halve exactly.
constexpr uint64_t split_length(uint64_t n) {
    const uint64_t power = std::bit_floor(n);
    return power == n ? power / 2 : power;
}

// One complex value.
struct complex_move {
    const real* source;
    real* destination;
    static constexpr int64_t reals = complex_reals;
    static constexpr bool tiled = false;
    void operator()(int64_t s, int64_t d) const {
        simd::store_low_complex(destination + d, simd::load_low_complex(source + s));
    }
    void prefetch(int64_t s) const { __builtin_prefetch(source + s); }
};

// One 16-byte unit.
struct pair_move {
    const real* source;
    real* destination;
    static constexpr int64_t reals = vector_reals;
    static constexpr bool tiled = true;
    void operator()(int64_t s, int64_t d) const {
        simd::storeu(destination + d, simd::loadu(source + s));
    }
    void prefetch(int64_t s) const { __builtin_prefetch(source + s); }
};

// One 16-byte unit times the table unit at the same position as the source.
struct pair_rotate {
    const real* source;
    const real* table;
    real* destination;
    static constexpr int64_t reals = vector_reals;
    static constexpr bool tiled = true;
    void operator()(int64_t s, int64_t d) const {
        simd::storeu(destination + d, simd::cmul(simd::loadu(source + s), simd::loadu(table + s)));
    }
    void prefetch(int64_t s) const {
        __builtin_prefetch(source + s);
        __builtin_prefetch(table + s);
    }
};

// Row steps of the source and the destination, in reals.
struct row_strides {
    int64_t source;
    int64_t destination;
};

// Destination (c, r) = source (r, c) for a block of R rows and W columns, row_unroll rows at a
// time column by column, so the destination is written in runs; offsets advance by addition.
// The unit is copied: its pointers, unlike the caller's object, cannot be changed by the stores
// of vector types (which may alias anything), so they stay in registers.
template <class Unit>
void move_block(const Unit& caller_unit, row_strides st, int64_t s, int64_t d, uint64_t R,
                uint64_t W) {
    const Unit unit = caller_unit;
    constexpr int64_t u = Unit::reals;
    uint64_t r = 0;
    for (; r + row_unroll <= R; r += row_unroll) {
        int64_t sc = s + offset(r, st.source), dc = d + offset(r, u);
        for (uint64_t c = 0; c < W; ++c, sc += u, dc += st.destination) {
#pragma GCC unroll row_unroll
            for (uint64_t i = 0; i < row_unroll; ++i)
                unit(sc + offset(i, st.source), dc + offset(i, u));
        }
    }
    for (; r < R; ++r) {
        int64_t sc = s + offset(r, st.source), dc = d + offset(r, u);
        for (uint64_t c = 0; c < W; ++c, sc += u, dc += st.destination)
            unit(sc, dc);
    }
}

// A base_units × base_units block as micro-tiles, each column by column; before each tile the
// source lines of the next tile are fetched.
template <class Unit>
void move_tiled_block(const Unit& caller_unit, row_strides st, int64_t s, int64_t d) {
    const Unit unit = caller_unit; // kept in registers, as in move_block
    constexpr int64_t u = Unit::reals;
    for (uint64_t r0 = 0; r0 < base_units; r0 += tile_rows) {
        for (uint64_t c0 = 0; c0 < base_units; c0 += tile_columns) {
            const bool last_in_row = c0 + tile_columns == base_units;
            const uint64_t next_r0 = last_in_row ? r0 + tile_rows : r0;
            const uint64_t next_c0 = last_in_row ? 0 : c0 + tile_columns;
            if (next_r0 < base_units)
                for (uint64_t r = 0; r < tile_rows; ++r)
                    unit.prefetch(s + offset(next_r0 + r, st.source) + offset(next_c0, u));
            for (uint64_t c = c0; c < c0 + tile_columns; ++c) {
#pragma GCC unroll tile_rows
                for (uint64_t r = r0; r < r0 + tile_rows; ++r)
                    unit(s + offset(r, st.source) + offset(c, u),
                         d + offset(c, st.destination) + offset(r, u));
            }
        }
    }
}

template <class Unit>
void move_base(const Unit& unit, row_strides st, int64_t s, int64_t d, uint64_t R, uint64_t W) {
    if constexpr (Unit::tiled)
        if (R == base_units && W == base_units) return move_tiled_block(unit, st, s, d);
    move_block(unit, st, s, d, R, W);
}

// Cache-oblivious transposition: rows are split off while R > max(W, 16), then columns while
// W > 16 (re-testing the rows after each column split), until a base block remains.
template <class Unit>
void transpose_recursive(const Unit& unit, row_strides st, int64_t s, int64_t d, uint64_t R,
                         uint64_t W) {
    if (R == 0 || W == 0) return;
    constexpr int64_t u = Unit::reals;
    for (;;) {
        while (R > std::max(W, base_units)) {
            const uint64_t R1 = split_length(R);
            transpose_recursive(unit, st, s, d, R1, W);
            s += offset(R1, st.source);
            d += offset(R1, u);
            R -= R1;
        }
        if (W <= base_units) break;
        const uint64_t W1 = split_length(W);
        transpose_recursive(unit, st, s, d, R, W1);
        s += offset(W1, u);
        d += offset(W1, st.destination);
        W -= W1;
    }
    move_base(unit, st, s, d, R, W);
}

// The same with strides given in complex elements, as the kernel interface counts them.
template <class Unit>
void transpose_complex_strides(const Unit& unit, uint64_t R, uint64_t W, int64_t source_stride,
                               int64_t destination_stride) {
    const row_strides st{source_stride * complex_reals, destination_stride * complex_reals};
    transpose_recursive(unit, st, 0, 0, R, W);
}

template <int64_t Reals> inline void copy_element(const real* s, real* d) {
    for (int64_t i = 0; i < Reals; ++i)
        d[i] = s[i];
}

// count elements of Reals reals each, source step ss and destination step ds (in reals).
template <int64_t Reals>
void copy_run(const real* s, int64_t ss, real* d, int64_t ds, int64_t count) {
    int64_t k = 0;
    for (; k + run_unroll <= count; k += run_unroll) {
#pragma GCC unroll run_unroll
        for (int64_t i = k; i < k + run_unroll; ++i)
            copy_element<Reals>(s + i * ss, d + i * ds);
    }
    for (; k < count; ++k)
        copy_element<Reals>(s + k * ss, d + k * ds);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA::transpose_detail
