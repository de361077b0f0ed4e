// The transcendental functions on dense views timed against loops over glibc's scalar
// functions, for two lengths and thread counts: median of several timed repetitions.
#include "bench/vsip/compare.hpp"

#include "qvsip.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace plain {
void vsin(const float* x, float* r, std::size_t n);
void vcos(const float* x, float* r, std::size_t n);
void veuler(const float* x, float* r, std::size_t n);
void cvexp(const float* a, float* r, std::size_t n);
void vexp(const float* x, float* r, std::size_t n);
void vlog10(const float* x, float* r, std::size_t n);
void vsqrt(const float* x, float* r, std::size_t n);
} // namespace plain

namespace {

constexpr std::size_t kLengths[] = {100000, 10000000};
constexpr int kThreads[] = {1, 2};

// Random arguments in [low, high): n reals, or n interleaved pairs.
std::vector<float> arguments(std::size_t count, float low, float high) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> uniform(low, high);
    std::vector<float> x(count);
    for (float& v : x)
        v = uniform(random);
    return x;
}

// Dense views over an argument array and an output array of n elements.
struct Operands {
    Operands(std::size_t n, bool complex_in, float low, float high)
        : n(n), in(arguments(complex_in ? 2 * n : n, low, high)), out(2 * n, 0.0f) {
        real_in = vsip_vbind_f(vsip_blockbind_f(in.data(), n, VSIP_MEM_NONE), 0, 1, n);
        real_out = vsip_vbind_f(vsip_blockbind_f(out.data(), n, VSIP_MEM_NONE), 0, 1, n);
        complex_in_view = complex_view(in);
        complex_out = complex_view(out);
    }
    ~Operands() {
        vsip_valldestroy_f(real_in);
        vsip_valldestroy_f(real_out);
        vsip_cvalldestroy_f(complex_in_view);
        vsip_cvalldestroy_f(complex_out);
    }
    vsip_cvview_f* complex_view(std::vector<float>& data) {
        return data.size() < 2 * n
                   ? nullptr
                   : vsip_cvbind_f(vsip_cblockbind_f(data.data(), nullptr, n, VSIP_MEM_NONE), 0, 1,
                                   n);
    }

    std::size_t n;
    std::vector<float> in, out;
    vsip_vview_f *real_in, *real_out;
    vsip_cvview_f *complex_in_view, *complex_out;
};

struct Benchmark {
    const char* name;
    bool complex_in;
    float low, high;
    std::function<void(Operands&)> ours, theirs;
};

const Benchmark kBenchmarks[] = {
    {"vsip_vsin_f", false, -100, 100, [](Operands& o) { vsip_vsin_f(o.real_in, o.real_out); },
     [](Operands& o) { plain::vsin(o.in.data(), o.out.data(), o.n); }},
    {"vsip_vcos_f", false, -100, 100, [](Operands& o) { vsip_vcos_f(o.real_in, o.real_out); },
     [](Operands& o) { plain::vcos(o.in.data(), o.out.data(), o.n); }},
    {"vsip_veuler_f", false, -100, 100,
     [](Operands& o) { vsip_veuler_f(o.real_in, o.complex_out); },
     [](Operands& o) { plain::veuler(o.in.data(), o.out.data(), o.n); }},
    {"vsip_cvexp_f", true, -10, 10,
     [](Operands& o) { vsip_cvexp_f(o.complex_in_view, o.complex_out); },
     [](Operands& o) { plain::cvexp(o.in.data(), o.out.data(), o.n); }},
    // A lower bound: the whole of cvexp against expf alone.
    {"cvexp|expf only", true, -10, 10,
     [](Operands& o) { vsip_cvexp_f(o.complex_in_view, o.complex_out); },
     [](Operands& o) { plain::vexp(o.in.data(), o.out.data(), o.n); }},
    {"vsip_vlog10_f", false, 1e-3f, 1e6f, [](Operands& o) { vsip_vlog10_f(o.real_in, o.real_out); },
     [](Operands& o) { plain::vlog10(o.in.data(), o.out.data(), o.n); }},
    {"vsip_vsqrt_f", false, 1e-3f, 1e6f, [](Operands& o) { vsip_vsqrt_f(o.real_in, o.real_out); },
     [](Operands& o) { plain::vsqrt(o.in.data(), o.out.data(), o.n); }},
};

} // namespace

// An optional argument selects the operations whose name contains it.
int main(int argc, char** argv) {
    const qtx::bench::case_filter filter(argc, argv);
    qvsip::bench::comparison_table table = qvsip::bench::comparison_table_against("libm");
    for (const Benchmark& b : kBenchmarks)
        for (const std::size_t n : kLengths) {
            if (!filter.selects(b.name)) continue;
            Operands o(n, b.complex_in, b.low, b.high);
            for (const int threads : kThreads)
                qvsip::bench::compare(
                    table, b.name, n, threads, [&] { b.ours(o); }, [&] { b.theirs(o); },
                    qvsip::bench::samples_for(n));
        }
    QVSIP_SetOmpThreadNum(1);
    return 0;
}
