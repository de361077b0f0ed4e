// Forward out-of-place one-dimensional complex transforms against FFTW in the same process:
// ns per transform for both engines, FFTW_ESTIMATE and FFTW_MEASURE, and their ratios.
//   bench_c2c_1d [n ...]
#include <fftw3.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/timing.hpp"
#include "qtx_fft.h"

namespace {

// Our engine and FFTW for one precision.
struct single_precision {
    using real = float;
    static constexpr const char* label = "single";
    static void* alloc(size_t n) { return qtx_fftf_malloc(n * 2 * sizeof(real)); }
    static void release(void* p) { qtx_fftf_free(p); }
    static double ours(int n, void* in, void* out) {
        auto* i = static_cast<qtx_fftf_complex*>(in);
        auto* o = static_cast<qtx_fftf_complex*>(out);
        qtx_fftf_plan plan = qtx_fftf_plan_dft_1d(n, i, o, -1, 0);
        if (!plan) return 0;
        const double ns = qtx::bench::median_ns_per_call([&] { qtx_fftf_execute_dft(plan, i, o); });
        qtx_fftf_destroy_plan(plan);
        return ns;
    }
    static double fftw(int n, void* in, void* out, unsigned flags) {
        auto* i = static_cast<fftwf_complex*>(in);
        auto* o = static_cast<fftwf_complex*>(out);
        fftwf_plan plan = fftwf_plan_dft_1d(n, i, o, FFTW_FORWARD, flags);
        const double ns = qtx::bench::median_ns_per_call([&] { fftwf_execute_dft(plan, i, o); });
        fftwf_destroy_plan(plan);
        return ns;
    }
};

struct double_precision {
    using real = double;
    static constexpr const char* label = "double";
    static void* alloc(size_t n) { return qtx_fft_malloc(n * 2 * sizeof(real)); }
    static void release(void* p) { qtx_fft_free(p); }
    static double ours(int n, void* in, void* out) {
        auto* i = static_cast<qtx_fft_complex*>(in);
        auto* o = static_cast<qtx_fft_complex*>(out);
        qtx_fft_plan plan = qtx_fft_plan_dft_1d(n, i, o, -1, 0);
        if (!plan) return 0;
        const double ns = qtx::bench::median_ns_per_call([&] { qtx_fft_execute_dft(plan, i, o); });
        qtx_fft_destroy_plan(plan);
        return ns;
    }
    static double fftw(int n, void* in, void* out, unsigned flags) {
        auto* i = static_cast<fftw_complex*>(in);
        auto* o = static_cast<fftw_complex*>(out);
        fftw_plan plan = fftw_plan_dft_1d(n, i, o, FFTW_FORWARD, flags);
        const double ns = qtx::bench::median_ns_per_call([&] { fftw_execute_dft(plan, i, o); });
        fftw_destroy_plan(plan);
        return ns;
    }
};

template <class P> void run(const std::vector<int>& lengths) {
    std::printf("\n%s precision, forward, out of place, 1 thread (ns per transform)\n", P::label);
    std::printf("%8s %12s %12s %12s %10s %10s\n", "n", "qtx", "estimate", "measure", "qtx/est",
                "qtx/meas");
    std::vector<double> vs_estimate, vs_measure;
    for (int n : lengths) {
        void* in = P::alloc(static_cast<size_t>(n));
        void* out = P::alloc(static_cast<size_t>(n));
        auto* values = static_cast<typename P::real*>(in);
        for (int i = 0; i < 2 * n; ++i)
            values[i] = static_cast<typename P::real>((i % 17) - 8);
        const double ours = P::ours(n, in, out);
        const double estimate = P::fftw(n, in, out, FFTW_ESTIMATE);
        const double measure = P::fftw(n, in, out, FFTW_MEASURE);
        P::release(in);
        P::release(out);
        if (ours == 0) {
            std::printf("%8d %12s\n", n, "no plan");
            continue;
        }
        vs_estimate.push_back(ours / estimate);
        vs_measure.push_back(ours / measure);
        std::printf("%8d %12.1f %12.1f %12.1f %10.2f %10.2f\n", n, ours, estimate, measure,
                    ours / estimate, ours / measure);
    }
    std::printf("%8s %12s %12s %12s %10.2f %10.2f\n", "geomean", "", "", "",
                qtx::bench::geometric_mean(vs_estimate), qtx::bench::geometric_mean(vs_measure));
}

} // namespace

int main(int argc, char** argv) {
    // The direct kernel lengths, 7-smooth lengths of the stage sequence, and lengths with a
    // large prime factor (the chirp method).
    std::vector<int> lengths = {2,     3,     4,   5,    6,    7,    8,    9,    10,
                                12,    16,    32,  64,   128,  256,  30,   60,   120,
                                100,   360,   512, 1000, 1024, 2048, 4096, 5040, 8192,
                                10000, 16384, 17,  97,   101,  1009, 4099, 65537};
    if (argc > 1) {
        lengths.clear();
        for (int i = 1; i < argc; ++i)
            lengths.push_back(std::atoi(argv[i]));
    }
    run<single_precision>(lengths);
    run<double_precision>(lengths);
    return 0;
}
