// A plan of the interface: the problem as the caller described it, and how it runs on the
// engine: either one engine plan on the caller's arrays, or the buffered form (gather into
// a dense buffer, engine passes on the buffer, scatter) for layouts the engine refuses.
#pragma once

#include <cstdio>
#include <mutex>
#include <vector>

#include "compat/fftw3/precision.hpp"

namespace qtx::QVSIP_FFTW3_NAMESPACE {

enum class family { dft, r2c, c2r, r2r };

// One dimension: length and the strides of input and output, in elements of each array's type.
struct dimension {
    std::int64_t n, is, os;
};

// Where the data lives. A complex array is a real part and an imaginary part with strides in
// reals: interleaved arrays have im = re + 1 and twice the element strides.
struct arrays {
    real* in_re;
    real* in_im;
    real* out_re;
    real* out_im;
};

// The real and imaginary parts of an interleaved complex array (null for a null array).
inline real* re(complex* z) {
    return reinterpret_cast<real*>(z);
}
inline real* im(complex* z) {
    return z ? reinterpret_cast<real*>(z) + 1 : nullptr;
}

struct problem {
    family kind;
    std::vector<dimension> dims;    // transformed, outermost first
    std::vector<dimension> howmany; // batch
    std::vector<int> r2r_kinds;     // one per transformed dimension
    int sign;                       // dft only
    bool split_in, split_out;       // complex sides given as separate real and imaginary arrays
    arrays data;
};

// The buffered form: dense buffers and the engine passes that transform them in place.
struct buffered {
    std::vector<std::int64_t> in_lengths, in_strides;   // gather order: batch, then transform
    std::vector<std::int64_t> out_lengths, out_strides; // strides in reals
    std::vector<std::int64_t> counter;                  // odometer, reused by every execution
    real* real_buffer = nullptr;
    real* complex_buffer = nullptr; // interleaved
    std::vector<engine_plan> passes;
};

} // namespace qtx::QVSIP_FFTW3_NAMESPACE

struct X(plan_s) {
    qtx::QVSIP_FFTW3_NAMESPACE::problem problem;
    qtx::QVSIP_FFTW3_NAMESPACE::engine_plan direct = nullptr; // the engine plan, or null
    qtx::QVSIP_FFTW3_NAMESPACE::buffered buffered;            // used when direct is null
    int nthreads = 1;
    // The interface lets several threads execute one plan at once (on different arrays). An
    // engine plan without work buffers allows that; the buffered form and an engine plan
    // with buffers serve one execution at a time, so their executions take turns.
    bool exclusive = true;
    mutable std::mutex running;
};

namespace qtx::QVSIP_FFTW3_NAMESPACE {

// Validates the problem as the documented interface does and plans it; null when the
// interface refuses it or memory runs out.
X(plan) make_plan(problem p);
// Whether executions of the engine plan may overlap: false when it writes work buffers.
bool runs_concurrently(engine_plan plan);
// The engine's plan tree, a node per line indented from depth, as qtx-plan prints it less the
// solver names and radices.
void print_engine_tree(engine_plan plan, int depth, std::FILE* out);
// Builds the buffered form; false when it cannot be planned.
bool plan_buffered(X(plan_s) & plan);
// Runs the plan on the given arrays (the planned ones or new ones of the same layout).
void run(const X(plan_s) & plan, const arrays& data);
void run_buffered(const X(plan_s) & plan, const arrays& data);
void release(X(plan_s) * plan);

// The thread count plans made now record.
int current_nthreads();

} // namespace qtx::QVSIP_FFTW3_NAMESPACE
