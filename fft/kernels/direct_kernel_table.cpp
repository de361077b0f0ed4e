// The direct kernel table, generated from the list of kernel lengths in search order.
#include "fft/kernels/direct_adapters.hpp"
#include "fft/kernels/direct_kernels.hpp"

namespace qtx::QTX_ENGINE {
namespace {

template <int... N> struct length_list {};

// Search order of the table rows (instantiated in direct_kernels_*.cpp).
using direct_lengths =
    length_list<2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 16, 32, 64, 128, 256, 30, 60, 120>;

template <int N> constexpr direct_kernel_row row_of() {
    using F = direct_adapters<N, true>;
    using B = direct_adapters<N, false>;
    direct_kernel_row row{static_cast<uint64_t>(N), {&F::unit, &B::unit, &F::strided, &B::strided}};
    if constexpr (has_pair_kernels) {
        row.column[direct_pair_forward] = &F::pair;
        row.column[direct_pair_backward] = &B::pair;
    }
    return row;
}

template <int... N>
constexpr std::array<direct_kernel_row, sizeof...(N)> rows_of(length_list<N...>) {
    return {row_of<N>()...};
}

} // namespace

constinit const std::array<direct_kernel_row, direct_row_count> direct_kernel_table =
    rows_of(direct_lengths{});

const direct_kernel_row* find_direct_kernels(uint64_t n) {
    for (const direct_kernel_row& row : direct_kernel_table)
        if (row.n == n) return &row;
    return nullptr;
}

} // namespace qtx::QTX_ENGINE
