// Copies of a batch layout: nested strided copies over the batch slots and the contiguous
// block copy for layouts that are one dense block on both sides.
#include "fft/kernels/transpose.hpp"

#include "fft/kernels/transpose_units.hpp"

namespace qtx::QTX_ENGINE {

using namespace transpose_detail;

namespace {

// Reals per step of the block copy's main loop; its tail steps halve down to 4.
inline constexpr uint64_t largest_copy_step = 32;

// Slot 0 outermost; the last slot is one element run.
template <int64_t Reals>
void copy_slots(const dim_record* slots, int count, const real* s, real* d) {
    const dim_record& slot = slots[0];
    const int64_t ss = slot.is * Reals, ds = slot.os * Reals;
    if (count == 1) return copy_run<Reals>(s, ss, d, ds, slot.n);
    for (int64_t i = 0; i < slot.n; ++i)
        copy_slots<Reals>(slots + 1, count - 1, s + i * ss, d + i * ds);
}

template <int64_t Reals>
void copy_strided(const plan_record* plan, const void* source, void* destination) {
    if (plan->howmany_rank < 1 || plan->howmany_rank > max_rank) return;
    copy_slots<Reals>(plan->howmany_dims, plan->howmany_rank, static_cast<const real*>(source),
                      static_cast<real*>(destination));
}

// Steps of Step reals while they fit, each as Step / vector_reals vector moves; returns the
// reals copied so far.
template <uint64_t Step>
uint64_t copy_steps(const real* s, real* d, uint64_t done, uint64_t total) {
    static_assert(Step % vector_reals == 0);
    constexpr uint64_t vectors = Step / vector_reals;
    for (; done + Step <= total; done += Step) {
#pragma GCC unroll largest_copy_step
        for (uint64_t v = 0; v < vectors; ++v)
            simd::storeu(d + done + v * vector_reals, simd::loadu(s + done + v * vector_reals));
    }
    return done;
}

} // namespace

void copy_strided_cpx(const plan_record* plan, const void* source, void* destination) {
    copy_strided<complex_reals>(plan, source, destination);
}

void copy_strided_fp(const plan_record* plan, const void* source, void* destination) {
    copy_strided<1>(plan, source, destination);
}

void copy_block_fp(const void* source, void* destination, uint64_t A, uint64_t B) {
    uint64_t total = 0;
    if (__builtin_mul_overflow(A, B, &total)) return; // no array is that large
    const auto* s = static_cast<const real*>(source);
    auto* d = static_cast<real*>(destination);
    uint64_t done = copy_steps<largest_copy_step>(s, d, 0, total);
    done = copy_steps<largest_copy_step / 2>(s, d, done, total);
    done = copy_steps<largest_copy_step / 4>(s, d, done, total);
    done = copy_steps<largest_copy_step / 8>(s, d, done, total);
    for (; done < total; ++done)
        d[done] = s[done];
}

} // namespace qtx::QTX_ENGINE
