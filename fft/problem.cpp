#include "fft/problem.hpp"

#include <cstdlib>

#include "fft/threads.hpp"

namespace qtx::QTX_ENGINE {
namespace {

constexpr unsigned max_r2r_kind = 10;

plan_record* new_top_record(uint32_t kind, int64_t sign, int64_t layout, const arrays& a) {
    auto* p = static_cast<plan_record*>(engine_calloc(1, sizeof(plan_record)));
    if (p == nullptr) return nullptr;
    p->kind = kind;
    p->sign = sign;
    p->complex_layout = layout;
    p->in = a.in;
    p->in_imag = a.in_imag;
    p->out = a.out;
    p->out_imag = a.out_imag;
    p->thread_count = static_cast<uint64_t>(get_thread_count());
    return p;
}

// Largest element index one side of the problem reaches, or false when it overflows; the
// index times the element size must also stay addressable.
bool side_extent_fits(const plan_record& p, bool input, size_t element_bytes) {
    int64_t extent = 0;
    auto add_dims = [&](const dim_record* dims, int count) {
        for (int i = 0; i < count; ++i) {
            const int64_t stride = input ? dims[i].is : dims[i].os;
            int64_t reach = 0;
            if (__builtin_mul_overflow(dims[i].n - 1, stride, &reach) ||
                __builtin_add_overflow(extent, reach, &extent))
                return false;
        }
        return true;
    };
    if (!add_dims(p.dims, p.rank) || !add_dims(p.howmany_dims, p.howmany_rank)) return false;
    int64_t bytes = 0;
    return !__builtin_mul_overflow(extent + 1, static_cast<int64_t>(element_bytes), &bytes);
}

// RAM and swap in bytes; all of the address space when the system does not say.

} // namespace

// Refuses problems whose element count or array extents overflow 64-bit sizes (no solver
// could size its buffers or tables for them without wrapping), and lengths whose tables could
// never be allocated, at once rather than after each solver has tried.
bool problem_fits(const plan_record& p) {
    int64_t total = 1, longest = 0;
    for (int i = 0; i < p.rank; ++i) {
        if (__builtin_mul_overflow(total, p.dims[i].n, &total)) return false;
        longest = p.dims[i].n > longest ? p.dims[i].n : longest;
    }
    uint64_t table_bytes = 0;
    if (__builtin_mul_overflow(static_cast<uint64_t>(longest), uint64_t{complex_bytes},
                               &table_bytes) ||
        !memory_can_exist(table_bytes))
        return false;
    for (int i = 0; i < p.howmany_rank; ++i)
        if (__builtin_mul_overflow(total, p.howmany_dims[i].n, &total)) return false;
    // Real rows padded in place hold up to two more reals; leave room for that in the sizes.
    if (__builtin_mul_overflow(total, int64_t{4 * complex_bytes}, &total)) return false;
    size_t in_bytes = 0, out_bytes = 0;
    element_sizes(p.kind, &in_bytes, &out_bytes);
    return side_extent_fits(p, true, in_bytes) && side_extent_fits(p, false, out_bytes);
}

namespace {

bool valid_kinds(const int* kinds, int count) {
    if (kinds == nullptr) return false;
    for (int i = 0; i < count; ++i)
        if (static_cast<unsigned>(kinds[i]) > max_r2r_kind) return false;
    return true;
}

void store_kinds(plan_record* p, const int* kinds, int count) {
    for (int i = 0; i < count; ++i)
        p->r2r_kinds[i] = static_cast<uint32_t>(kinds[i]);
}

// ---- Advanced (many) interface -------------------------------------------------------------

// Number of complex values a real row of length n becomes in the half spectrum.
int64_t half_spectrum(int64_t n) {
    return n / 2 + 1;
}

// An embedding may not be smaller than the data it embeds: last_min along the last dimension,
// n[1] along the middle one of rank 3. embed[0] is never read.
bool embedding_fits(const int* embed, const many_layout& m, int64_t last_min) {
    if (embed == nullptr || m.rank < 2) return true;
    if (embed[m.rank - 1] < last_min) return false;
    return !(m.rank == 3 && embed[1] < m.n[1]);
}

bool valid_many(uint32_t kind, const many_layout& m) {
    if (m.n == nullptr || m.rank < 1 || m.rank > max_rank || m.howmany <= 0) return false;
    for (int i = 0; i < m.rank; ++i)
        if (m.n[i] <= 0) return false;
    const int64_t last = m.n[m.rank - 1];
    const int64_t in_min = kind == kind_c2r ? half_spectrum(last) : last;
    const int64_t out_min = kind == kind_r2c ? half_spectrum(last) : last;
    if (!embedding_fits(m.in_embed, m, in_min) || !embedding_fits(m.out_embed, m, out_min))
        return false;
    if (m.in_stride <= 0 || m.out_stride <= 0) return false;
    return m.howmany == 1 || (m.in_dist > 0 && m.out_dist > 0);
}

// Elements one row of dimension j occupies on one side. Only the last dimension of a real
// transform differs from n[j]: the half spectrum on the complex side, and on the real side a
// row padded to hold the half spectrum when the transform runs in place.
int64_t logical_length(uint32_t kind, const many_layout& m, int j, bool input, bool in_place) {
    const int64_t n = m.n[j];
    if (j != m.rank - 1 || (kind != kind_r2c && kind != kind_c2r)) return n;
    const bool complex_side = input == (kind == kind_c2r);
    if (complex_side) return half_spectrum(n);
    return in_place ? 2 * half_spectrum(n) : n;
}

bool fill_many_dims(plan_record* p, const many_layout& m) {
    const bool in_place = p->in == p->out;
    p->rank = m.rank;
    p->dims[m.rank - 1] = {m.n[m.rank - 1], m.in_stride, m.out_stride};
    for (int d = m.rank - 2; d >= 0; --d) {
        const int64_t il =
            m.in_embed ? m.in_embed[d + 1] : logical_length(p->kind, m, d + 1, true, in_place);
        const int64_t ol =
            m.out_embed ? m.out_embed[d + 1] : logical_length(p->kind, m, d + 1, false, in_place);
        dim_record& dim = p->dims[d];
        dim.n = m.n[d];
        if (__builtin_mul_overflow(p->dims[d + 1].is, il, &dim.is) ||
            __builtin_mul_overflow(p->dims[d + 1].os, ol, &dim.os))
            return false;
    }
    if (m.howmany > 1) {
        p->howmany_rank = 1;
        p->howmany_dims[0] = {m.howmany, m.in_dist, m.out_dist};
    }
    return true;
}

} // namespace

plan_record* describe_many(uint32_t kind, int64_t sign, const many_layout& m, void* in, void* out,
                           const int* kinds) {
    if (!valid_many(kind, m)) return nullptr;
    if (kind == kind_r2r && !valid_kinds(kinds, m.rank)) return nullptr;
    plan_record* p = new_top_record(kind, sign, layout_interleaved, {in, nullptr, out, nullptr});
    if (p == nullptr) return nullptr;
    if (!fill_many_dims(p, m)) {
        engine_free(p);
        return nullptr;
    }
    if (kind == kind_r2r) store_kinds(p, kinds, m.rank);
    return p;
}

namespace {

// ---- Guru interfaces -----------------------------------------------------------------------

template <class Dim> bool valid_guru_dim(const Dim& d) {
    return d.n >= 1 && d.in_stride >= 1 && d.out_stride >= 1;
}

template <class Dim> bool valid_guru_dims(const Dim* dims, int count) {
    for (int i = 0; i < count; ++i)
        if (!valid_guru_dim(dims[i])) return false;
    return true;
}

template <class Dim> void widen_dims(dim_record* dst, const Dim* src, int count) {
    for (int i = 0; i < count; ++i)
        dst[i] = {src[i].n, src[i].in_stride, src[i].out_stride};
}

template <class Dim>
plan_record* describe_guru_dims(const guru_family& f, int rank, const Dim* dims, int howmany_rank,
                                const Dim* howmany_dims, const arrays& a, const int* kinds) {
    const int min_rank = f.reduces_unit_rank ? 0 : 1;
    if (rank < min_rank || rank > max_rank || (rank > 0 && dims == nullptr)) return nullptr;
    if (f.reduces_unit_rank && rank == 1 && dims[0].n == 1 && (f.kind != kind_r2r || !kinds))
        rank = 0;
    if (f.kind == kind_r2r && rank > 0 && !valid_kinds(kinds, rank)) return nullptr;
    if (static_cast<unsigned>(howmany_rank) > max_rank) return nullptr;
    if (howmany_rank > 0 && howmany_dims == nullptr) return nullptr;
    if (!valid_guru_dims(dims, rank) || !valid_guru_dims(howmany_dims, howmany_rank))
        return nullptr;
    plan_record* p = new_top_record(f.kind, f.sign, f.layout, a);
    if (p == nullptr) return nullptr;
    p->rank = rank;
    widen_dims(p->dims, dims, rank);
    p->howmany_rank = howmany_rank;
    widen_dims(p->howmany_dims, howmany_dims, howmany_rank);
    if (f.kind == kind_r2r) store_kinds(p, kinds, rank);
    return p;
}

} // namespace

plan_record* describe_guru(const guru_family& f, int rank, const guru_dim* dims, int howmany_rank,
                           const guru_dim* howmany_dims, const arrays& a, const int* kinds) {
    return describe_guru_dims(f, rank, dims, howmany_rank, howmany_dims, a, kinds);
}

plan_record* describe_guru(const guru_family& f, int rank, const guru_dim64* dims, int howmany_rank,
                           const guru_dim64* howmany_dims, const arrays& a, const int* kinds) {
    return describe_guru_dims(f, rank, dims, howmany_rank, howmany_dims, a, kinds);
}

} // namespace qtx::QTX_ENGINE
