// What the FFTW 3 interface libraries cost over the engines they run on, in one process:
// execution of fftw(f)_execute through the interface against the engine's own execute on the
// same problem, and planning (plan and destroy) against FFTW's own library with
// FFTW_ESTIMATE. FFTW's library is loaded with dlopen, since the interface exports its names.
//   bench_fftw3_interface [n ...]
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/ratio_table.hpp"
#include "bench/timing.hpp"
#include "qtx_fft.h"
#include "qvsip/fftw3/fftw3.h"

namespace {

template <class Real> struct interface;

template <> struct interface<float> {
    static constexpr const char* label = "single";
    static constexpr const char* fftw_library = "libfftw3f.so.3";
    static constexpr const char* fftw_plan_name = "fftwf_plan_dft_1d";
    static constexpr const char* fftw_destroy_name = "fftwf_destroy_plan";
    using complex = fftwf_complex;
    using plan = fftwf_plan;
    static constexpr auto plan_dft_1d = fftwf_plan_dft_1d;
    static constexpr auto execute = fftwf_execute;
    static constexpr auto destroy = fftwf_destroy_plan;
    static constexpr auto alloc = fftwf_alloc_complex;
    static constexpr auto release = fftwf_free;
    using engine_complex = qtx_fftf_complex;
    static constexpr auto engine_plan_dft_1d = qtx_fftf_plan_dft_1d;
    static constexpr auto engine_execute = qtx_fftf_execute;
    static constexpr auto engine_destroy = qtx_fftf_destroy_plan;
};

template <> struct interface<double> {
    static constexpr const char* label = "double";
    static constexpr const char* fftw_library = "libfftw3.so.3";
    static constexpr const char* fftw_plan_name = "fftw_plan_dft_1d";
    static constexpr const char* fftw_destroy_name = "fftw_destroy_plan";
    using complex = fftw_complex;
    using plan = fftw_plan;
    static constexpr auto plan_dft_1d = fftw_plan_dft_1d;
    static constexpr auto execute = fftw_execute;
    static constexpr auto destroy = fftw_destroy_plan;
    static constexpr auto alloc = fftw_alloc_complex;
    static constexpr auto release = fftw_free;
    using engine_complex = qtx_fft_complex;
    static constexpr auto engine_plan_dft_1d = qtx_fft_plan_dft_1d;
    static constexpr auto engine_execute = qtx_fft_execute;
    static constexpr auto engine_destroy = qtx_fft_destroy_plan;
};

// The two are timed in alternation, `rounds` times, and each keeps its median: a change in
// the machine's load then hits both alike, which a ratio near 1 needs.
template <class A, class B> std::pair<double, double> alternate(A&& a, B&& b, int rounds = 7) {
    std::vector<double> ta, tb;
    for (int r = 0; r < rounds; ++r) {
        ta.push_back(qtx::bench::median_ns_per_call(a, 5, 1.0));
        tb.push_back(qtx::bench::median_ns_per_call(b, 5, 1.0));
    }
    std::nth_element(ta.begin(), ta.begin() + rounds / 2, ta.end());
    std::nth_element(tb.begin(), tb.begin() + rounds / 2, tb.end());
    return {ta[rounds / 2], tb[rounds / 2]};
}

template <class Real> void run(const std::vector<int>& lengths) {
    using I = interface<Real>;
    void* fftw = dlopen(I::fftw_library, RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND);
    if (!fftw) {
        std::fprintf(stderr, "%s\n", dlerror());
        std::exit(1);
    }
    using fftw_plan_1d = void* (*)(int, void*, void*, int, unsigned);
    using fftw_destroy = void (*)(void*);
    const auto fftw_plan = reinterpret_cast<fftw_plan_1d>(dlsym(fftw, I::fftw_plan_name));
    const auto fftw_free_plan = reinterpret_cast<fftw_destroy>(dlsym(fftw, I::fftw_destroy_name));

    const std::string title = std::string(I::label) + " precision, c2c forward, out of place, ";
    std::vector<std::pair<int, std::pair<double, double>>> planning;
    { // the execution table ends, with its geometric mean, before the planning table
        qtx::bench::ratio_table execution(
            {{"n", 8}}, {"engine"}, title + "execute through the interface (ns per transform)");
        for (int n : lengths) {
            typename I::complex* in = I::alloc(static_cast<size_t>(n));
            typename I::complex* out = I::alloc(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i) {
                in[i][0] = static_cast<Real>(i % 17 - 8);
                in[i][1] = static_cast<Real>(i % 5 - 2);
            }
            auto* ein = reinterpret_cast<typename I::engine_complex*>(in);
            auto* eout = reinterpret_cast<typename I::engine_complex*>(out);
            typename I::plan ours = I::plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_ESTIMATE);
            auto engine = I::engine_plan_dft_1d(n, ein, eout, -1, 0);
            const auto [through, direct] =
                alternate([&] { I::execute(ours); }, [&] { I::engine_execute(engine); });
            execution.add({std::to_string(n)}, through, {direct});
            I::destroy(ours);
            I::engine_destroy(engine);

            planning.push_back(
                {n,
                 alternate(
                     [&] { I::destroy(I::plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_ESTIMATE)); },
                     [&] { fftw_free_plan(fftw_plan(n, in, out, FFTW_FORWARD, FFTW_ESTIMATE)); },
                     3)});
            I::release(in);
            I::release(out);
        }
    }
    qtx::bench::ratio_table plans({{"n", 8}}, {"fftw est"},
                                  title + "plan and destroy (ns per plan)");
    for (const auto& [n, times] : planning)
        plans.add({std::to_string(n)}, times.first, {times.second});
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> lengths;
    for (int i = 1; i < argc; ++i)
        lengths.push_back(std::atoi(argv[i]));
    if (lengths.empty())
        for (int n = 64; n <= (1 << 20); n *= 4)
            lengths.push_back(n);
    run<float>(lengths);
    run<double>(lengths);
    return 0;
}
