// Public planners: describe the problem in one top-level plan record and hand it to the
// planner; every failure gives a null plan and leaves nothing allocated. Every planner takes a
// flags argument (unnamed below) and accepts and ignores every flag: planning never measures,
// so no flag can change which plan is made.
#include "fft/problem.hpp"

namespace qtx::QTX_ENGINE {
namespace {

plan_handle finish(plan_record* p) {
    if (problem_fits(*p) && plan_problem(p) == 0) return handle_of(p);
    destroy_plan_record(p);
    return nullptr;
}

plan_handle plan_many(uint32_t kind, int64_t sign, const many_layout& m, void* in, void* out,
                      const int* kinds = nullptr) {
    plan_record* p = describe_many(kind, sign, m, in, out, kinds);
    return p ? finish(p) : nullptr;
}

template <class Dim>
plan_handle plan_guru(const guru_family& f, int rank, const Dim* dims, int howmany_rank,
                      const Dim* howmany_dims, const arrays& a, const int* kinds = nullptr) {
    plan_record* p = describe_guru(f, rank, dims, howmany_rank, howmany_dims, a, kinds);
    return p ? finish(p) : nullptr;
}

bool valid_sign(int sign) {
    return sign == -1 || sign == 1;
}

// The basic interfaces: no embeddings, unit strides, the given distance.
many_layout basic_layout(int rank, const int* n, int dist) {
    return {rank, n, 1, nullptr, 1, dist, nullptr, 1, dist};
}

// The 1d, 2d and 3d forms pass their lengths as an array with distance 1; the rank-and-array
// forms with distance 0 (never read for a single transform).
constexpr int sized_form_dist = 1;
constexpr int rank_form_dist = 0;

plan_handle plan_basic(uint32_t kind, int64_t sign, int rank, const int* n, int dist, void* in,
                       void* out, const int* kinds = nullptr) {
    return plan_many(kind, sign, basic_layout(rank, n, dist), in, out, kinds);
}

plan_handle plan_basic_dft(int rank, const int* n, int dist, void* in, void* out, int sign) {
    if (!valid_sign(sign)) return nullptr;
    return plan_basic(kind_c2c, sign, rank, n, dist, in, out);
}

} // namespace
} // namespace qtx::QTX_ENGINE

using namespace qtx::QTX_ENGINE;

// ---- Complex --------------------------------------------------------------------------------

plan_handle QTX_PUBLIC(plan_dft_1d)(int n, complex_value* in, complex_value* out, int sign,
                                    unsigned) {
    const int lengths[] = {n};
    return plan_basic_dft(1, lengths, sized_form_dist, in, out, sign);
}

plan_handle QTX_PUBLIC(plan_dft_2d)(int len0, int len1, complex_value* in, complex_value* out,
                                    int sign, unsigned) {
    const int lengths[] = {len0, len1};
    return plan_basic_dft(2, lengths, sized_form_dist, in, out, sign);
}

plan_handle QTX_PUBLIC(plan_dft_3d)(int len0, int len1, int len2, complex_value* in,
                                    complex_value* out, int sign, unsigned) {
    const int lengths[] = {len0, len1, len2};
    return plan_basic_dft(3, lengths, sized_form_dist, in, out, sign);
}

plan_handle QTX_PUBLIC(plan_dft)(int rank, const int* n, complex_value* in, complex_value* out,
                                 int sign, unsigned) {
    return plan_basic_dft(rank, n, rank_form_dist, in, out, sign);
}

plan_handle QTX_PUBLIC(plan_many_dft)(int rank, const int* n, int howmany, complex_value* in,
                                      const int* in_embed, int in_stride, int in_dist,
                                      complex_value* out, const int* out_embed, int out_stride,
                                      int out_dist, int sign, unsigned) {
    if (!valid_sign(sign)) return nullptr;
    const many_layout m{rank,    n,         howmany,    in_embed, in_stride,
                        in_dist, out_embed, out_stride, out_dist};
    return plan_many(kind_c2c, sign, m, in, out);
}

// ---- Real to complex ------------------------------------------------------------------------

plan_handle QTX_PUBLIC(plan_dft_r2c_1d)(int n, real* in, complex_value* out, unsigned) {
    const int lengths[] = {n};
    return plan_basic(kind_r2c, -1, 1, lengths, sized_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_dft_r2c_2d)(int len0, int len1, real* in, complex_value* out,
                                        unsigned) {
    const int lengths[] = {len0, len1};
    return plan_basic(kind_r2c, -1, 2, lengths, sized_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_dft_r2c_3d)(int len0, int len1, int len2, real* in, complex_value* out,
                                        unsigned) {
    const int lengths[] = {len0, len1, len2};
    return plan_basic(kind_r2c, -1, 3, lengths, sized_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_dft_r2c)(int rank, const int* n, real* in, complex_value* out,
                                     unsigned) {
    return plan_basic(kind_r2c, -1, rank, n, rank_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_many_dft_r2c)(int rank, const int* n, int howmany, real* in,
                                          const int* in_embed, int in_stride, int in_dist,
                                          complex_value* out, const int* out_embed, int out_stride,
                                          int out_dist, unsigned) {
    const many_layout m{rank,    n,         howmany,    in_embed, in_stride,
                        in_dist, out_embed, out_stride, out_dist};
    return plan_many(kind_r2c, -1, m, in, out);
}

// ---- Complex to real ------------------------------------------------------------------------

plan_handle QTX_PUBLIC(plan_dft_c2r_1d)(int n, complex_value* in, real* out, unsigned) {
    const int lengths[] = {n};
    return plan_basic(kind_c2r, +1, 1, lengths, sized_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_dft_c2r_2d)(int len0, int len1, complex_value* in, real* out,
                                        unsigned) {
    const int lengths[] = {len0, len1};
    return plan_basic(kind_c2r, +1, 2, lengths, sized_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_dft_c2r_3d)(int len0, int len1, int len2, complex_value* in, real* out,
                                        unsigned) {
    const int lengths[] = {len0, len1, len2};
    return plan_basic(kind_c2r, +1, 3, lengths, sized_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_dft_c2r)(int rank, const int* n, complex_value* in, real* out,
                                     unsigned) {
    return plan_basic(kind_c2r, +1, rank, n, rank_form_dist, in, out);
}

plan_handle QTX_PUBLIC(plan_many_dft_c2r)(int rank, const int* n, int howmany, complex_value* in,
                                          const int* in_embed, int in_stride, int in_dist,
                                          real* out, const int* out_embed, int out_stride,
                                          int out_dist, unsigned) {
    const many_layout m{rank,    n,         howmany,    in_embed, in_stride,
                        in_dist, out_embed, out_stride, out_dist};
    return plan_many(kind_c2r, +1, m, in, out);
}

// ---- Real to real ---------------------------------------------------------------------------

plan_handle QTX_PUBLIC(plan_r2r_1d)(int n, real* in, real* out, int kind, unsigned) {
    const int lengths[] = {n};
    const int kinds[] = {kind};
    return plan_basic(kind_r2r, 0, 1, lengths, sized_form_dist, in, out, kinds);
}

plan_handle QTX_PUBLIC(plan_r2r_2d)(int len0, int len1, real* in, real* out, int kind0, int kind1,
                                    unsigned) {
    const int lengths[] = {len0, len1};
    const int kinds[] = {kind0, kind1};
    return plan_basic(kind_r2r, 0, 2, lengths, sized_form_dist, in, out, kinds);
}

plan_handle QTX_PUBLIC(plan_r2r_3d)(int len0, int len1, int len2, real* in, real* out, int kind0,
                                    int kind1, int kind2, unsigned) {
    const int lengths[] = {len0, len1, len2};
    const int kinds[] = {kind0, kind1, kind2};
    return plan_basic(kind_r2r, 0, 3, lengths, sized_form_dist, in, out, kinds);
}

plan_handle QTX_PUBLIC(plan_r2r)(int rank, const int* n, real* in, real* out, const int* kinds,
                                 unsigned) {
    return plan_basic(kind_r2r, 0, rank, n, rank_form_dist, in, out, kinds);
}

plan_handle QTX_PUBLIC(plan_many_r2r)(int rank, const int* n, int howmany, real* in,
                                      const int* in_embed, int in_stride, int in_dist, real* out,
                                      const int* out_embed, int out_stride, int out_dist,
                                      const int* kinds, unsigned) {
    const many_layout m{rank,    n,         howmany,    in_embed, in_stride,
                        in_dist, out_embed, out_stride, out_dist};
    return plan_many(kind_r2r, 0, m, in, out, kinds);
}

// ---- Guru -----------------------------------------------------------------------------------

// The guru complex planners store the sign as given, unlike the basic and many ones: the guru
// interface leaves the sign to its caller, and a plan made with a sign other than -1 or +1
// computes nothing defined.

plan_handle QTX_PUBLIC(plan_guru_dft)(int rank, const guru_dim* dims, int howmany_rank,
                                      const guru_dim* howmany_dims, complex_value* in,
                                      complex_value* out, int sign, unsigned) {
    return plan_guru(guru_dft_family(sign, true), rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru_split_dft)(int rank, const guru_dim* dims, int howmany_rank,
                                            const guru_dim* howmany_dims, real* ri, real* ii,
                                            real* ro, real* io, unsigned) {
    return plan_guru(split_dft_family, rank, dims, howmany_rank, howmany_dims, {ri, ii, ro, io});
}

plan_handle QTX_PUBLIC(plan_guru_dft_r2c)(int rank, const guru_dim* dims, int howmany_rank,
                                          const guru_dim* howmany_dims, real* in,
                                          complex_value* out, unsigned) {
    return plan_guru(r2c_family, rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru_split_dft_r2c)(int rank, const guru_dim* dims, int howmany_rank,
                                                const guru_dim* howmany_dims, real* in, real* ro,
                                                real* io, unsigned) {
    return plan_guru(split_r2c_family, rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, ro, io});
}

plan_handle QTX_PUBLIC(plan_guru_dft_c2r)(int rank, const guru_dim* dims, int howmany_rank,
                                          const guru_dim* howmany_dims, complex_value* in,
                                          real* out, unsigned) {
    return plan_guru(c2r_family, rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru_split_dft_c2r)(int rank, const guru_dim* dims, int howmany_rank,
                                                const guru_dim* howmany_dims, real* ri, real* ii,
                                                real* out, unsigned) {
    return plan_guru(split_c2r_family, rank, dims, howmany_rank, howmany_dims,
                     {ri, ii, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru_r2r)(int rank, const guru_dim* dims, int howmany_rank,
                                      const guru_dim* howmany_dims, real* in, real* out,
                                      const int* kinds, unsigned) {
    return plan_guru(r2r_family(true), rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr}, kinds);
}

plan_handle QTX_PUBLIC(plan_guru64_dft)(int rank, const guru_dim64* dims, int howmany_rank,
                                        const guru_dim64* howmany_dims, complex_value* in,
                                        complex_value* out, int sign, unsigned) {
    return plan_guru(guru_dft_family(sign, false), rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru64_split_dft)(int rank, const guru_dim64* dims, int howmany_rank,
                                              const guru_dim64* howmany_dims, real* ri, real* ii,
                                              real* ro, real* io, unsigned) {
    return plan_guru(split_dft_family, rank, dims, howmany_rank, howmany_dims, {ri, ii, ro, io});
}

plan_handle QTX_PUBLIC(plan_guru64_dft_r2c)(int rank, const guru_dim64* dims, int howmany_rank,
                                            const guru_dim64* howmany_dims, real* in,
                                            complex_value* out, unsigned) {
    return plan_guru(r2c_family, rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru64_split_dft_r2c)(int rank, const guru_dim64* dims,
                                                  int howmany_rank, const guru_dim64* howmany_dims,
                                                  real* in, real* ro, real* io, unsigned) {
    return plan_guru(split_r2c_family, rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, ro, io});
}

plan_handle QTX_PUBLIC(plan_guru64_dft_c2r)(int rank, const guru_dim64* dims, int howmany_rank,
                                            const guru_dim64* howmany_dims, complex_value* in,
                                            real* out, unsigned) {
    return plan_guru(c2r_family, rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru64_split_dft_c2r)(int rank, const guru_dim64* dims,
                                                  int howmany_rank, const guru_dim64* howmany_dims,
                                                  real* ri, real* ii, real* out, unsigned) {
    return plan_guru(split_c2r_family, rank, dims, howmany_rank, howmany_dims,
                     {ri, ii, out, nullptr});
}

plan_handle QTX_PUBLIC(plan_guru64_r2r)(int rank, const guru_dim64* dims, int howmany_rank,
                                        const guru_dim64* howmany_dims, real* in, real* out,
                                        const int* kinds, unsigned) {
    return plan_guru(r2r_family(false), rank, dims, howmany_rank, howmany_dims,
                     {in, nullptr, out, nullptr}, kinds);
}
