// Execution: the engine plan on the given arrays, or gather, engine passes and scatter.
// Nothing here allocates.
#include "compat/fftw3/plan.hpp"

namespace qtx::QVSIP_FFTW3_NAMESPACE {
namespace {

// Visits every index of the lengths (last fastest) with the offset the strides give it, and
// its position in the dense buffer.
template <typename Visit>
void for_each_element(const std::vector<std::int64_t>& lengths,
                      const std::vector<std::int64_t>& strides, std::vector<std::int64_t>& counter,
                      Visit visit) {
    for (std::int64_t n : lengths)
        if (n == 0) return;
    std::fill(counter.begin(), counter.end(), 0);
    std::int64_t offset = 0, position = 0;
    const std::size_t rank = lengths.size();
    for (;;) {
        visit(offset, position++);
        std::size_t i = rank;
        for (; i-- > 0;) {
            offset += strides[i];
            if (++counter[i] < lengths[i]) break;
            offset -= strides[i] * lengths[i];
            counter[i] = 0;
        }
        if (i == static_cast<std::size_t>(-1)) return;
    }
}

void gather(const X(plan_s) & plan, const arrays& a) {
    auto& b = const_cast<buffered&>(plan.buffered);
    const family kind = plan.problem.kind;
    if (kind == family::dft || kind == family::c2r) {
        real* z = b.complex_buffer;
        for_each_element(b.in_lengths, b.in_strides, b.counter,
                         [&](std::int64_t o, std::int64_t k) {
                             z[2 * k] = a.in_re[o];
                             z[2 * k + 1] = a.in_im[o];
                         });
    } else {
        real* r = b.real_buffer;
        for_each_element(b.in_lengths, b.in_strides, b.counter,
                         [&](std::int64_t o, std::int64_t k) { r[k] = a.in_re[o]; });
    }
}

void scatter(const X(plan_s) & plan, const arrays& a) {
    auto& b = const_cast<buffered&>(plan.buffered);
    const family kind = plan.problem.kind;
    if (kind == family::dft || kind == family::r2c) {
        const real* z = b.complex_buffer;
        for_each_element(b.out_lengths, b.out_strides, b.counter,
                         [&](std::int64_t o, std::int64_t k) {
                             a.out_re[o] = z[2 * k];
                             a.out_im[o] = z[2 * k + 1];
                         });
    } else {
        const real* r = b.real_buffer;
        for_each_element(b.out_lengths, b.out_strides, b.counter,
                         [&](std::int64_t o, std::int64_t k) { a.out_re[o] = r[k]; });
    }
}

// Rank-0 real-complex problems convert between the buffers: imaginary parts are zero one way
// and dropped the other.
void convert_rank_zero(const X(plan_s) & plan) {
    const buffered& b = plan.buffered;
    std::int64_t count = 1;
    for (std::int64_t n : b.in_lengths)
        count *= n;
    if (plan.problem.kind == family::r2c)
        for (std::int64_t k = 0; k < count; ++k) {
            b.complex_buffer[2 * k] = b.real_buffer[k];
            b.complex_buffer[2 * k + 1] = 0;
        }
    else if (plan.problem.kind == family::c2r)
        for (std::int64_t k = 0; k < count; ++k)
            b.real_buffer[k] = b.complex_buffer[2 * k];
}

} // namespace

void run_buffered(const X(plan_s) & plan, const arrays& data) {
    if (!plan.buffered.real_buffer && !plan.buffered.complex_buffer) return; // empty batch
    gather(plan, data);
    if (plan.problem.dims.empty()) convert_rank_zero(plan);
    for (engine_plan pass : plan.buffered.passes)
        E(execute)(pass);
    scatter(plan, data);
}

void run(const X(plan_s) & plan, const arrays& a) {
    if (!plan.direct) return run_buffered(plan, a);
    const problem& p = plan.problem;
    switch (p.kind) {
    case family::dft:
        if (p.split_in)
            return E(execute_split_dft)(plan.direct, a.in_re, a.in_im, a.out_re, a.out_im);
        return E(execute_dft)(plan.direct, reinterpret_cast<engine_complex*>(a.in_re),
                              reinterpret_cast<engine_complex*>(a.out_re));
    case family::r2c:
        if (p.split_out) return E(execute_split_dft_r2c)(plan.direct, a.in_re, a.out_re, a.out_im);
        return E(execute_dft_r2c)(plan.direct, a.in_re,
                                  reinterpret_cast<engine_complex*>(a.out_re));
    case family::c2r:
        if (p.split_in) return E(execute_split_dft_c2r)(plan.direct, a.in_re, a.in_im, a.out_re);
        return E(execute_dft_c2r)(plan.direct, reinterpret_cast<engine_complex*>(a.in_re),
                                  a.out_re);
    case family::r2r:
        return E(execute_r2r)(plan.direct, a.in_re, a.out_re);
    }
}

} // namespace qtx::QVSIP_FFTW3_NAMESPACE
