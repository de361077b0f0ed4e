// Forward out-of-place one-dimensional complex transforms against FFTW in the same process:
// ns per transform for both engines, FFTW_ESTIMATE and FFTW_MEASURE, and their ratios.
//   bench_c2c_1d [n ...]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/engines.hpp"

namespace {

template <class Real> void run(const std::vector<int>& lengths) {
    using E = qtx::bench::engines<Real>;
    std::printf("\n%s precision, forward, out of place, 1 thread (ns per transform)\n", E::label);
    qtx::bench::ratio_table table({{"n", 8}}, qtx::bench::fftw_rivals);
    for (int n : lengths) {
        const qtx::bench::batch_layout single = {n, 1, 1, n};
        void* in = E::ours_malloc(static_cast<size_t>(n) * 2 * sizeof(Real));
        void* out = E::ours_malloc(static_cast<size_t>(n) * 2 * sizeof(Real));
        auto* values = static_cast<Real*>(in);
        for (int i = 0; i < 2 * n; ++i)
            values[i] = static_cast<Real>((i % 17) - 8);
        const double ours = qtx::bench::time_ours<Real>(single, in, out, 1);
        const double estimate = qtx::bench::time_fftw<Real>(single, in, out, 1, FFTW_ESTIMATE);
        const double measure = qtx::bench::time_fftw<Real>(single, in, out, 1, FFTW_MEASURE);
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
    std::vector<int> lengths = {2,     3,     4,   5,    6,    7,    8,    9,    10,
                                12,    16,    32,  64,   128,  256,  30,   60,   120,
                                100,   360,   512, 1000, 1024, 2048, 4096, 5040, 8192,
                                10000, 16384, 17,  97,   101,  1009, 4099, 65537};
    if (argc > 1) {
        lengths.clear();
        for (int i = 1; i < argc; ++i)
            lengths.push_back(std::atoi(argv[i]));
    }
    run<float>(lengths);
    run<double>(lengths);
    return 0;
}
