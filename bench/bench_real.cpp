// Real-data transforms against FFTW in the same process: r2c, c2r, the cosine transform of
// type 2 (kind 5) and of type 3 (kind 4), out of place; ns per transform for both engines,
// FFTW_ESTIMATE and FFTW_MEASURE, and their ratios.
//   bench_real [--threads T] [--only r2c|c2r|cosine] [n ...]
#include <fftw3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/engines.hpp"
#include "qtx_fft.h"

namespace {

enum class transform { r2c, c2r, cosine_2, cosine_3 };

constexpr transform transforms[] = {transform::r2c, transform::c2r, transform::cosine_2,
                                    transform::cosine_3};
constexpr int cosine_2_kind = 5; // the same code in both libraries
constexpr int cosine_3_kind = 4;

const char* label_of(transform t) {
    switch (t) {
    case transform::r2c:
        return "r2c";
    case transform::c2r:
        return "c2r";
    case transform::cosine_2:
        return "cosine type 2 (kind 5)";
    default:
        return "cosine type 3 (kind 4)";
    }
}

// Input values that stay bounded under repetition (FFTW's c2r may overwrite its input, and
// FFTW_MEASURE planning overwrites both arrays).
template <class R> void fill(R* values, size_t count) {
    for (size_t i = 0; i < count; ++i)
        values[i] = static_cast<R>(static_cast<int>(i % 17) - 8) / 8;
}

// Our engine and FFTW for one precision; every plan runs on the arrays it was made with.
struct single_precision {
    using real = float;
    static constexpr const char* label = "single";
    static void* alloc(size_t bytes) { return qtx_fftf_malloc(bytes); }
    static void release(void* p) { qtx_fftf_free(p); }
    static void threads(int count) {
        qtx_fftf_plan_with_nthreads(count);
        fftwf_plan_with_nthreads(count);
    }
    static double ours(transform t, int n, real* in, real* out) {
        auto* spectrum_out = reinterpret_cast<qtx_fftf_complex*>(out);
        auto* spectrum_in = reinterpret_cast<qtx_fftf_complex*>(in);
        qtx_fftf_plan plan =
            t == transform::r2c ? qtx_fftf_plan_dft_r2c_1d(n, in, spectrum_out, 0)
            : t == transform::c2r
                ? qtx_fftf_plan_dft_c2r_1d(n, spectrum_in, out, 0)
                : qtx_fftf_plan_r2r_1d(n, in, out,
                                       t == transform::cosine_2 ? cosine_2_kind : cosine_3_kind, 0);
        if (!plan) return 0;
        const double ns = qtx::bench::median_ns_per_call([&] { qtx_fftf_execute(plan); });
        qtx_fftf_destroy_plan(plan);
        return ns;
    }
    static double fftw(transform t, int n, real* in, real* out, size_t reals, unsigned flags) {
        auto* spectrum_out = reinterpret_cast<fftwf_complex*>(out);
        auto* spectrum_in = reinterpret_cast<fftwf_complex*>(in);
        fftwf_plan plan =
            t == transform::r2c ? fftwf_plan_dft_r2c_1d(n, in, spectrum_out, flags)
            : t == transform::c2r
                ? fftwf_plan_dft_c2r_1d(n, spectrum_in, out, flags)
                : fftwf_plan_r2r_1d(n, in, out,
                                    t == transform::cosine_2 ? FFTW_REDFT10 : FFTW_REDFT01, flags);
        fill(in, reals);
        const double ns = qtx::bench::median_ns_per_call([&] { fftwf_execute(plan); });
        fftwf_destroy_plan(plan);
        return ns;
    }
};

struct double_precision {
    using real = double;
    static constexpr const char* label = "double";
    static void* alloc(size_t bytes) { return qtx_fft_malloc(bytes); }
    static void release(void* p) { qtx_fft_free(p); }
    static void threads(int count) {
        qtx_fft_plan_with_nthreads(count);
        fftw_plan_with_nthreads(count);
    }
    static double ours(transform t, int n, real* in, real* out) {
        auto* spectrum_out = reinterpret_cast<qtx_fft_complex*>(out);
        auto* spectrum_in = reinterpret_cast<qtx_fft_complex*>(in);
        qtx_fft_plan plan =
            t == transform::r2c ? qtx_fft_plan_dft_r2c_1d(n, in, spectrum_out, 0)
            : t == transform::c2r
                ? qtx_fft_plan_dft_c2r_1d(n, spectrum_in, out, 0)
                : qtx_fft_plan_r2r_1d(n, in, out,
                                      t == transform::cosine_2 ? cosine_2_kind : cosine_3_kind, 0);
        if (!plan) return 0;
        const double ns = qtx::bench::median_ns_per_call([&] { qtx_fft_execute(plan); });
        qtx_fft_destroy_plan(plan);
        return ns;
    }
    static double fftw(transform t, int n, real* in, real* out, size_t reals, unsigned flags) {
        auto* spectrum_out = reinterpret_cast<fftw_complex*>(out);
        auto* spectrum_in = reinterpret_cast<fftw_complex*>(in);
        fftw_plan plan =
            t == transform::r2c ? fftw_plan_dft_r2c_1d(n, in, spectrum_out, flags)
            : t == transform::c2r
                ? fftw_plan_dft_c2r_1d(n, spectrum_in, out, flags)
                : fftw_plan_r2r_1d(n, in, out,
                                   t == transform::cosine_2 ? FFTW_REDFT10 : FFTW_REDFT01, flags);
        fill(in, reals);
        const double ns = qtx::bench::median_ns_per_call([&] { fftw_execute(plan); });
        fftw_destroy_plan(plan);
        return ns;
    }
};

template <class P> void run(transform t, const qtx::bench::fft_options& options) {
    using R = typename P::real;
    P::threads(options.threads);
    qtx::bench::ratio_table table({{"n", 8}}, qtx::bench::fftw_rivals,
                                  std::string(P::label) + " precision, " + label_of(t) +
                                      ", out of place, " + options.thread_label() +
                                      " (ns per transform)");
    for (int n : options.lengths) {
        // Room for the half spectrum on either side.
        const size_t reals = 2 * (static_cast<size_t>(n) / 2 + 1);
        auto* in = static_cast<R*>(P::alloc(reals * sizeof(R)));
        auto* out = static_cast<R*>(P::alloc(reals * sizeof(R)));
        fill(in, reals);
        const double ours = P::ours(t, n, in, out);
        const double estimate = P::fftw(t, n, in, out, reals, FFTW_ESTIMATE);
        const double measure = P::fftw(t, n, in, out, reals, FFTW_MEASURE);
        P::release(in);
        P::release(out);
        table.add({std::to_string(n)}, ours, {estimate, measure});
    }
}

} // namespace

int main(int argc, char** argv) {
    fftwf_init_threads();
    fftw_init_threads();
    const qtx::bench::fft_options options(argc, argv, {64, 256, 1000, 1024, 4096, 16384, 65536});
    for (transform t : transforms) {
        if (!options.selects(label_of(t))) continue;
        run<single_precision>(t, options);
        run<double_precision>(t, options);
    }
    return 0;
}
