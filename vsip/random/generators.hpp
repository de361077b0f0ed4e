// The two uniform generators behind a random state, both giving 32-bit words.
//
// Portable: the difference, modulo 2^32, of two linear congruential generators,
//   x' = 1664525 x + 1013904223 and y' = 69069 y + 3 (mod 2^32),
// both started from the seed's low 32 bits. Sequence id of numseqs starts x (id - 1) jumps of
// floor(2^32 / numseqs) steps along its full-period cycle, so the sequences' x parts do not
// overlap before that many draws.
//
// Non-portable: xoshiro128** seeded through splitmix64 from the seed and the sequence id.
#pragma once

#include <cstdint>

namespace qvsip::random {

// x -> multiplier x + increment (mod 2^32), composable so that n steps cost log2(n) squarings.
struct affine_step {
    std::uint32_t multiplier, increment;

    std::uint32_t operator()(std::uint32_t x) const { return multiplier * x + increment; }
    // This step applied after `first`.
    affine_step after(affine_step first) const {
        return {multiplier * first.multiplier, multiplier * first.increment + increment};
    }
    affine_step power(std::uint64_t n) const {
        affine_step result{1, 0}, square = *this;
        for (; n != 0; n >>= 1, square = square.after(square))
            if (n & 1) result = square.after(result);
        return result;
    }
};

inline constexpr affine_step portable_x_step{1664525u, 1013904223u};
inline constexpr affine_step portable_y_step{69069u, 3u};

struct portable_generator {
    std::uint32_t x, y;

    portable_generator(std::uint64_t seed, std::uint64_t sequences, std::uint64_t id)
        : x(static_cast<std::uint32_t>(seed)), y(static_cast<std::uint32_t>(seed)) {
        const std::uint64_t spacing = (std::uint64_t{1} << 32) / sequences;
        x = portable_x_step.power(spacing * (id - 1))(x);
    }
    std::uint32_t next() {
        x = portable_x_step(x);
        y = portable_y_step(y);
        return x - y;
    }
};

inline std::uint64_t splitmix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

struct nonportable_generator {
    std::uint32_t s[4];

    nonportable_generator(std::uint64_t seed, std::uint64_t id) {
        std::uint64_t state = seed ^ (id * 0xd1b54a32d192ed03u);
        for (int k = 0; k < 4; k += 2) {
            const std::uint64_t word = splitmix64(state);
            s[k] = static_cast<std::uint32_t>(word);
            s[k + 1] = static_cast<std::uint32_t>(word >> 32);
        }
    }
    static std::uint32_t rotate(std::uint32_t x, int k) { return (x << k) | (x >> (32 - k)); }
    std::uint32_t next() {
        const std::uint32_t result = rotate(s[1] * 5, 7) * 9;
        const std::uint32_t t = s[1] << 9;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = rotate(s[3], 11);
        return result;
    }
};

// The top 23 bits of a word as the centre of one of 2^23 equal cells of (0, 1): every value
// is exact in float and lies in [2^-24, 1 - 2^-24].
inline float open_unit_interval(std::uint32_t word) {
    constexpr float cell = 1.0f / 8388608.0f; // 2^-23
    return (static_cast<float>(word >> 9) + 0.5f) * cell;
}

} // namespace qvsip::random
