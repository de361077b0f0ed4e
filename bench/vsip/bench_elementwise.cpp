// Five element-wise operations on dense views timed against plain loops compiled for 128-bit
// vectors (the library's width) and for the machine's widest, for several lengths and thread
// counts: median of several timed repetitions. The rows at n = 16 are the per-call overhead.
//
// bench_elementwise --repeat <operation> <n> <calls> makes the calls on one library thread
// without timing, for instruction counts (valgrind --tool=callgrind --toggle-collect='vsip_*').
#include "bench/vsip/compare.hpp"
#include "bench_elementwise_plain.hpp"

#include "qvsip.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr std::size_t kLengths[] = {16, 1000, 100000, 10000000};
constexpr int kThreads[] = {1, 2};

// Dense real and interleaved complex views of n elements over owned arrays.
struct Operands {
    explicit Operands(std::size_t n)
        : n(n), x(2 * n, 1.25f), y(2 * n, 0.75f), z(2 * n, 0.5f), out(2 * n, 0.0f) {
        real_x = real_view(x);
        real_y = real_view(y);
        real_z = real_view(z);
        real_out = real_view(out);
        complex_x = complex_view(x);
        complex_y = complex_view(y);
        complex_out = complex_view(out);
    }
    ~Operands() {
        for (vsip_vview_f* v : {real_x, real_y, real_z, real_out})
            vsip_valldestroy_f(v);
        for (vsip_cvview_f* v : {complex_x, complex_y, complex_out})
            vsip_cvalldestroy_f(v);
    }
    vsip_vview_f* real_view(std::vector<float>& data) {
        return vsip_vbind_f(vsip_blockbind_f(data.data(), n, VSIP_MEM_NONE), 0, 1, n);
    }
    vsip_cvview_f* complex_view(std::vector<float>& data) {
        return vsip_cvbind_f(vsip_cblockbind_f(data.data(), nullptr, n, VSIP_MEM_NONE), 0, 1, n);
    }

    std::size_t n;
    std::vector<float> x, y, z, out;
    vsip_vview_f *real_x, *real_y, *real_z, *real_out;
    vsip_cvview_f *complex_x, *complex_y, *complex_out;
};

struct Benchmark {
    const char* name;
    std::function<void(Operands&)> ours;
    std::function<void(const plain::elementwise_loops&, Operands&)> theirs;
};

const Benchmark kBenchmarks[] = {
    {"vsip_cvmul_f", [](Operands& o) { vsip_cvmul_f(o.complex_x, o.complex_y, o.complex_out); },
     [](const plain::elementwise_loops& p, Operands& o) {
         p.cvmul(o.x.data(), o.y.data(), o.out.data(), o.n);
     }},
    {"vsip_vma_f", [](Operands& o) { vsip_vma_f(o.real_x, o.real_y, o.real_z, o.real_out); },
     [](const plain::elementwise_loops& p, Operands& o) {
         p.vma(o.x.data(), o.y.data(), o.z.data(), o.out.data(), o.n);
     }},
    {"vsip_cvmag_f", [](Operands& o) { vsip_cvmag_f(o.complex_x, o.real_out); },
     [](const plain::elementwise_loops& p, Operands& o) {
         p.cvmag(o.x.data(), o.out.data(), o.n);
     }},
    {"vsip_rscvmul_f", [](Operands& o) { vsip_rscvmul_f(1.5f, o.complex_x, o.complex_out); },
     [](const plain::elementwise_loops& p, Operands& o) {
         p.rscvmul(1.5f, o.x.data(), o.out.data(), o.n);
     }},
    {"vsip_vrecip_f", [](Operands& o) { vsip_vrecip_f(o.real_x, o.real_out); },
     [](const plain::elementwise_loops& p, Operands& o) {
         p.vrecip(o.x.data(), o.out.data(), o.n);
     }},
};

// The --repeat mode; false for an unknown operation.
bool repeat(const char* name, std::size_t n, long calls) {
    for (const Benchmark& b : kBenchmarks) {
        if (std::strcmp(b.name, name) != 0) continue;
        Operands o(n);
        QVSIP_SetOmpThreadNum(1);
        for (long i = 0; i < calls; ++i)
            b.ours(o);
        return true;
    }
    std::fprintf(stderr, "unknown operation %s\n", name);
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--repeat") == 0)
        return repeat(argv[2], std::strtoull(argv[3], nullptr, 10), std::atol(argv[4])) ? 0 : 1;
    const char* const rivals[] = {"plain128", "native"};
    auto table = qvsip::bench::comparison_table_against(rivals);
    for (const Benchmark& b : kBenchmarks)
        for (const std::size_t n : kLengths) {
            Operands o(n);
            for (const int threads : kThreads)
                qvsip::bench::compare_all(
                    table, b.name, n, threads, qvsip::bench::samples_for(n), 20.0,
                    [&] { b.ours(o); }, [&] { b.theirs(plain::narrow, o); },
                    [&] { b.theirs(plain::native, o); });
        }
    QVSIP_SetOmpThreadNum(1);
    return 0;
}
