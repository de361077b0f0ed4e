// vsip_cvdot_f and vsip_vmaxmgval_f timed against plain loops, for two lengths and one and two
// library threads.
#include "bench/vsip/compare.hpp"
#include "bench/vsip/bench_reductions_plain.hpp"
#include "qvsip.h"

#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr vsip_length kLengths[] = {100000, 10000000};
constexpr int kThreadCounts[] = {1, 2};
constexpr int kSamples = 7;
constexpr double kTargetMs = 20.0;

std::vector<float> random_floats(std::size_t count) {
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> value(-1, 1);
    std::vector<float> data(count);
    for (float& x : data)
        x = value(generator);
    return data;
}

void bench_length(qvsip::bench::comparison_table& table, vsip_length n) {
    std::vector<float> a = random_floats(2 * n), b = random_floats(2 * n);
    vsip_cvview_f* ca =
        vsip_cvbind_f(vsip_cblockbind_f(a.data(), nullptr, n, VSIP_MEM_NONE), 0, 1, n);
    vsip_cvview_f* cb =
        vsip_cvbind_f(vsip_cblockbind_f(b.data(), nullptr, n, VSIP_MEM_NONE), 0, 1, n);
    vsip_vview_f* ra = vsip_vbind_f(vsip_blockbind_f(a.data(), n, VSIP_MEM_NONE), 0, 1, n);
    volatile float sink = 0;
    vsip_index index = 0;
    for (int threads : kThreadCounts) {
        qvsip::bench::compare(
            table, "vsip_cvdot_f", n, threads, [&] { sink = sink + vsip_cvdot_f(ca, cb).r; },
            [&] { sink = sink + qvsip::bench::plain_dot(a.data(), b.data(), n).real(); }, kSamples,
            kTargetMs);
        qvsip::bench::compare(
            table, "vsip_vmaxmgval_f", n, threads,
            [&] { sink = sink + vsip_vmaxmgval_f(ra, &index); },
            [&] { sink = sink + qvsip::bench::plain_max_magnitude(a.data(), n, &index); }, kSamples,
            kTargetMs);
    }
    vsip_cvalldestroy_f(ca);
    vsip_cvalldestroy_f(cb);
    vsip_valldestroy_f(ra);
}

} // namespace

int main() {
    qvsip::bench::comparison_table table = qvsip::bench::comparison_table_against("plain");
    for (vsip_length n : kLengths)
        bench_length(table, n);
    QVSIP_SetOmpThreadNum(1);
    return 0;
}
