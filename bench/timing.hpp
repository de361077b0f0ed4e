// Timing helpers shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstring>
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

// The optional first argument of a benchmark program: only the cases whose label contains it
// run, all of them without it.
class case_filter {
  public:
    case_filter(int argc, char** argv) : text_(argc > 1 ? argv[1] : "") {}
    bool selects(const char* label) const { return std::strstr(label, text_) != nullptr; }

  private:
    const char* text_;
};

} // namespace qtx::bench
