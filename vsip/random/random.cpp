// Random states and the vector fills drawing from them. Uniform values lie in (0, 1); normal
// values are the sum of 12 uniform values minus 6 (mean 0, variance 1), and each part of a
// complex normal value the sum of 6 minus 3 (variance 1/2 per part, 1 in all). Complex elements
// take their real part first. Fills run on the calling thread: the draws form one sequence.
#include "vsip/random/generators.hpp"
#include "vsip/support.hpp"

#include "qvsip.h"

#include <cstdint>
#include <new>

struct vsip_randstate_s {
    bool portable;
    qvsip::random::portable_generator portable_words;
    qvsip::random::nonportable_generator other_words;

    float uniform() {
        return qvsip::random::open_unit_interval(portable ? portable_words.next()
                                                          : other_words.next());
    }
    float sum_minus_mean(int terms) {
        float sum = 0.0f;
        for (int k = 0; k < terms; ++k)
            sum += uniform();
        return sum - 0.5f * static_cast<float>(terms);
    }
};

namespace qvsip::random {
namespace {

template <class Draw> void fill_real(const vsip_vview_f* r, Draw draw) {
    if (r == nullptr || r->block == nullptr || r->block->data == nullptr) return;
    const real_vector v = resolve(*r);
    for (vsip_length i = 0; i < v.length; ++i)
        v.start[static_cast<std::ptrdiff_t>(i) * v.stride] = draw();
}

template <class Draw> void fill_complex(const vsip_cvview_f* r, Draw draw) {
    if (r == nullptr || r->block == nullptr || r->block->real == nullptr ||
        r->block->imag == nullptr || r->block->real->data == nullptr ||
        r->block->imag->data == nullptr)
        return;
    const complex_vector v = resolve(*r);
    for (vsip_length i = 0; i < v.length; ++i) {
        const std::ptrdiff_t k = static_cast<std::ptrdiff_t>(i) * v.stride;
        v.re[k] = draw();
        v.im[k] = draw();
    }
}

} // namespace
} // namespace qvsip::random

using namespace qvsip::random;

// Null when id is not in [1, numseqs], numseqs exceeds 2^32 (the portable sequences could not
// be told apart), portable is not a generator kind, or memory runs out.
vsip_randstate* vsip_randcreate(vsip_index seed, vsip_index numseqs, vsip_index id,
                                vsip_rng portable) {
    constexpr vsip_index most_sequences = vsip_index{1} << 32;
    if (id == 0 || id > numseqs || numseqs > most_sequences ||
        (portable != VSIP_PRNG && portable != VSIP_NPRNG))
        return nullptr;
    return new (std::nothrow)
        vsip_randstate_s{portable == VSIP_PRNG, portable_generator(seed, numseqs, id),
                         nonportable_generator(seed, id)};
}

int vsip_randdestroy(vsip_randstate* state) {
    delete state;
    return 0;
}

void vsip_vrandu_f(vsip_randstate* state, const vsip_vview_f* r) {
    if (state == nullptr) return;
    fill_real(r, [&] { return state->uniform(); });
}

void vsip_vrandn_f(vsip_randstate* state, const vsip_vview_f* r) {
    if (state == nullptr) return;
    fill_real(r, [&] { return state->sum_minus_mean(12); });
}

void vsip_cvrandu_f(vsip_randstate* state, const vsip_cvview_f* r) {
    if (state == nullptr) return;
    fill_complex(r, [&] { return state->uniform(); });
}

void vsip_cvrandn_f(vsip_randstate* state, const vsip_cvview_f* r) {
    if (state == nullptr) return;
    fill_complex(r, [&] { return state->sum_minus_mean(6); });
}
