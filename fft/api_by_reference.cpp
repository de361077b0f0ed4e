// Entry points for callers that pass scalars by address (a trailing underscore on each name).
// Each reads its scalars once and does what the plain function does; a missing scalar makes
// a planner return a null plan and every other call do nothing.
#include "fft/api.hpp"

namespace qtx::QTX_ENGINE {
namespace {

template <class... T> bool given(const T*... scalars) {
    return ((scalars != nullptr) && ...);
}

} // namespace
} // namespace qtx::QTX_ENGINE

using namespace qtx::QTX_ENGINE;

// ---- Basic and advanced planners ------------------------------------------------------------

plan_handle QTX_PUBLIC(plan_dft_1d_)(const int* n, complex_value* in, complex_value* out,
                                     const int* sign, const unsigned* flags) {
    if (!given(n, sign, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_1d)(*n, in, out, *sign, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_2d_)(const int* len0, const int* len1, complex_value* in,
                                     complex_value* out, const int* sign, const unsigned* flags) {
    if (!given(len0, len1, sign, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_2d)(*len0, *len1, in, out, *sign, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_3d_)(const int* len0, const int* len1, const int* len2,
                                     complex_value* in, complex_value* out, const int* sign,
                                     const unsigned* flags) {
    if (!given(len0, len1, len2, sign, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_3d)(*len0, *len1, *len2, in, out, *sign, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_)(const int* rank, const int* n, complex_value* in,
                                  complex_value* out, const int* sign, const unsigned* flags) {
    if (!given(rank, sign, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft)(*rank, n, in, out, *sign, *flags);
}

plan_handle QTX_PUBLIC(plan_many_dft_)(const int* rank, const int* n, const int* howmany,
                                       complex_value* in, const int* in_embed, const int* in_stride,
                                       const int* in_dist, complex_value* out, const int* out_embed,
                                       const int* out_stride, const int* out_dist, const int* sign,
                                       const unsigned* flags) {
    if (!given(rank, howmany, in_stride, in_dist, out_stride, out_dist, sign, flags))
        return nullptr;
    return QTX_PUBLIC(plan_many_dft)(*rank, n, *howmany, in, in_embed, *in_stride, *in_dist, out,
                                     out_embed, *out_stride, *out_dist, *sign, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_r2c_1d_)(const int* n, real* in, complex_value* out,
                                         const unsigned* flags) {
    if (!given(n, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_r2c_1d)(*n, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_r2c_2d_)(const int* len0, const int* len1, real* in,
                                         complex_value* out, const unsigned* flags) {
    if (!given(len0, len1, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_r2c_2d)(*len0, *len1, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_r2c_3d_)(const int* len0, const int* len1, const int* len2,
                                         real* in, complex_value* out, const unsigned* flags) {
    if (!given(len0, len1, len2, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_r2c_3d)(*len0, *len1, *len2, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_r2c_)(const int* rank, const int* n, real* in, complex_value* out,
                                      const unsigned* flags) {
    if (!given(rank, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_r2c)(*rank, n, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_many_dft_r2c_)(const int* rank, const int* n, const int* howmany,
                                           real* in, const int* in_embed, const int* in_stride,
                                           const int* in_dist, complex_value* out,
                                           const int* out_embed, const int* out_stride,
                                           const int* out_dist, const unsigned* flags) {
    if (!given(rank, howmany, in_stride, in_dist, out_stride, out_dist, flags)) return nullptr;
    return QTX_PUBLIC(plan_many_dft_r2c)(*rank, n, *howmany, in, in_embed, *in_stride, *in_dist,
                                         out, out_embed, *out_stride, *out_dist, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_c2r_1d_)(const int* n, complex_value* in, real* out,
                                         const unsigned* flags) {
    if (!given(n, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_c2r_1d)(*n, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_c2r_2d_)(const int* len0, const int* len1, complex_value* in,
                                         real* out, const unsigned* flags) {
    if (!given(len0, len1, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_c2r_2d)(*len0, *len1, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_c2r_3d_)(const int* len0, const int* len1, const int* len2,
                                         complex_value* in, real* out, const unsigned* flags) {
    if (!given(len0, len1, len2, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_c2r_3d)(*len0, *len1, *len2, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_dft_c2r_)(const int* rank, const int* n, complex_value* in, real* out,
                                      const unsigned* flags) {
    if (!given(rank, flags)) return nullptr;
    return QTX_PUBLIC(plan_dft_c2r)(*rank, n, in, out, *flags);
}

plan_handle QTX_PUBLIC(plan_many_dft_c2r_)(const int* rank, const int* n, const int* howmany,
                                           complex_value* in, const int* in_embed,
                                           const int* in_stride, const int* in_dist, real* out,
                                           const int* out_embed, const int* out_stride,
                                           const int* out_dist, const unsigned* flags) {
    if (!given(rank, howmany, in_stride, in_dist, out_stride, out_dist, flags)) return nullptr;
    return QTX_PUBLIC(plan_many_dft_c2r)(*rank, n, *howmany, in, in_embed, *in_stride, *in_dist,
                                         out, out_embed, *out_stride, *out_dist, *flags);
}

plan_handle QTX_PUBLIC(plan_r2r_1d_)(const int* n, real* in, real* out, const int* kind,
                                     const unsigned* flags) {
    if (!given(n, kind, flags)) return nullptr;
    return QTX_PUBLIC(plan_r2r_1d)(*n, in, out, *kind, *flags);
}

plan_handle QTX_PUBLIC(plan_r2r_2d_)(const int* len0, const int* len1, real* in, real* out,
                                     const int* kind0, const int* kind1, const unsigned* flags) {
    if (!given(len0, len1, kind0, kind1, flags)) return nullptr;
    return QTX_PUBLIC(plan_r2r_2d)(*len0, *len1, in, out, *kind0, *kind1, *flags);
}

plan_handle QTX_PUBLIC(plan_r2r_3d_)(const int* len0, const int* len1, const int* len2, real* in,
                                     real* out, const int* kind0, const int* kind1,
                                     const int* kind2, const unsigned* flags) {
    if (!given(len0, len1, len2, kind0, kind1, kind2, flags)) return nullptr;
    return QTX_PUBLIC(plan_r2r_3d)(*len0, *len1, *len2, in, out, *kind0, *kind1, *kind2, *flags);
}

plan_handle QTX_PUBLIC(plan_r2r_)(const int* rank, const int* n, real* in, real* out,
                                  const int* kinds, const unsigned* flags) {
    if (!given(rank, flags)) return nullptr;
    return QTX_PUBLIC(plan_r2r)(*rank, n, in, out, kinds, *flags);
}

plan_handle QTX_PUBLIC(plan_many_r2r_)(const int* rank, const int* n, const int* howmany, real* in,
                                       const int* in_embed, const int* in_stride,
                                       const int* in_dist, real* out, const int* out_embed,
                                       const int* out_stride, const int* out_dist, const int* kinds,
                                       const unsigned* flags) {
    if (!given(rank, howmany, in_stride, in_dist, out_stride, out_dist, flags)) return nullptr;
    return QTX_PUBLIC(plan_many_r2r)(*rank, n, *howmany, in, in_embed, *in_stride, *in_dist, out,
                                     out_embed, *out_stride, *out_dist, kinds, *flags);
}

// ---- Guru planners --------------------------------------------------------------------------

// The guru planners differ only in their dimension record and trailing arguments, so one
// template per signature shape forwards all fourteen.
#define QTX_GURU_FORWARD(name, dim, params, args)                                                  \
    plan_handle QTX_PUBLIC(name##_)(const int* rank, const dim* dims, const int* howmany_rank,     \
                                    const dim* howmany_dims, QTX_UNPAREN params,                   \
                                    const unsigned* flags) {                                       \
        if (!given(rank, howmany_rank, flags)) return nullptr;                                     \
        return QTX_PUBLIC(name)(*rank, dims, *howmany_rank, howmany_dims, QTX_UNPAREN args,        \
                                *flags);                                                           \
    }
#define QTX_UNPAREN(...) __VA_ARGS__

QTX_GURU_FORWARD(plan_guru_split_dft, guru_dim, (real * ri, real* ii, real* ro, real* io),
                 (ri, ii, ro, io))
QTX_GURU_FORWARD(plan_guru_dft_r2c, guru_dim, (real * in, complex_value* out), (in, out))
QTX_GURU_FORWARD(plan_guru_split_dft_r2c, guru_dim, (real * in, real* ro, real* io), (in, ro, io))
QTX_GURU_FORWARD(plan_guru_dft_c2r, guru_dim, (complex_value * in, real* out), (in, out))
QTX_GURU_FORWARD(plan_guru_split_dft_c2r, guru_dim, (real * ri, real* ii, real* out), (ri, ii, out))
QTX_GURU_FORWARD(plan_guru_r2r, guru_dim, (real * in, real* out, const int* kinds),
                 (in, out, kinds))
QTX_GURU_FORWARD(plan_guru64_split_dft, guru_dim64, (real * ri, real* ii, real* ro, real* io),
                 (ri, ii, ro, io))
QTX_GURU_FORWARD(plan_guru64_dft_r2c, guru_dim64, (real * in, complex_value* out), (in, out))
QTX_GURU_FORWARD(plan_guru64_split_dft_r2c, guru_dim64, (real * in, real* ro, real* io),
                 (in, ro, io))
QTX_GURU_FORWARD(plan_guru64_dft_c2r, guru_dim64, (complex_value * in, real* out), (in, out))
QTX_GURU_FORWARD(plan_guru64_split_dft_c2r, guru_dim64, (real * ri, real* ii, real* out),
                 (ri, ii, out))
QTX_GURU_FORWARD(plan_guru64_r2r, guru_dim64, (real * in, real* out, const int* kinds),
                 (in, out, kinds))

// The complex guru planners also take their sign by address.
plan_handle QTX_PUBLIC(plan_guru_dft_)(const int* rank, const guru_dim* dims,
                                       const int* howmany_rank, const guru_dim* howmany_dims,
                                       complex_value* in, complex_value* out, const int* sign,
                                       const unsigned* flags) {
    if (!given(rank, howmany_rank, sign, flags)) return nullptr;
    return QTX_PUBLIC(plan_guru_dft)(*rank, dims, *howmany_rank, howmany_dims, in, out, *sign,
                                     *flags);
}

plan_handle QTX_PUBLIC(plan_guru64_dft_)(const int* rank, const guru_dim64* dims,
                                         const int* howmany_rank, const guru_dim64* howmany_dims,
                                         complex_value* in, complex_value* out, const int* sign,
                                         const unsigned* flags) {
    if (!given(rank, howmany_rank, sign, flags)) return nullptr;
    return QTX_PUBLIC(plan_guru64_dft)(*rank, dims, *howmany_rank, howmany_dims, in, out, *sign,
                                       *flags);
}

// ---- Execution, memory, threads -------------------------------------------------------------

void QTX_PUBLIC(execute_)(const plan_handle* plan) {
    if (given(plan)) QTX_PUBLIC(execute)(*plan);
}

void QTX_PUBLIC(execute_dft_)(const plan_handle* plan, complex_value* in, complex_value* out) {
    if (given(plan)) QTX_PUBLIC(execute_dft)(*plan, in, out);
}

void QTX_PUBLIC(execute_dft_r2c_)(const plan_handle* plan, real* in, complex_value* out) {
    if (given(plan)) QTX_PUBLIC(execute_dft_r2c)(*plan, in, out);
}

void QTX_PUBLIC(execute_dft_c2r_)(const plan_handle* plan, complex_value* in, real* out) {
    if (given(plan)) QTX_PUBLIC(execute_dft_c2r)(*plan, in, out);
}

void QTX_PUBLIC(execute_split_dft_)(const plan_handle* plan, real* ri, real* ii, real* ro,
                                    real* io) {
    if (given(plan)) QTX_PUBLIC(execute_split_dft)(*plan, ri, ii, ro, io);
}

void QTX_PUBLIC(execute_split_dft_r2c_)(const plan_handle* plan, real* in, real* ro, real* io) {
    if (given(plan)) QTX_PUBLIC(execute_split_dft_r2c)(*plan, in, ro, io);
}

void QTX_PUBLIC(execute_split_dft_c2r_)(const plan_handle* plan, real* ri, real* ii, real* out) {
    if (given(plan)) QTX_PUBLIC(execute_split_dft_c2r)(*plan, ri, ii, out);
}

void QTX_PUBLIC(execute_r2r_)(const plan_handle* plan, real* in, real* out) {
    if (given(plan)) QTX_PUBLIC(execute_r2r)(*plan, in, out);
}

void QTX_PUBLIC(destroy_plan_)(plan_handle* plan) {
    if (given(plan)) QTX_PUBLIC(destroy_plan)(*plan);
}

void* QTX_PUBLIC(malloc_)(const size_t* size) {
    return given(size) ? QTX_PUBLIC(malloc)(*size) : nullptr;
}

void QTX_PUBLIC(free_)(void* block) {
    QTX_PUBLIC(free)(block);
}

int QTX_PUBLIC(init_threads_)(void) {
    return QTX_PUBLIC(init_threads)();
}

void QTX_PUBLIC(plan_with_nthreads_)(const int* nthreads) {
    if (given(nthreads)) QTX_PUBLIC(plan_with_nthreads)(*nthreads);
}

void QTX_PUBLIC(cleanup_threads_)(void) {
    QTX_PUBLIC(cleanup_threads)();
}
