// The real-to-complex and complex-to-real solvers. An even length n = 2m reads the real
// sequence as m complex values, transforms them with the child and splits the result into the
// half spectrum (r2c), or merges the half spectrum into m complex values that the child
// transforms into the real sequence (c2r). Contiguous data needs no buffer: the child works
// between the caller's arrays and the pass runs in place. Other strides pack into the buffer
// first; odd lengths run as a full-length complex transform in the buffer.
#include "fft/solvers/r2c_1d.hpp"

#include <algorithm>

#include "fft/solvers/c2c_1d_large.hpp"
#include "fft/solvers/real_passes.hpp"
#include "fft/threads.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {
namespace {

// A pair loop longer than this many pairs per thread goes out in chunks of a multiple of
// pair_granule, so that chunk edges fall on whole vector steps.
constexpr uint64_t pair_granule = 16;

// The pass goes on the pool only when every thread gets at least this many bytes of pairs.
// Below that the pass's data sits in the caller's cache (the child just wrote it, or reads it
// next), and moving a share to another core costs more than the split saves.
constexpr uint64_t pass_bytes_per_thread = uint64_t{4} << 20;
// Each pair reads and writes two complex values.
constexpr uint64_t pass_pairs_per_thread = pass_bytes_per_thread / (2 * complex_bytes);

uint64_t length_of(const plan_record* plan) {
    return static_cast<uint64_t>(plan->dims[0].n);
}

const real* twiddles_of(const plan_record* plan) {
    return static_cast<const real*>(plan->table);
}

real* buffer_of(const plan_record* plan) {
    return static_cast<real*>(plan->buffer);
}

// Writes the split pass's results as the half spectrum X at a stride counted in complex values.
template <bool Unit> struct spectrum_sink {
    complex_span<Unit> X;
    uint64_t m;
    QTX_SIMD_INLINE void store(uint64_t k, real_pass::V low, real_pass::V high) {
        X.store(k, low);
        X.store_mirror(m - k, high);
    }
    QTX_SIMD_INLINE void store_one(uint64_t k, real_pass::V low, real_pass::V high) {
        X.store_one(k, low);
        X.store_one(m - k, high);
    }
    void end_points(real sum, real difference) {
        real* first = X.element(0);
        real* last = X.element(m);
        first[0] = sum, first[1] = 0;
        last[0] = difference, last[1] = 0;
    }
};

// The loop over pairs k = 1 … ⌊m/2⌋ of a contiguous pass: on the pool for plans that may use
// threads when every thread gets pass_pairs_per_thread pairs, else on the calling thread.
// Job::run(first, last) does the work.
template <class Job> void chunk_of(chunk_args* args) {
    const Job* job = static_cast<const Job*>(args->user_data);
    const uint64_t first = args->chunk_index * args->chunk_size + 1;
    const uint64_t last = std::min((args->chunk_index + 1) * args->chunk_size, job->m / 2);
    job->run(first, last);
}

template <class Job> void run_pairs(const plan_record* plan, Job& job) {
    const uint64_t pairs = job.m / 2;
    const uint64_t threads = std::min<uint64_t>(plan->thread_count, pairs / pass_pairs_per_thread);
    if (threads < 2) {
        job.run(1, pairs);
        return;
    }
    const uint64_t granule = pairs > pair_granule * threads ? pair_granule : 1;
    thread_pool_run(pairs, threads, granule, chunk_of<Job>, &job);
}

// The split pass in place on the output array.
struct split_job {
    real* X;
    const real* w;
    uint64_t m;
    void run(uint64_t first, uint64_t last) const {
        spectrum_sink<true> sink{{X, 1}, m};
        split_pass(X, w, m, first, last, sink);
    }
};

// The merge pass from the input array into the output array (possibly the same one).
struct merge_job {
    const real* X;
    real* Z;
    const real* w;
    uint64_t m;
    void run(uint64_t first, uint64_t last) const {
        merge_pass(complex_span<true>{const_cast<real*>(X), 1}, w, Z, m, first, last);
    }
};

// X[k] at a stride counted in complex values, as the odd paths read it.
struct strided_spectrum {
    const real* X;
    int64_t stride;
    complex_parts operator()(uint64_t k) const {
        const real* at = X + 2 * static_cast<int64_t>(k) * stride;
        return {at[0], at[1]};
    }
};

struct real_routines {
    named_routine unit, discrete, odd;
    int64_t child_sign;
};

constexpr real_routines r2c_routines{QTX_ROUTINE(execute_1d_r2c),
                                     QTX_ROUTINE(execute_1d_r2c_discrete),
                                     QTX_ROUTINE(execute_1d_r2c_odd), -1};
constexpr real_routines c2r_routines{QTX_ROUTINE(execute_1d_c2r),
                                     QTX_ROUTINE(execute_1d_c2r_discrete),
                                     QTX_ROUTINE(execute_1d_c2r_odd), +1};

uint32_t solve_real_1d(plan_record* p, uint32_t kind, const real_routines& r) {
    if (p->kind != kind || p->howmany_rank != 0 || p->rank != 1) return solve_declined;
    // The passes write interleaved complex values: split storage is not theirs to plan.
    if (p->dims[0].n < 1 || p->complex_layout == layout_split) return solve_declined;
    const uint64_t n = length_of(p);
    if (n % 2 == 1) {
        if (!attach_buffer(p, complex_array_bytes(n))) return solve_declined;
        set_execute(p, r.odd);
        return plan_complex_child(p, n, r.child_sign);
    }
    const uint64_t m = n / 2;
    if (!attach_table(p, complex_array_bytes(m))) return solve_declined;
    fill_half_twiddles(static_cast<real*>(p->table), m);
    if (p->dims[0].is == 1 && p->dims[0].os == 1) {
        set_execute(p, r.unit);
    } else {
        if (!attach_buffer(p, complex_array_bytes(m))) return solve_declined;
        set_execute(p, r.discrete);
    }
    return plan_complex_child(p, m, r.child_sign);
}

} // namespace

uint32_t plan_complex_child(plan_record* p, uint64_t length, int64_t sign) {
    return plan_children(p, 1, [&](plan_record& c, int) {
        c.kind = kind_c2c;
        c.sign = sign;
        c.dims[0] = {.n = static_cast<int64_t>(length), .is = 1, .os = 1};
        // Up to the two-pass threshold a complex transform runs on one thread.
        if (length <= large_length_threshold()) c.thread_count = 1;
    });
}

uint32_t solve_problem_r2c_1d(plan_record* p) {
    return solve_real_1d(p, kind_r2c, r2c_routines);
}

uint32_t solve_problem_c2r_1d(plan_record* p) {
    return solve_real_1d(p, kind_c2r, c2r_routines);
}

void execute_1d_r2c(const plan_record* plan, void* in, void* out) {
    execute_child(plan->children, in, out);
    split_job job{static_cast<real*>(out), twiddles_of(plan), length_of(plan) / 2};
    spectrum_sink<true> sink{{job.X, 1}, job.m};
    split_end_points(job.X, sink);
    run_pairs(plan, job);
}

void execute_1d_r2c_discrete(const plan_record* plan, void* in, void* out) {
    const uint64_t m = length_of(plan) / 2;
    real* Z = buffer_of(plan);
    pack_pairs(static_cast<const real*>(in), plan->dims[0].is, m, Z);
    execute_child(plan->children, Z, Z);
    spectrum_sink<false> sink{{static_cast<real*>(out), plan->dims[0].os}, m};
    split_end_points(Z, sink);
    split_pass(Z, twiddles_of(plan), m, 1, m / 2, sink);
}

void execute_1d_r2c_odd(const plan_record* plan, void* in, void* out) {
    const uint64_t n = length_of(plan);
    real* b = buffer_of(plan);
    pack_real(static_cast<const real*>(in), plan->dims[0].is, n, b);
    execute_child(plan->children, b, b);
    const complex_span<false> X{static_cast<real*>(out), plan->dims[0].os};
    for (uint64_t k = 0; 2 * k < n + 1; ++k)
        X.element(k)[0] = b[2 * k], X.element(k)[1] = b[2 * k + 1];
    // The sum of a real sequence is real; the chirp method of prime factors leaves rounding
    // noise in its imaginary part.
    X.element(0)[1] = 0;
}

void execute_1d_c2r(const plan_record* plan, void* in, void* out) {
    const uint64_t m = length_of(plan) / 2;
    merge_job job{static_cast<const real*>(in), static_cast<real*>(out), twiddles_of(plan), m};
    merge_end_point(job.X[0], job.X[2 * m], job.Z);
    run_pairs(plan, job);
    execute_child(plan->children, out, out);
}

void execute_1d_c2r_discrete(const plan_record* plan, void* in, void* out) {
    const uint64_t m = length_of(plan) / 2;
    real* Z = buffer_of(plan);
    const complex_span<false> X{static_cast<real*>(in), plan->dims[0].is};
    merge_end_point(X.element(0)[0], X.element(m)[0], Z);
    merge_pass(X, twiddles_of(plan), Z, m, 1, m / 2);
    execute_child(plan->children, Z, Z);
    unpack_pairs(Z, m, static_cast<real*>(out), plan->dims[0].os);
}

void execute_1d_c2r_odd(const plan_record* plan, void* in, void* out) {
    const uint64_t n = length_of(plan);
    real* b = buffer_of(plan);
    fill_hermitian(n, strided_spectrum{static_cast<const real*>(in), plan->dims[0].is}, b);
    execute_child(plan->children, b, b);
    real_parts(b, n, static_cast<real*>(out), plan->dims[0].os);
}

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
