// Timing helpers shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
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

} // namespace qtx::bench
