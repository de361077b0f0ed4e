// Both engines and FFTW of the same precision behind one set of names, so a benchmark is
// written once as a template over the real type.
#pragma once

#include <fftw3.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "bench/ratio_table.hpp"
#include "bench/timing.hpp"
#include "qtx_fft.h"

namespace qtx::bench {

// FFTW planned with FFTW_ESTIMATE and with FFTW_MEASURE: the two rivals of every table.
inline constexpr const char* fftw_rivals[] = {"fftw est", "fftw meas"};

template <class Real> struct engines;

template <> struct engines<float> {
    static constexpr const char* label = "single";
    using ours_complex = qtx_fftf_complex;
    using fftw_complex_type = fftwf_complex;
    static constexpr auto ours_malloc = qtx_fftf_malloc;
    static constexpr auto ours_free = qtx_fftf_free;
    static constexpr auto ours_threads = qtx_fftf_plan_with_nthreads;
    static constexpr auto ours_plan_many = qtx_fftf_plan_many_dft;
    static constexpr auto ours_execute = qtx_fftf_execute_dft;
    static constexpr auto ours_plan_dft = qtx_fftf_plan_dft;
    static constexpr auto ours_plan_r2c = qtx_fftf_plan_dft_r2c;
    static constexpr auto ours_execute_r2c = qtx_fftf_execute_dft_r2c;
    static constexpr auto ours_destroy = qtx_fftf_destroy_plan;
    static constexpr auto fftw_threads = fftwf_plan_with_nthreads;
    static constexpr auto fftw_plan_many = fftwf_plan_many_dft;
    static constexpr auto fftw_execute = fftwf_execute_dft;
    static constexpr auto fftw_plan_dft = fftwf_plan_dft;
    static constexpr auto fftw_plan_r2c = fftwf_plan_dft_r2c;
    static constexpr auto fftw_execute_r2c = fftwf_execute_dft_r2c;
    static constexpr auto fftw_destroy = fftwf_destroy_plan;
};

template <> struct engines<double> {
    static constexpr const char* label = "double";
    using ours_complex = qtx_fft_complex;
    using fftw_complex_type = fftw_complex;
    static constexpr auto ours_malloc = qtx_fft_malloc;
    static constexpr auto ours_free = qtx_fft_free;
    static constexpr auto ours_threads = qtx_fft_plan_with_nthreads;
    static constexpr auto ours_plan_many = qtx_fft_plan_many_dft;
    static constexpr auto ours_execute = qtx_fft_execute_dft;
    static constexpr auto ours_plan_dft = qtx_fft_plan_dft;
    static constexpr auto ours_plan_r2c = qtx_fft_plan_dft_r2c;
    static constexpr auto ours_execute_r2c = qtx_fft_execute_dft_r2c;
    static constexpr auto ours_destroy = qtx_fft_destroy_plan;
    static constexpr auto fftw_threads = ::fftw_plan_with_nthreads;
    static constexpr auto fftw_plan_many = ::fftw_plan_many_dft;
    static constexpr auto fftw_execute = ::fftw_execute_dft;
    static constexpr auto fftw_plan_dft = ::fftw_plan_dft;
    static constexpr auto fftw_plan_r2c = ::fftw_plan_dft_r2c;
    static constexpr auto fftw_execute_r2c = ::fftw_execute_dft_r2c;
    static constexpr auto fftw_destroy = ::fftw_destroy_plan;
};

// The command line of the one-dimensional programs: [--threads T] [--only TEXT] [n ...].
// T threads for both engines (1 by default); only the transforms whose name contains TEXT;
// the lengths, the program's own list without any.
struct fft_options {
    int threads = 1;
    std::string only;
    std::vector<int> lengths;

    fft_options(int argc, char** argv, std::vector<int> default_lengths) {
        for (int i = 1; i < argc; ++i) {
            if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc)
                threads = std::max(1, std::atoi(argv[++i]));
            else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
                only = argv[++i];
            else
                lengths.push_back(std::atoi(argv[i]));
        }
        if (lengths.empty()) lengths = std::move(default_lengths);
    }
    bool selects(const char* transform) const { return std::strstr(transform, only.c_str()); }
    // "1 thread", "2 threads": the end of every table title.
    std::string thread_label() const {
        return std::to_string(threads) + (threads == 1 ? " thread" : " threads");
    }
};

// A batch of howmany transforms of length n: element stride and distance, the same on both
// sides; a single transform is a batch of one.
struct batch_layout {
    int n, howmany, stride, dist;
};

// ns per execution of our plan for the layout, or 0 when it does not plan.
template <class Real> double time_ours(const batch_layout& l, void* in, void* out, int threads) {
    using E = engines<Real>;
    E::ours_threads(threads);
    auto* i = static_cast<typename E::ours_complex*>(in);
    auto* o = static_cast<typename E::ours_complex*>(out);
    auto plan = E::ours_plan_many(1, &l.n, l.howmany, i, nullptr, l.stride, l.dist, o, nullptr,
                                  l.stride, l.dist, -1, 0);
    if (!plan) return 0;
    const double ns = median_ns_per_call([&] { E::ours_execute(plan, i, o); });
    E::ours_destroy(plan);
    return ns;
}

template <class Real>
double time_fftw(const batch_layout& l, void* in, void* out, int threads, unsigned flags) {
    using E = engines<Real>;
    E::fftw_threads(threads);
    auto* i = static_cast<typename E::fftw_complex_type*>(in);
    auto* o = static_cast<typename E::fftw_complex_type*>(out);
    auto plan = E::fftw_plan_many(1, &l.n, l.howmany, i, nullptr, l.stride, l.dist, o, nullptr,
                                  l.stride, l.dist, FFTW_FORWARD, flags);
    const double ns = median_ns_per_call([&] { E::fftw_execute(plan, i, o); });
    E::fftw_destroy(plan);
    return ns;
}

} // namespace qtx::bench
