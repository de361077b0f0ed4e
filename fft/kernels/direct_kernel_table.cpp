// The direct kernel table, generated from kernels::direct_lengths.
#include <bit>
#include <utility>

#include "fft/kernels/direct_adapters.hpp"
#include "fft/kernels/direct_kernels.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

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

// Search order: the single butterflies, then the two-pass powers of two, then the other
// two-pass lengths.
constexpr int search_rank(kernels::direct_length d) {
    if (d.first_radix == d.n) return 0;
    return std::has_single_bit(static_cast<unsigned>(d.n)) ? 1 : 2;
}

constexpr std::array<int, direct_row_count> lengths_in_search_order() {
    std::array<int, direct_row_count> order{};
    std::size_t i = 0;
    for (int rank = 0; rank < 3; ++rank)
        for (const kernels::direct_length& d : kernels::direct_lengths)
            if (search_rank(d) == rank) order[i++] = d.n;
    return order;
}

constexpr std::array<int, direct_row_count> search_order = lengths_in_search_order();

template <std::size_t... I>
constexpr std::array<direct_kernel_row, sizeof...(I)> rows_of(std::index_sequence<I...>) {
    return {row_of<search_order[I]>()...};
}

} // namespace

constinit const std::array<direct_kernel_row, direct_row_count> direct_kernel_table =
    rows_of(std::make_index_sequence<direct_row_count>{});

const direct_kernel_row* find_direct_kernels(uint64_t n) {
    for (const direct_kernel_row& row : direct_kernel_table)
        if (row.n == n) return &row;
    return nullptr;
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
