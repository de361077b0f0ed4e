// Timing helpers shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace qtx::bench {

// Median over `samples` runs of the time per call of f, in nanoseconds; each run repeats f
// often enough to last about `target_ms` so timer resolution does not matter.
template <class F> double median_ns_per_call(F&& f, int samples = 9, double target_ms = 2.0) {
    using clock = std::chrono::steady_clock;
    long reps = 1;
    for (;;) {
        const auto start = clock::now();
        for (long i = 0; i < reps; ++i)
            f();
        const double ms = std::chrono::duration<double, std::milli>(clock::now() - start).count();
        if (ms >= target_ms || reps > (1L << 30)) break;
        reps *= 2;
    }
    std::vector<double> times;
    for (int s = 0; s < samples; ++s) {
        const auto start = clock::now();
        for (long i = 0; i < reps; ++i)
            f();
        times.push_back(std::chrono::duration<double, std::nano>(clock::now() - start).count() /
                        static_cast<double>(reps));
    }
    std::nth_element(times.begin(), times.begin() + samples / 2, times.end());
    return times[samples / 2];
}

// Geometric mean of ratios.
inline double geometric_mean(const std::vector<double>& values) {
    double log_sum = 0;
    for (double v : values)
        log_sum += std::log(v);
    return values.empty() ? 0 : std::exp(log_sum / static_cast<double>(values.size()));
}

// One row per length of ns per transform for our engine and FFTW (ESTIMATE and MEASURE), their
// ratios, and the geometric means of the ratios at the end.
class ratio_table {
  public:
    ratio_table() {
        std::printf("%8s %12s %12s %12s %10s %10s\n", "n", "qtx", "estimate", "measure", "qtx/est",
                    "qtx/meas");
    }
    // ours = 0 means our engine did not plan the length.
    void add(int n, double ours, double estimate, double measure) {
        if (ours == 0) {
            std::printf("%8d %12s\n", n, "no plan");
            return;
        }
        vs_estimate_.push_back(ours / estimate);
        vs_measure_.push_back(ours / measure);
        std::printf("%8d %12.1f %12.1f %12.1f %10.2f %10.2f\n", n, ours, estimate, measure,
                    ours / estimate, ours / measure);
    }
    ~ratio_table() {
        std::printf("%8s %12s %12s %12s %10.2f %10.2f\n", "geomean", "", "", "",
                    geometric_mean(vs_estimate_), geometric_mean(vs_measure_));
    }

  private:
    std::vector<double> vs_estimate_, vs_measure_;
};

} // namespace qtx::bench
