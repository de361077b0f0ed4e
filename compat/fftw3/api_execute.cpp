// Execution on the planned arrays or on new ones, and destruction. A null plan does nothing;
// so does a new-array call of another family than the plan's, or with other placement.
#include "compat/fftw3/plan.hpp"

namespace fftw3 = qtx::QVSIP_FFTW3_NAMESPACE;
using fftw3::family;
using fftw3::im;
using fftw3::re;
using fftw3::real;

namespace {

// New arrays must be in place exactly when the planned ones were, as documented: the plan was
// chosen for that. A call breaking the rule does nothing rather than write through a plan
// made for the other case.
bool same_placement(const X(plan) p, const fftw3::arrays& data) {
    const fftw3::arrays& planned = p->problem.data;
    return (planned.in_re == planned.out_re) == (data.in_re == data.out_re);
}

void run_if(const X(plan) p, bool matches, const fftw3::arrays& data) {
    if (!p || !matches || !same_placement(p, data)) return;
    if (!p->exclusive) return fftw3::run(*p, data);
    const std::lock_guard<std::mutex> turn(p->running);
    fftw3::run(*p, data);
}

bool is(const X(plan) p, family kind, bool split) {
    if (!p || p->problem.kind != kind) return false;
    const bool planned_split = kind == family::r2c ? p->problem.split_out : p->problem.split_in;
    return planned_split == split;
}

} // namespace

extern "C" {

void X(execute)(const X(plan) p) {
    if (p) run_if(p, true, p->problem.data);
}
void X(execute_dft)(const X(plan) p, X(complex) * in, X(complex) * out) {
    run_if(p, is(p, family::dft, false), {re(in), im(in), re(out), im(out)});
}
void X(execute_split_dft)(const X(plan) p, real* ri, real* ii, real* ro, real* io) {
    run_if(p, is(p, family::dft, true), {ri, ii, ro, io});
}
void X(execute_dft_r2c)(const X(plan) p, real* in, X(complex) * out) {
    run_if(p, is(p, family::r2c, false), {in, nullptr, re(out), im(out)});
}
void X(execute_split_dft_r2c)(const X(plan) p, real* in, real* ro, real* io) {
    run_if(p, is(p, family::r2c, true), {in, nullptr, ro, io});
}
void X(execute_dft_c2r)(const X(plan) p, X(complex) * in, real* out) {
    run_if(p, is(p, family::c2r, false), {re(in), im(in), out, nullptr});
}
void X(execute_split_dft_c2r)(const X(plan) p, real* ri, real* ii, real* out) {
    run_if(p, is(p, family::c2r, true), {ri, ii, out, nullptr});
}
void X(execute_r2r)(const X(plan) p, real* in, real* out) {
    run_if(p, is(p, family::r2r, false), {in, nullptr, out, nullptr});
}
void X(destroy_plan)(X(plan) p) {
    fftw3::release(p);
}

} // extern "C"
