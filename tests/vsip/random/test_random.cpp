// Random states: the portable sequence's words, reproducibility and independence of sequences,
// the distributions' moments, element order in strided and complex views, refused arguments.
#include "vsip/elementwise/views.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

using namespace ewtest;

struct state {
    vsip_randstate* s;
    state(vsip_index seed, vsip_index numseqs, vsip_index id, vsip_rng kind)
        : s(vsip_randcreate(seed, numseqs, id, kind)) {}
    ~state() { vsip_randdestroy(s); }
};

std::vector<float> draw(vsip_randstate* s, vsip_length n,
                        void (*fill)(vsip_randstate*, const vsip_vview_f*),
                        const vector_layout& layout = dense_layout) {
    test_real_vector v(layout, n);
    fill(s, v.view());
    std::vector<float> out(n);
    for (vsip_length i = 0; i < n; ++i)
        out[i] = v[i];
    return out;
}

// The portable words are the same on every machine: x' = 1664525 x + 1013904223 and
// y' = 69069 y + 3 (mod 2^32) from the seed, x - y, its top 23 bits centred in (0, 1).
TEST(Random, PortableSequenceFollowsItsRecurrence) {
    const state s(987654321, 1, 1, VSIP_PRNG);
    const std::vector<float> got = draw(s.s, 1000, vsip_vrandu_f);
    std::uint32_t x = 987654321u, y = 987654321u;
    for (float u : got) {
        x = 1664525u * x + 1013904223u;
        y = 69069u * y + 3u;
        ASSERT_EQ(u, (float((x - y) >> 9) + 0.5f) / 8388608.0f);
    }
}

TEST(Random, SequencesRepeatBySeedAndDifferBySeedAndId) {
    for (const vsip_rng kind : {VSIP_PRNG, VSIP_NPRNG}) {
        const state a(5, 3, 2, kind), b(5, 3, 2, kind), other_seed(6, 3, 2, kind),
            other_id(5, 3, 3, kind);
        const std::vector<float> first = draw(a.s, 64, vsip_vrandu_f);
        EXPECT_EQ(first, draw(b.s, 64, vsip_vrandu_f));
        EXPECT_NE(first, draw(other_seed.s, 64, vsip_vrandu_f));
        EXPECT_NE(first, draw(other_id.s, 64, vsip_vrandu_f));
    }
}

struct moments {
    double mean = 0, variance = 0;
    explicit moments(const std::vector<float>& v) {
        for (float x : v)
            mean += x;
        mean /= double(v.size());
        for (float x : v)
            variance += (x - mean) * (x - mean);
        variance /= double(v.size());
    }
};

TEST(Random, UniformAndNormalMoments) {
    constexpr vsip_length n = 200000; // the means' standard errors are below 0.0023
    for (const vsip_rng kind : {VSIP_PRNG, VSIP_NPRNG}) {
        const state s(1, 1, 1, kind);
        const std::vector<float> u = draw(s.s, n, vsip_vrandu_f);
        for (float x : u)
            ASSERT_TRUE(x > 0.0f && x < 1.0f) << x;
        const moments mu(u), mn(draw(s.s, n, vsip_vrandn_f));
        EXPECT_NEAR(mu.mean, 0.5, 0.005);
        EXPECT_NEAR(mu.variance, 1.0 / 12, 0.002);
        EXPECT_NEAR(mn.mean, 0.0, 0.012);
        EXPECT_NEAR(mn.variance, 1.0, 0.015);
        // Complex normal values: variance 1/2 in each part.
        test_complex_vector z(split_layout, n);
        vsip_cvrandn_f(s.s, z.view());
        std::vector<float> re(n), im(n);
        for (vsip_length i = 0; i < n; ++i) {
            re[i] = *z[i].re;
            im[i] = *z[i].im;
        }
        EXPECT_NEAR(moments(re).variance, 0.5, 0.01);
        EXPECT_NEAR(moments(im).variance, 0.5, 0.01);
    }
}

// The draws go to the elements in index order whatever the layout; complex elements take two
// consecutive draws, real part first.
TEST(Random, ElementOrderInEveryLayout) {
    for (const vsip_rng kind : {VSIP_PRNG, VSIP_NPRNG}) {
        const state reference(9, 1, 1, kind);
        const std::vector<float> words = draw(reference.s, 74, vsip_vrandu_f);
        for (const vector_layout& layout : {strided_layout, backwards_layout}) {
            const state s(9, 1, 1, kind);
            EXPECT_EQ(draw(s.s, 74, vsip_vrandu_f, layout), words) << layout.name;
        }
        for (const vector_layout& layout : {dense_layout, split_strided_layout}) {
            const state s(9, 1, 1, kind);
            test_complex_vector z(layout, 37);
            vsip_cvrandu_f(s.s, z.view());
            for (vsip_length i = 0; i < 37; ++i)
                ASSERT_TRUE(*z[i].re == words[2 * i] && *z[i].im == words[2 * i + 1])
                    << layout.name << i;
        }
    }
}

TEST(Random, RefusedArgumentsAndNullCalls) {
    EXPECT_EQ(vsip_randcreate(1, 3, 0, VSIP_PRNG), nullptr);
    EXPECT_EQ(vsip_randcreate(1, 3, 4, VSIP_PRNG), nullptr);
    EXPECT_EQ(vsip_randcreate(1, (vsip_index{1} << 32) + 1, 1, VSIP_PRNG), nullptr);
    EXPECT_EQ(vsip_randcreate(1, 1, 1, static_cast<vsip_rng>(7)), nullptr);
    EXPECT_EQ(vsip_randdestroy(nullptr), 0);
    test_real_vector v(dense_layout, 3);
    vsip_vrandu_f(nullptr, v.view());
    vsip_vrandn_f(nullptr, v.view());
    EXPECT_EQ(v[0], sentinel);
    const state s(1, 1, 1, VSIP_PRNG);
    vsip_vrandu_f(s.s, nullptr);
    vsip_cvrandn_f(s.s, nullptr);
    vsip_cvrandu_f(nullptr, nullptr);
}

} // namespace
