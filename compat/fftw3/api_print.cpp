// Plan descriptions and operation counts. A plan prints the problem as the caller gave it, then
// the engine's plan tree on the caller's arrays, or the buffered form with each pass's tree.
// The engines count no operations, so the counts are estimates.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "compat/fftw3/plan.hpp"

namespace fftw3 = qtx::QVSIP_FFTW3_NAMESPACE;

namespace {

const char* family_name(fftw3::family kind) {
    switch (kind) {
    case fftw3::family::dft:
        return "dft";
    case fftw3::family::r2c:
        return "rdft-r2c";
    case fftw3::family::c2r:
        return "rdft-c2r";
    case fftw3::family::r2r:
        return "r2r";
    }
    return "?";
}

void print_dims(FILE* out, const char* label, const std::vector<fftw3::dimension>& dims) {
    std::fprintf(out, "\n  (%s", label);
    for (const fftw3::dimension& d : dims)
        std::fprintf(out, " (%lld %lld %lld)", static_cast<long long>(d.n),
                     static_cast<long long>(d.is), static_cast<long long>(d.os));
    std::fprintf(out, ")");
}

// Total points of one transform times the batch.
double points(const fftw3::problem& p) {
    double n = 1;
    for (const auto& d : p.dims)
        n *= static_cast<double>(d.n);
    return n;
}
double batch(const fftw3::problem& p) {
    double h = 1;
    for (const auto& d : p.howmany)
        h *= static_cast<double>(d.n);
    return h;
}

} // namespace

extern "C" {

void X(fprint_plan)(const X(plan) p, FILE* out) {
    if (!p || !out) return;
    const fftw3::problem& q = p->problem;
    std::fprintf(out, "(qvsip-%s%s", family_name(q.kind),
                 q.kind == fftw3::family::dft ? (q.sign < 0 ? "-forward" : "-backward") : "");
    print_dims(out, "dims", q.dims);
    print_dims(out, "howmany", q.howmany);
    std::fprintf(out, "\n  (threads %d)\n", p->nthreads);
    if (p->direct) {
        fftw3::print_engine_tree(p->direct, 1, out);
    } else {
        std::fprintf(out, "  gather into a dense buffer, %zu engine passes, scatter\n",
                     p->buffered.passes.size());
        for (fftw3::engine_plan pass : p->buffered.passes)
            fftw3::print_engine_tree(pass, 2, out);
    }
    std::fprintf(out, ")");
}
void X(print_plan)(const X(plan) p) {
    X(fprint_plan)(p, stdout);
    std::fputc('\n', stdout);
}
// Released by the caller with free().
char* X(sprint_plan)(const X(plan) p) {
    if (!p) return nullptr;
    char* text = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&text, &size);
    if (!f) return nullptr;
    X(fprint_plan)(p, f);
    std::fclose(f);
    return text;
}

// Not the engine's count, which it does not expose: the conventional 5 N log2 N real
// operations of a complex transform of N points (half that for real data), per transform,
// split evenly into additions and multiplications, with no fused ones reported.
void X(flops)(const X(plan) p, double* add, double* mul, double* fmas) {
    double total = 0;
    if (p) {
        const double n = points(p->problem);
        total = n > 1 ? 5 * n * std::log2(n) * batch(p->problem) : 0;
        if (p->problem.kind != fftw3::family::dft) total /= 2;
    }
    if (add) *add = total / 2;
    if (mul) *mul = total / 2;
    if (fmas) *fmas = 0;
}
double X(estimate_cost)(const X(plan) p) {
    double add = 0, mul = 0, fmas = 0;
    X(flops)(p, &add, &mul, &fmas);
    return add + mul;
}
// Nothing is measured: the measured cost is unknown, reported as 0.
double X(cost)(const X(plan)) {
    return 0;
}

} // extern "C"
