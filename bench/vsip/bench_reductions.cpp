// Elements per second of vsip_cvdot_f and vsip_vmaxmgval_f against plain loops, for two lengths
// and one and two library threads.
#include "bench/timing.hpp"
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

double melem_per_s(vsip_length n, double ns) {
    return static_cast<double>(n) / ns * 1e3;
}

void row(const char* name, vsip_length n, int threads, double ours_ns, double plain_ns) {
    const double ours = melem_per_s(n, ours_ns), plain = melem_per_s(n, plain_ns);
    std::printf("%-18s %10llu %3d %12.1f %12.1f %8.2f\n", name, static_cast<unsigned long long>(n),
                threads, ours, plain, ours / plain);
}

void bench_length(vsip_length n) {
    std::vector<float> a = random_floats(2 * n), b = random_floats(2 * n);
    vsip_cvview_f* ca =
        vsip_cvbind_f(vsip_cblockbind_f(a.data(), nullptr, n, VSIP_MEM_NONE), 0, 1, n);
    vsip_cvview_f* cb =
        vsip_cvbind_f(vsip_cblockbind_f(b.data(), nullptr, n, VSIP_MEM_NONE), 0, 1, n);
    vsip_vview_f* ra = vsip_vbind_f(vsip_blockbind_f(a.data(), n, VSIP_MEM_NONE), 0, 1, n);
    volatile float sink = 0;
    vsip_index index = 0;
    for (int threads : kThreadCounts) {
        QVSIP_SetOmpThreadNum(threads);
        const double dot_ns = qtx::bench::median_ns_per_call(
            [&] { sink = sink + vsip_cvdot_f(ca, cb).r; }, kSamples, kTargetMs);
        const double plain_dot_ns = qtx::bench::median_ns_per_call(
            [&] { sink = sink + qvsip::bench::plain_dot(a.data(), b.data(), n).real(); }, kSamples,
            kTargetMs);
        row("vsip_cvdot_f", n, threads, dot_ns, plain_dot_ns);
        const double max_ns = qtx::bench::median_ns_per_call(
            [&] { sink = sink + vsip_vmaxmgval_f(ra, &index); }, kSamples, kTargetMs);
        const double plain_max_ns = qtx::bench::median_ns_per_call(
            [&] { sink = sink + qvsip::bench::plain_max_magnitude(a.data(), n, &index); }, kSamples,
            kTargetMs);
        row("vsip_vmaxmgval_f", n, threads, max_ns, plain_max_ns);
    }
    vsip_cvalldestroy_f(ca);
    vsip_cvalldestroy_f(cb);
    vsip_valldestroy_f(ra);
}

} // namespace

int main() {
    std::printf("%-18s %10s %3s %12s %12s %8s\n", "operation", "n", "T", "ours Melem/s",
                "plain Melem/s", "ratio");
    for (vsip_length n : kLengths)
        bench_length(n);
    return 0;
}
