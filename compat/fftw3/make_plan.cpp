// Planning: the documented refusals, then the engine on the caller's layout, then the
// buffered form for layouts the engine refuses.
#include <algorithm>
#include <new>

#include "compat/fftw3/plan.hpp"

namespace qtx::QVSIP_FFTW3_NAMESPACE {
namespace {

constexpr int redft00 = 3;
constexpr int last_kind = 10;

// What the interface refuses: negative ranks (checked by the callers), lengths below 1 in
// transformed dimensions, negative batch lengths, in-place complex or real-to-real problems
// whose input and output strides differ, unknown real-to-real kinds and the even type-1
// transform of length 1, which has no definition.
bool acceptable(const problem& p) {
    for (const dimension& d : p.dims)
        if (d.n < 1) return false;
    for (const dimension& d : p.howmany)
        if (d.n < 0) return false;
    // In place, complex and real-to-real transforms need the same layout on both sides.
    const bool same_kind_sides = p.kind == family::dft || p.kind == family::r2r;
    if (same_kind_sides && p.data.in_re == p.data.out_re) {
        for (const auto* list : {&p.dims, &p.howmany})
            for (const dimension& d : *list)
                if (d.is != d.os) return false;
    }
    if (p.kind == family::r2r) {
        if (p.r2r_kinds.size() != p.dims.size()) return false;
        for (std::size_t i = 0; i < p.dims.size(); ++i) {
            const int k = p.r2r_kinds[i];
            if (k < 0 || k > last_kind || (k == redft00 && p.dims[i].n == 1)) return false;
        }
    }
    return true;
}

// Length-1 dimensions that are the identity are dropped, which keeps more problems within the
// engine's limits of three transformed and three batch dimensions: batch ones always, and
// transformed ones of complex transforms, except the last real dimension of real-complex
// transforms, which sets the shape of the complex side. Real-to-real ones scale by 1, 2 or
// sqrt(2) depending on the kind and stay.
problem without_unit_dimensions(const problem& p) {
    problem q = p;
    std::erase_if(q.howmany, [](const dimension& d) { return d.n == 1; });
    if (p.kind == family::r2r) return q;
    q.dims.clear();
    for (std::size_t i = 0; i < p.dims.size(); ++i) {
        const bool last_real = p.kind != family::dft && i + 1 == p.dims.size();
        if (p.dims[i].n != 1 || last_real) q.dims.push_back(p.dims[i]);
    }
    return q;
}

using engine_dim = E(dim64);

std::vector<engine_dim> engine_dims(const std::vector<dimension>& dims) {
    std::vector<engine_dim> out;
    for (const dimension& d : dims)
        out.push_back({d.n, d.is, d.os});
    return out;
}

// The engine plan for the problem on the caller's arrays, or null where the engine refuses.
engine_plan plan_on_engine(const problem& p, unsigned flags) {
    if (p.dims.empty() || p.dims.size() > 3 || p.howmany.size() > 3) return nullptr;
    const auto dims = engine_dims(p.dims);
    const auto howmany = engine_dims(p.howmany);
    const int rank = static_cast<int>(dims.size());
    const int hrank = static_cast<int>(howmany.size());
    const arrays& a = p.data;
    switch (p.kind) {
    case family::dft:
        if (p.split_in)
            return E(plan_guru64_split_dft)(rank, dims.data(), hrank, howmany.data(), a.in_re,
                                            a.in_im, a.out_re, a.out_im, flags);
        return E(plan_guru64_dft)(rank, dims.data(), hrank, howmany.data(),
                                  reinterpret_cast<engine_complex*>(a.in_re),
                                  reinterpret_cast<engine_complex*>(a.out_re), p.sign, flags);
    case family::r2c:
        if (p.split_out)
            return E(plan_guru64_split_dft_r2c)(rank, dims.data(), hrank, howmany.data(), a.in_re,
                                                a.out_re, a.out_im, flags);
        return E(plan_guru64_dft_r2c)(rank, dims.data(), hrank, howmany.data(), a.in_re,
                                      reinterpret_cast<engine_complex*>(a.out_re), flags);
    case family::c2r:
        if (p.split_in)
            return E(plan_guru64_split_dft_c2r)(rank, dims.data(), hrank, howmany.data(), a.in_re,
                                                a.in_im, a.out_re, flags);
        return E(plan_guru64_dft_c2r)(rank, dims.data(), hrank, howmany.data(),
                                      reinterpret_cast<engine_complex*>(a.in_re), a.out_re, flags);
    case family::r2r:
        return E(plan_guru64_r2r)(rank, dims.data(), hrank, howmany.data(), a.in_re, a.out_re,
                                  p.r2r_kinds.data(), flags);
    }
    return nullptr;
}

} // namespace

X(plan) make_plan(problem p) {
    if (!acceptable(p)) return nullptr;
    auto* plan = new (std::nothrow) X(plan_s);
    if (!plan) return nullptr;
    try {
        plan->nthreads = current_nthreads();
        plan->problem = without_unit_dimensions(p);
        // The engine's new-array rule is the documented one, so its plan serves every
        // execution; flags are passed on and mean nothing to either planner.
        plan->direct = plan_on_engine(plan->problem, QTX_FFT_ESTIMATE);
        plan->exclusive = !plan->direct || !runs_concurrently(plan->direct);
        if (!plan->direct && !plan_buffered(*plan)) {
            release(plan);
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        release(plan);
        return nullptr;
    }
    return plan;
}

void release(X(plan_s) * plan) {
    if (!plan) return;
    E(destroy_plan)(plan->direct);
    for (engine_plan pass : plan->buffered.passes)
        E(destroy_plan)(pass);
    E(free)(plan->buffered.real_buffer);
    E(free)(plan->buffered.complex_buffer);
    delete plan;
}

} // namespace qtx::QVSIP_FFTW3_NAMESPACE
