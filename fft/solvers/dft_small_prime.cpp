// The small prime solver: a single transform of a length with a small prime kernel is one call
// of the kernel's execute routine, with no table, buffer or children.
#include "fft/solvers/dft_small_prime.hpp"

#include <array>
#include <utility>

#include "fft/kernels/small_prime_kernels.hpp"
#include "fft/solvers/c2c_1d.hpp"
#include "fft/solvers/complex_span.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

template <int N, bool Forward, bool Unit>
void execute_dft_small_prime(const plan_record* plan, void* in, void* out) {
    small_prime::transform<N, Forward>(
        complex_span<Unit>{static_cast<real*>(in), plan->dims[0].is},
        complex_span<Unit>{static_cast<real*>(out), plan->dims[0].os});
}

// The routines of one length by [unit strides][forward].
struct small_prime_row {
    uint64_t n;
    execute_routine routine[2][2];
};

template <int N> constexpr small_prime_row row_of() {
    return {N,
            {{execute_dft_small_prime<N, false, false>, execute_dft_small_prime<N, true, false>},
             {execute_dft_small_prime<N, false, true>, execute_dft_small_prime<N, true, true>}}};
}

template <std::size_t... I>
constexpr std::array<small_prime_row, sizeof...(I)> rows_of(std::index_sequence<I...>) {
    return {row_of<small_prime::small_primes[I]>()...};
}

constexpr std::array<small_prime_row, small_prime::small_prime_count> small_prime_rows =
    rows_of(std::make_index_sequence<small_prime::small_prime_count>{});

} // namespace

uint32_t solve_problem_dft_small_prime(plan_record* p) {
    if (p->kind != kind_c2c || p->rank != 1 || p->howmany_rank != 0) return solve_declined;
    const uint64_t n = static_cast<uint64_t>(p->dims[0].n);
    for (const small_prime_row& row : small_prime_rows) {
        if (row.n != n) continue;
        // Every routine is an instance of the template execute_dft_small_prime.
        set_execute(p,
                    {row.routine[has_unit_strides(p)][p->sign == -1], "execute_dft_small_prime"});
        return solve_accepted;
    }
    return solve_declined;
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
