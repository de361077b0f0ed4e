// The two-pass long transform. With the input read as x[p·Q + q], the first pass transforms
// each column q over p (length P, stride Q) and multiplies by the twiddle T(q, kp) =
// ω_n^(sign·q·kp) while writing the work buffer transposed, buffer[kp·Q + q]; the second pass
// transforms each buffer row kp over q (length Q) into out[kq·P + kp]. The twiddles are fused
// into the first pass's scatter, so the transform costs two passes over the data.
#include "fft/solvers/c2c_1d_large.hpp"

#include <cmath>

#include "fft/problem.hpp"
#include "fft/roots.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// 512 · 1024 would put 512-element strides into both passes; 256 · 2048 runs faster.
constexpr uint64_t special_length = 524288;
constexpr large_split special_split = {256, 2048};

// T(q, kp) at the position of element kp of transform q in the gathered batch buffer: rows
// in interleaved pairs in single precision (and a plain odd last row), plain rows in double.
void fill_large_twiddles(real* table, uint64_t P, uint64_t Q, uint64_t n, int64_t sign) {
    root_memo roots(static_cast<int64_t>(n), n);
    for (uint64_t q = 0; q < Q; ++q) {
        const bool paired = !is_double && q < Q - Q % 2;
        for (uint64_t kp = 0; kp < P; ++kp) {
            const uint64_t position = paired ? (q / 2) * 2 * P + 2 * kp + q % 2 : q * P + kp;
            roots.store(table + 2 * position, sign * static_cast<int64_t>(q * kp));
        }
    }
}

// The first pass: Q twiddled transforms of length P read at stride Q, on the borrowed table.
// It is planned for no particular arrays: it runs from the caller's input into the buffer.
void make_first_pass(const plan_record* p, plan_record& c, const large_split& s) {
    const auto P = static_cast<int64_t>(s.P), Q = static_cast<int64_t>(s.Q);
    c.kind = kind_large_first_pass;
    c.dims[0] = {.n = P, .is = Q, .os = Q};
    c.howmany_rank = 1;
    c.howmany_dims[0] = {.n = Q, .is = 1, .os = 1};
    c.in = c.out = nullptr;
    c.table = p->table;
    c.table_size = p->table_size;
}

// The second pass: P transforms of length Q, each a row of the buffer, into the output.
void make_second_pass(const plan_record* p, plan_record& c, const large_split& s) {
    const auto P = static_cast<int64_t>(s.P), Q = static_cast<int64_t>(s.Q);
    c.dims[0] = {.n = Q, .is = 1, .os = P};
    c.howmany_rank = 1;
    c.howmany_dims[0] = {.n = P, .is = Q, .os = 1};
    c.in = c.out = p->buffer;
}

} // namespace

large_split split_large_length(uint64_t n) {
    if (n == special_length) return special_split;
    uint64_t P = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (P > 1 && n % P != 0)
        --P;
    if (P == 0) P = 1;
    return {P, n / P};
}

// The same with threads: below it the two-pass plan's extra pass costs more than splitting its
// passes over threads saves (two threads made 8192 to 32768 points 1.4 to 5 times slower).
uint64_t large_length_threshold() {
    return is_double ? 16384 : 32768;
}

uint32_t solve_problem_c2c_1d_large(plan_record* p) {
    if (p->howmany_rank != 0 || p->rank != 1 || p->kind != kind_c2c) return solve_declined;
    if (p->dims[0].is != 1 || p->dims[0].os != 1) return solve_declined;
    const uint64_t n = static_cast<uint64_t>(p->dims[0].n);
    if (n <= large_length_threshold()) return solve_declined;
    const large_split s = split_large_length(n);
    if (s.P == 1) return solve_declined;
    uint64_t bytes = 0;
    if (__builtin_mul_overflow(n, complex_bytes, &bytes)) return solve_declined;
    // Buffer and table hold n values each: refuse before allocating and filling either.
    if (!memory_can_exist(2 * bytes)) return solve_declined;

    if (!attach_buffer(p, bytes) || !attach_table(p, bytes)) return solve_declined;
    fill_large_twiddles(static_cast<real*>(p->table), s.P, s.Q, n, p->sign);
    set_execute(p, QTX_ROUTINE(execute_c2c_1d_large));
    return plan_children(p, 2, [&](plan_record& c, int i) {
        if (i == 0)
            make_first_pass(p, c, s);
        else
            make_second_pass(p, c, s);
    });
}

void execute_c2c_1d_large(const plan_record* plan, void* in, void* out) {
    execute_child(&plan->children[0], in, plan->buffer);
    execute_child(&plan->children[1], plan->buffer, out);
}

} // namespace qtx::QTX_ENGINE
