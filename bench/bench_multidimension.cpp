// Multi-dimensional complex and real-to-complex transforms against FFTW in the same process,
// with 1 and 2 threads (FFTW planned with the same thread count): ns per execution.
//   bench_multidimension [label part]
#include <cstdio>
#include <string>
#include <vector>

#include "bench/engines.hpp"

namespace {

struct shape {
    const char* label;
    bool real_input;
    std::vector<int> n;
};

template <class Real> double time_ours(const shape& s, void* in, void* out, int threads) {
    using E = qtx::bench::engines<Real>;
    E::ours_threads(threads);
    const int rank = static_cast<int>(s.n.size());
    if (s.real_input) {
        auto plan = E::ours_plan_r2c(rank, s.n.data(), static_cast<Real*>(in),
                                     static_cast<typename E::ours_complex*>(out), 0);
        if (!plan) return 0;
        const double ns = qtx::bench::median_ns_per_call([&] {
            E::ours_execute_r2c(plan, static_cast<Real*>(in),
                                static_cast<typename E::ours_complex*>(out));
        });
        E::ours_destroy(plan);
        return ns;
    }
    auto* i = static_cast<typename E::ours_complex*>(in);
    auto* o = static_cast<typename E::ours_complex*>(out);
    auto plan = E::ours_plan_dft(rank, s.n.data(), i, o, -1, 0);
    if (!plan) return 0;
    const double ns = qtx::bench::median_ns_per_call([&] { E::ours_execute(plan, i, o); });
    E::ours_destroy(plan);
    return ns;
}

template <class Real>
double time_fftw(const shape& s, void* in, void* out, int threads, unsigned flags) {
    using E = qtx::bench::engines<Real>;
    E::fftw_threads(threads);
    const int rank = static_cast<int>(s.n.size());
    auto* o = static_cast<typename E::fftw_complex_type*>(out);
    if (s.real_input) {
        auto plan = E::fftw_plan_r2c(rank, s.n.data(), static_cast<Real*>(in), o, flags);
        const double ns = qtx::bench::median_ns_per_call(
            [&] { E::fftw_execute_r2c(plan, static_cast<Real*>(in), o); });
        E::fftw_destroy(plan);
        return ns;
    }
    auto* i = static_cast<typename E::fftw_complex_type*>(in);
    auto plan = E::fftw_plan_dft(rank, s.n.data(), i, o, FFTW_FORWARD, flags);
    const double ns = qtx::bench::median_ns_per_call([&] { E::fftw_execute(plan, i, o); });
    E::fftw_destroy(plan);
    return ns;
}

template <class Real> void run(const qtx::bench::case_filter& filter) {
    using E = qtx::bench::engines<Real>;
    const std::vector<shape> shapes = {{"c2c 256 x 256", false, {256, 256}},
                                       {"c2c 1024 x 1024", false, {1024, 1024}},
                                       {"c2c 64 x 64 x 64", false, {64, 64, 64}},
                                       {"r2c 512 x 512", true, {512, 512}},
                                       {"r2c 128 x 128 x 128", true, {128, 128, 128}}};
    std::printf("\n%s precision, forward, out of place (ns per execution)\n", E::label);
    qtx::bench::ratio_table table({{"shape", -22}, {"thr", 3}}, qtx::bench::fftw_rivals);
    for (const shape& s : shapes) {
        if (!filter.selects(s.label)) continue;
        size_t elements = 1;
        for (int n : s.n)
            elements *= static_cast<size_t>(n);
        void* in = E::ours_malloc(elements * 2 * sizeof(Real));
        void* out = E::ours_malloc(elements * 2 * sizeof(Real));
        auto* values = static_cast<Real*>(in);
        for (size_t i = 0; i < 2 * elements; ++i)
            values[i] = static_cast<Real>(static_cast<int>(i % 17) - 8);
        for (int threads : {1, 2}) {
            const double ours = time_ours<Real>(s, in, out, threads);
            const double estimate = time_fftw<Real>(s, in, out, threads, FFTW_ESTIMATE);
            const double measure = time_fftw<Real>(s, in, out, threads, FFTW_MEASURE);
            table.add({s.label, std::to_string(threads)}, ours, {estimate, measure});
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
