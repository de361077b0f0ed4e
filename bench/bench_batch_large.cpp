// Batches of transforms and long one-dimensional transforms against FFTW in the same process,
// with 1 and 2 threads (FFTW planned with the same thread count): ns per plan execution.
//   bench_batch_large [label part]
#include <cstdio>
#include <string>
#include <vector>

#include "bench/engines.hpp"

namespace {

using qtx::bench::batch_layout;

struct labelled_layout {
    const char* label;
    batch_layout layout;
};

std::vector<labelled_layout> layouts() {
    std::vector<labelled_layout> all = {
        {"1000 x 64 contiguous", {64, 1000, 1, 64}},
        {"1000 x 64 interleaved", {64, 1000, 1000, 1}},
        {"256 x 1024 contiguous", {1024, 256, 1, 1024}},
        {"256 x 1024 interleaved", {1024, 256, 256, 1}},
        {"1000 x 1024 contiguous", {1024, 1000, 1, 1024}},
        {"256 x 4096 contiguous", {4096, 256, 1, 4096}},
    };
    static const char* const long_labels[] = {"2^16", "2^17", "2^18", "2^19",
                                              "2^20", "2^21", "2^22"};
    for (int e = 16; e <= 22; ++e)
        all.push_back({long_labels[e - 16], {1 << e, 1, 1, 1 << e}});
    return all;
}

template <class Real> void run(const qtx::bench::case_filter& filter) {
    using E = qtx::bench::engines<Real>;
    std::printf("\n%s precision, forward, out of place (ns per execution)\n", E::label);
    qtx::bench::ratio_table table({{"layout", -24}, {"thr", 3}}, qtx::bench::fftw_rivals);
    for (const auto& [label, l] : layouts()) {
        if (!filter.selects(label)) continue;
        const size_t elements = static_cast<size_t>(l.n) * static_cast<size_t>(l.howmany);
        void* in = E::ours_malloc(elements * 2 * sizeof(Real));
        void* out = E::ours_malloc(elements * 2 * sizeof(Real));
        auto* values = static_cast<Real*>(in);
        for (size_t i = 0; i < 2 * elements; ++i)
            values[i] = static_cast<Real>(static_cast<int>(i % 17) - 8);
        for (int threads : {1, 2}) {
            const double ours = qtx::bench::time_ours<Real>(l, in, out, threads);
            const double estimate = qtx::bench::time_fftw<Real>(l, in, out, threads, FFTW_ESTIMATE);
            const double measure = qtx::bench::time_fftw<Real>(l, in, out, threads, FFTW_MEASURE);
            table.add({label, std::to_string(threads)}, ours, {estimate, measure});
        }
        E::ours_free(in);
        E::ours_free(out);
    }
    E::ours_threads(1);
}

} // namespace

int main(int argc, char** argv) {
    const qtx::bench::case_filter filter(argc, argv);
    fftwf_init_threads();
    fftw_init_threads();
    run<float>(filter);
    run<double>(filter);
    return 0;
}
