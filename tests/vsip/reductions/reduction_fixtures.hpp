// Test helpers: the settings every path runs under, views over test-owned arrays and double
// precision references.
#pragma once

#include "vsip/common/fixture.hpp"
#include "vsip/reductions/reductions.hpp"

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace qvsip::test {

using reductions::reduction_setting;

// T = 1 and T = 3 under both processor profiles.
inline const std::vector<reduction_setting> all_settings = {{1, 1}, {1, 2}, {3, 1}, {3, 2}};

// Lengths around the unit sizes (4, 8, 16, 32) and a longer one with an odd tail.
inline const std::vector<std::uint64_t> test_lengths = {1,  3,  4,  7,  8,   15,
                                                        16, 17, 31, 33, 100, 4099};

// Scalar strides of real views: dense, forwards and backwards strided.
inline const std::vector<std::ptrdiff_t> strides = {1, 3, -2};

// Storage for length elements at a stride; element i is at start()[i * stride].
struct strided_reals {
    std::vector<float> storage;
    std::ptrdiff_t stride;
    std::uint64_t length;

    strided_reals(std::uint64_t n, std::ptrdiff_t s)
        : storage(n * static_cast<std::uint64_t>(std::abs(s)) + 1, sentinel), stride(s), length(n) {
    }
    float* start() { return storage.data() + (stride < 0 ? storage.size() - 1 : 0); }
    float& operator[](std::uint64_t i) { return start()[static_cast<std::ptrdiff_t>(i) * stride]; }
    real_vector view() { return {start(), stride, length}; }
};

// A complex vector's storage and its stride in elements.
struct complex_layout {
    const char* name;
    storage_kind storage;
    std::ptrdiff_t stride;
};
inline const std::vector<complex_layout> complex_layouts = {
    {"interleaved", storage_kind::interleaved, 1},
    {"interleaved-strided", storage_kind::interleaved, 3},
    {"split", storage_kind::split, 1}};

struct complex_data {
    std::vector<float> first, second; // interleaved pairs, or real and imaginary parts
    complex_vector vector;

    complex_data(const complex_data&) = delete;
    complex_data& operator=(const complex_data&) = delete;
    complex_data(std::uint64_t n, complex_layout layout) {
        if (layout.storage == storage_kind::split) {
            first.assign(n, 0);
            second.assign(n, 0);
            vector = {first.data(), second.data(), 1, 1, n};
        } else {
            const std::ptrdiff_t stride = 2 * layout.stride;
            first.assign(n * static_cast<std::uint64_t>(stride) + 2, sentinel);
            vector = {first.data(), first.data() + 1, stride, 2, n};
        }
    }
    float& re(std::uint64_t i) { return vector.re[static_cast<std::ptrdiff_t>(i) * vector.stride]; }
    float& im(std::uint64_t i) { return vector.im[static_cast<std::ptrdiff_t>(i) * vector.stride]; }
};

inline std::mt19937& generator() {
    static std::mt19937 g(20240611);
    return g;
}

inline float uniform(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(generator());
}

} // namespace qvsip::test
