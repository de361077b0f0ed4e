// The stage kernel tables: for every row and direction, a slot per radix up to the largest
// dedicated one, holding the adapters of the dedicated radices in slot r - 1.
#include <array>
#include <cstddef>
#include <iterator>
#include <utility>

#include "fft/kernels/kernel_sizes.hpp"
#include "fft/kernels/stage_adapters.hpp"
#include "fft/kernels/stage_kernels.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

constexpr bool is_pair_row(stage_row row) {
    return row == stage_row::first_pair || row == stage_row::middle_pair ||
           row == stage_row::last_pair;
}

template <stage_row Row, int R, bool Forward> constexpr stage_kernel adapter_of() {
    using A = radix_adapters<R, Forward>;
    if constexpr (Row == stage_row::first_unit) return &A::first_unit;
    if constexpr (Row == stage_row::first_strided) return &A::first_strided;
    if constexpr (Row == stage_row::middle) return &A::middle;
    if constexpr (Row == stage_row::last_unit) return &A::last_unit;
    if constexpr (Row == stage_row::last_strided) return &A::last_strided;
    if constexpr (has_pair_kernels) {
        if constexpr (Row == stage_row::first_pair) return &A::first_pair;
        if constexpr (Row == stage_row::middle_pair) return &A::middle_pair;
        if constexpr (Row == stage_row::last_pair) return &A::last_pair;
    }
    return nullptr;
}

template <stage_row Row, bool Forward, std::size_t... I>
constexpr stage_kernel_table make_table(std::index_sequence<I...>) {
    using kernels::dedicated_radices;
    stage_kernel_table table{};
    ((table.slot[dedicated_radices[I].radix - 1] =
          adapter_of<Row, dedicated_radices[I].radix, Forward>()),
     ...);
    return table;
}

template <stage_row Row, bool Forward>
constexpr stage_kernel_table table_of =
    make_table<Row, Forward>(std::make_index_sequence<std::size(kernels::dedicated_radices)>{});

template <stage_row Row, bool Forward> constexpr const stage_kernel_table* table_address() {
    if constexpr (is_pair_row(Row) && !has_pair_kernels)
        return nullptr;
    else
        return &table_of<Row, Forward>;
}

constexpr std::size_t stage_row_count = 8;
static_assert(static_cast<std::size_t>(stage_row::last_strided) + 1 == stage_row_count);

struct direction_tables {
    const stage_kernel_table* backward;
    const stage_kernel_table* forward;
};

template <std::size_t... Row> constexpr auto make_row_index(std::index_sequence<Row...>) {
    return std::array<direction_tables, sizeof...(Row)>{
        direction_tables{table_address<static_cast<stage_row>(Row), false>(),
                         table_address<static_cast<stage_row>(Row), true>()}...};
}

// Indexed by stage_row.
constexpr auto row_index = make_row_index(std::make_index_sequence<stage_row_count>{});

} // namespace

const stage_kernel_table* stage_kernels(stage_row row, bool forward) {
    const auto i = static_cast<std::size_t>(row);
    if (i >= stage_row_count) return nullptr;
    return forward ? row_index[i].forward : row_index[i].backward;
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
