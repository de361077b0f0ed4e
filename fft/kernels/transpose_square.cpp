// In-place transposition of a square matrix: 8 × 8 tiles (diagonal tiles in place, each tile
// above the diagonal exchanged with its mirror), then the rows and columns past the last whole
// tile element by element. No extra memory.
#include "fft/kernels/transpose.hpp"

#include <utility>

#include "fft/kernels/transpose_units.hpp"

namespace qtx::QTX_ENGINE {

using namespace transpose_detail;

namespace {

inline constexpr uint64_t square_tile = 8;

// A square matrix of elements of Reals reals each, row stride in elements.
template <int64_t Reals> struct square_matrix {
    real* base;
    int64_t stride;
    real* at(uint64_t r, uint64_t c) const {
        return base + (offset(r, stride) + static_cast<int64_t>(c)) * Reals;
    }
    void exchange(uint64_t r, uint64_t c) const {
        real* x = at(r, c);
        real* y = at(c, r);
        for (int64_t i = 0; i < Reals; ++i)
            std::swap(x[i], y[i]);
    }
};

template <int64_t Reals> void transpose_diagonal_tile(const square_matrix<Reals>& m, uint64_t i) {
    for (uint64_t r = 0; r < square_tile; ++r)
        for (uint64_t c = r + 1; c < square_tile; ++c)
            m.exchange(i + r, i + c);
}

// Tile (i, j) above the diagonal with its mirror (j, i).
template <int64_t Reals>
void exchange_mirror_tiles(const square_matrix<Reals>& m, uint64_t i, uint64_t j) {
    for (uint64_t r = 0; r < square_tile; ++r)
        for (uint64_t c = 0; c < square_tile; ++c)
            m.exchange(i + r, j + c);
}

// The rows of the tile pair that follows (i, j) along tile row i.
template <int64_t Reals>
void prefetch_mirror_tiles(const square_matrix<Reals>& m, uint64_t i, uint64_t j) {
    for (uint64_t r = 0; r < square_tile; ++r) {
        simd::prefetch_write(m.at(i + r, j));
        simd::prefetch_write(m.at(j + r, i));
    }
}

template <int64_t Reals> void transpose_square(void* array, uint64_t N, int64_t stride) {
    const square_matrix<Reals> m{static_cast<real*>(array), stride};
    const uint64_t tiled = N - N % square_tile;
    for (uint64_t i = 0; i < tiled; i += square_tile) {
        transpose_diagonal_tile(m, i);
        for (uint64_t j = i + square_tile; j < tiled; j += square_tile) {
            if (j + square_tile < tiled) prefetch_mirror_tiles(m, i, j + square_tile);
            exchange_mirror_tiles(m, i, j);
        }
    }
    for (uint64_t r = tiled; r < N; ++r)
        for (uint64_t c = 0; c < r; ++c)
            m.exchange(r, c);
}

} // namespace

void transpose_square_cpx(void* array, uint64_t N, int64_t stride) {
    transpose_square<complex_reals>(array, N, stride);
}

void transpose_square_fp(void* array, uint64_t N, int64_t stride) {
    transpose_square<1>(array, N, stride);
}

} // namespace qtx::QTX_ENGINE
