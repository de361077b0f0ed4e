// Forward out-of-place one-dimensional complex transforms against FFTW in the same process:
// ns per transform for both engines, FFTW_ESTIMATE and FFTW_MEASURE, and their ratios.
//   bench_c2c_1d [--threads T] [n ...]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/engines.hpp"

namespace {

template <class Real> void run(const qtx::bench::fft_options& options) {
    using E = qtx::bench::engines<Real>;
    const int threads = options.threads;
    qtx::bench::ratio_table table({{"n", 8}}, qtx::bench::fftw_rivals,
                                  std::string(E::label) +
                                      " precision, c2c forward, out of place, " +
                                      options.thread_label() + " (ns per transform)");
    for (int n : options.lengths) {
        const qtx::bench::batch_layout single = {n, 1, 1, n};
        void* in = E::ours_malloc(static_cast<size_t>(n) * 2 * sizeof(Real));
        void* out = E::ours_malloc(static_cast<size_t>(n) * 2 * sizeof(Real));
        auto* values = static_cast<Real*>(in);
        for (int i = 0; i < 2 * n; ++i)
            values[i] = static_cast<Real>((i % 17) - 8);
        const double ours = qtx::bench::time_ours<Real>(single, in, out, threads);
        const double estimate =
            qtx::bench::time_fftw<Real>(single, in, out, threads, FFTW_ESTIMATE);
        const double measure = qtx::bench::time_fftw<Real>(single, in, out, threads, FFTW_MEASURE);
        E::ours_free(in);
        E::ours_free(out);
        table.add({std::to_string(n)}, ours, {estimate, measure});
    }
}

} // namespace

int main(int argc, char** argv) {
    fftwf_init_threads();
    fftw_init_threads();
    // The direct kernel lengths, 7-smooth lengths of the stage sequence, and lengths with a
    // large prime factor (the chirp method).
    const qtx::bench::fft_options options(
        argc, argv, {2,    3,    4,    5,     6,     7,   8,   9,   10,   12,   16,   32,
                     64,   128,  256,  30,    60,    120, 100, 360, 512,  1000, 1024, 2048,
                     4096, 5040, 8192, 10000, 16384, 17,  97,  101, 1009, 4099, 65537});
    run<float>(options);
    run<double>(options);
    return 0;
}
