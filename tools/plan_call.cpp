#include "tools/plan_call.hpp"

#include <climits>

#include "fft/problem.hpp"
#include "tools/plan_engine.hpp"

// The exported name of a planner of this engine, as text.
#define QTX_PLAN_TEXT(name) #name
#define QTX_PLAN_EXPAND(name) QTX_PLAN_TEXT(name)
#define QTX_PLAN_NAME(name) QTX_PLAN_EXPAND(QTX_PUBLIC(name))

namespace qtx::QTX_ENGINE {
namespace {

constexpr size_t block_bytes = 64;

real* block() {
    return static_cast<real*>(QTX_PUBLIC(malloc)(block_bytes));
}

auto* as_complex(real* at) {
    return reinterpret_cast<complex_value*>(at);
}

// The guru family of each transform family, interleaved and split.
guru_family guru_family_of(const plan_request& r) {
    switch (r.family) {
    case transform_family::c2c:
        return r.split ? split_dft_family : guru_dft_family(r.sign, false);
    case transform_family::r2c:
        return r.split ? split_r2c_family : r2c_family;
    case transform_family::c2r:
        return r.split ? split_c2r_family : c2r_family;
    case transform_family::r2r:
        break;
    }
    return r2r_family(false);
}

guru_dim64 guru_dim_of(const layout_dim& d) {
    return {d.n, d.is, d.os};
}

struct guru_arguments {
    guru_dim64 dims[max_request_rank];
    guru_dim64 batch;
    int howmany_rank;
};

guru_arguments guru_arguments_of(const plan_request& r, const request_layout& layout) {
    guru_arguments g{};
    for (int d = 0; d < r.rank; ++d)
        g.dims[d] = guru_dim_of(layout.dims[d]);
    g.batch = guru_dim_of(layout.batch);
    g.howmany_rank = r.batched ? 1 : 0;
    return g;
}

struct many_arguments {
    int n[max_request_rank];
    many_layout m;
};

// Filled in place: m points at n.
void fill_many_arguments(const plan_request& r, const request_layout& layout, many_arguments* a) {
    for (int d = 0; d < r.rank; ++d)
        a->n[d] = static_cast<int>(r.n[d]);
    a->m = {r.rank,
            a->n,
            static_cast<int>(r.howmany),
            nullptr,
            static_cast<int>(r.in_stride),
            static_cast<int>(layout.batch.is),
            nullptr,
            static_cast<int>(r.out_stride),
            static_cast<int>(layout.batch.os)};
}

plan_handle call_many(const plan_request& r, const request_arrays& a,
                      const request_layout& layout) {
    // Packed distances beyond an int cannot be passed (the refusal explanation says so).
    if (r.howmany > 1 && (layout.batch.is > INT_MAX || layout.batch.os > INT_MAX)) return nullptr;
    many_arguments args;
    fill_many_arguments(r, layout, &args);
    const many_layout& m = args.m;
    switch (r.family) {
    case transform_family::c2c:
        return QTX_PUBLIC(plan_many_dft)(m.rank, m.n, m.howmany, as_complex(a.ri), nullptr,
                                         m.in_stride, m.in_dist, as_complex(a.ro), nullptr,
                                         m.out_stride, m.out_dist, r.sign, 0);
    case transform_family::r2c:
        return QTX_PUBLIC(plan_many_dft_r2c)(m.rank, m.n, m.howmany, a.ri, nullptr, m.in_stride,
                                             m.in_dist, as_complex(a.ro), nullptr, m.out_stride,
                                             m.out_dist, 0);
    case transform_family::c2r:
        return QTX_PUBLIC(plan_many_dft_c2r)(m.rank, m.n, m.howmany, as_complex(a.ri), nullptr,
                                             m.in_stride, m.in_dist, a.ro, nullptr, m.out_stride,
                                             m.out_dist, 0);
    case transform_family::r2r:
        break;
    }
    return QTX_PUBLIC(plan_many_r2r)(m.rank, m.n, m.howmany, a.ri, nullptr, m.in_stride, m.in_dist,
                                     a.ro, nullptr, m.out_stride, m.out_dist, r.kinds, 0);
}

plan_handle call_guru(const plan_request& r, const request_arrays& a,
                      const request_layout& layout) {
    const guru_arguments g = guru_arguments_of(r, layout);
    const int hr = g.howmany_rank;
    const guru_dim64* hd = &g.batch;
    switch (r.family) {
    case transform_family::c2c:
        if (r.split)
            return QTX_PUBLIC(plan_guru64_split_dft)(r.rank, g.dims, hr, hd, a.ri, a.ii, a.ro, a.io,
                                                     0);
        return QTX_PUBLIC(plan_guru64_dft)(r.rank, g.dims, hr, hd, as_complex(a.ri),
                                           as_complex(a.ro), r.sign, 0);
    case transform_family::r2c:
        if (r.split)
            return QTX_PUBLIC(plan_guru64_split_dft_r2c)(r.rank, g.dims, hr, hd, a.ri, a.ro, a.io,
                                                         0);
        return QTX_PUBLIC(plan_guru64_dft_r2c)(r.rank, g.dims, hr, hd, a.ri, as_complex(a.ro), 0);
    case transform_family::c2r:
        if (r.split)
            return QTX_PUBLIC(plan_guru64_split_dft_c2r)(r.rank, g.dims, hr, hd, a.ri, a.ii, a.ro,
                                                         0);
        return QTX_PUBLIC(plan_guru64_dft_c2r)(r.rank, g.dims, hr, hd, as_complex(a.ri), a.ro, 0);
    case transform_family::r2r:
        break;
    }
    return QTX_PUBLIC(plan_guru64_r2r)(r.rank, g.dims, hr, hd, a.ri, a.ro, r.kinds, 0);
}

uint32_t record_kind(transform_family family) {
    constexpr uint32_t kinds[] = {kind_c2c, kind_r2c, kind_c2r, kind_r2r};
    return kinds[static_cast<int>(family)];
}

} // namespace

request_arrays allocate_arrays(const plan_request& r) {
    request_arrays a{};
    const bool input_split = r.split && r.family != transform_family::r2c;
    const bool output_split = r.split && r.family != transform_family::c2r;
    a.ri = block();
    a.ii = input_split ? block() : nullptr;
    a.ro = r.in_place ? a.ri : block();
    a.io = !output_split ? nullptr : (r.in_place && a.ii ? a.ii : block());
    return a;
}

void free_arrays(const request_arrays& a) {
    QTX_PUBLIC(free)(a.ri);
    QTX_PUBLIC(free)(a.ii);
    if (a.ro != a.ri) QTX_PUBLIC(free)(a.ro);
    if (a.io != a.ii) QTX_PUBLIC(free)(a.io);
}

plan_handle call_planner(const plan_request& r, const request_arrays& a,
                         const request_layout& layout) {
    return r.many ? call_many(r, a, layout) : call_guru(r, a, layout);
}

plan_record* describe_request(const plan_request& r, const request_arrays& a,
                              const request_layout& layout) {
    if (r.many) {
        many_arguments args;
        fill_many_arguments(r, layout, &args);
        const int64_t sign = r.family == transform_family::c2r ? +1 : r.sign;
        return describe_many(record_kind(r.family), r.family == transform_family::r2r ? 0 : sign,
                             args.m, a.ri, a.ro, r.kinds);
    }
    const guru_arguments g = guru_arguments_of(r, layout);
    return describe_guru(guru_family_of(r), r.rank, g.dims, g.howmany_rank, &g.batch,
                         {a.ri, a.ii, a.ro, a.io}, r.kinds);
}

const char* planner_name(const plan_request& r) {
    // Indexed by family, then split.
    constexpr const char* guru[][2] = {
        {QTX_PLAN_NAME(plan_guru64_dft), QTX_PLAN_NAME(plan_guru64_split_dft)},
        {QTX_PLAN_NAME(plan_guru64_dft_r2c), QTX_PLAN_NAME(plan_guru64_split_dft_r2c)},
        {QTX_PLAN_NAME(plan_guru64_dft_c2r), QTX_PLAN_NAME(plan_guru64_split_dft_c2r)},
        {QTX_PLAN_NAME(plan_guru64_r2r), nullptr},
    };
    constexpr const char* many[] = {QTX_PLAN_NAME(plan_many_dft), QTX_PLAN_NAME(plan_many_dft_r2c),
                                    QTX_PLAN_NAME(plan_many_dft_c2r), QTX_PLAN_NAME(plan_many_r2r)};
    const int family = static_cast<int>(r.family);
    return r.many ? many[family] : guru[family][r.split ? 1 : 0];
}

} // namespace qtx::QTX_ENGINE
