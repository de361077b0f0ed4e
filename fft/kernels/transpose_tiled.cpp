// Tiled transposition of real matrices: 64 × 16 tiles, then 8 × 16 tiles for the leftover
// rows, then element by element for what no tile covers.
#include "fft/kernels/transpose.hpp"

#include "fft/kernels/transpose_units.hpp"

namespace qtx::QTX_ENGINE {

using namespace transpose_detail;

namespace {

inline constexpr uint64_t wide_tile_rows = 64;
inline constexpr uint64_t narrow_tile_rows = 8;
inline constexpr uint64_t real_tile_columns = 16;

struct real_transposition {
    const real* source;
    real* destination;
    int64_t source_stride;
    int64_t destination_stride;
    void move(uint64_t r, uint64_t c) const {
        destination[offset(c, destination_stride) + static_cast<int64_t>(r)] =
            source[offset(r, source_stride) + static_cast<int64_t>(c)];
    }
};

// Rows [r0, r1) × columns [c0, c1), column by column.
void move_elements(const real_transposition& m, uint64_t r0, uint64_t r1, uint64_t c0,
                   uint64_t c1) {
    for (uint64_t c = c0; c < c1; ++c)
        for (uint64_t r = r0; r < r1; ++r)
            m.move(r, c);
}

// A fixed-size tile at (r0, c0); the constant bounds let the compiler keep it in registers.
template <uint64_t Rows, uint64_t Columns>
void move_tile(const real_transposition& m, uint64_t r0, uint64_t c0) {
    for (uint64_t c = c0; c < c0 + Columns; ++c) {
#pragma GCC unroll narrow_tile_rows
        for (uint64_t r = r0; r < r0 + Rows; ++r)
            m.move(r, c);
    }
}

// Tiles of Rows rows over columns [0, width) from row first on while whole tiles fit below R;
// returns the first row left over.
template <uint64_t Rows>
uint64_t move_tile_rows(const real_transposition& m, uint64_t first, uint64_t R, uint64_t width) {
    uint64_t r = first;
    for (; r + Rows <= R; r += Rows)
        for (uint64_t c = 0; c + real_tile_columns <= width; c += real_tile_columns)
            move_tile<Rows, real_tile_columns>(m, r, c);
    return r;
}

} // namespace

void transpose_fp(const void* source, void* destination, uint64_t R, uint64_t W,
                  int64_t source_stride, int64_t destination_stride) {
    const real_transposition m{static_cast<const real*>(source), static_cast<real*>(destination),
                               source_stride, destination_stride};
    const uint64_t tiled_width = W - W % real_tile_columns;
    uint64_t r = move_tile_rows<wide_tile_rows>(m, 0, R, tiled_width);
    r = move_tile_rows<narrow_tile_rows>(m, r, R, tiled_width);
    move_elements(m, r, R, 0, tiled_width);
    move_elements(m, 0, R, tiled_width, W);
}

} // namespace qtx::QTX_ENGINE
