/*
 * qtx_fft.h - plan-then-execute fast Fourier transforms.
 *
 * Two engines share this interface: libqvsip_fftf computes in single precision (functions
 * qtx_fftf_*), libqvsip_fft in double precision (functions qtx_fft_*). A caller plans a
 * transform once, executes the plan any number of times, and destroys it. Planning failures
 * are reported only by a null plan; transforms are not normalised.
 *
 * Strides, distances and lengths count elements of the array's own type. Sign
 * QTX_FFT_FORWARD (-1) is the forward transform exp(-2 pi i f t / n), QTX_FFT_BACKWARD (+1)
 * the backward one.
 */
#ifndef QTX_FFT_H
#define QTX_FFT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(QTX_FFT_BUILDING)
#define QTX_FFT_API __attribute__((visibility("default")))
#else
#define QTX_FFT_API
#endif

/* Transform signs. */
#define QTX_FFT_FORWARD (-1)
#define QTX_FFT_BACKWARD (+1)

/*
 * Real-to-real kind codes, one per dimension. y is the unnormalised output of length n; sums
 * run over j from 0 to n - 1 unless stated.
 */
/* Real input to its spectrum X as n reals: Re X[0 .. n/2], then Im X[(n-1)/2 .. 1]. */
#define QTX_FFT_REAL_TO_HALFCOMPLEX 0
/* That layout back to real output: the backward transform, not normalised. */
#define QTX_FFT_HALFCOMPLEX_TO_REAL 1
/* Hartley: y[k] = sum x[j] (cos + sin)(2 pi j k / n). */
#define QTX_FFT_HARTLEY 2
/* Cosine type 1, n >= 2: y[k] = x[0] + (-1)^k x[n-1] + 2 sum_{0<j<n-1} x[j] cos(pi j k/(n-1)). */
#define QTX_FFT_COSINE_1 3
/* Cosine type 3: y[k] = x[0] + 2 sum_{j>0} x[j] cos(pi j (k + 1/2) / n). */
#define QTX_FFT_COSINE_3 4
/* Cosine type 2: y[k] = 2 sum x[j] cos(pi (j + 1/2) k / n). */
#define QTX_FFT_COSINE_2 5
/* Cosine type 4: y[k] = 2 sum x[j] cos(pi (j + 1/2) (k + 1/2) / n). */
#define QTX_FFT_COSINE_4 6
/* Sine type 1: y[k] = 2 sum x[j] sin(pi (j + 1) (k + 1) / (n + 1)). */
#define QTX_FFT_SINE_1 7
/* Sine type 3: y[k] = (-1)^k x[n-1] + 2 sum_{j<n-1} x[j] sin(pi (j + 1) (k + 1/2) / n). */
#define QTX_FFT_SINE_3 8
/* Sine type 2: y[k] = 2 sum x[j] sin(pi (j + 1/2) (k + 1) / n). */
#define QTX_FFT_SINE_2 9
/* Sine type 4: y[k] = 2 sum x[j] sin(pi (j + 1/2) (k + 1/2) / n). */
#define QTX_FFT_SINE_4 10

/*
 * Planner flags. Every planner accepts any combination and ignores it: planning never
 * measures, so no flag changes which plan is made or what it computes.
 */
#define QTX_FFT_MEASURE 0u
#define QTX_FFT_DESTROY_INPUT 1u
#define QTX_FFT_UNALIGNED 2u
#define QTX_FFT_CONSERVE_MEMORY 4u
#define QTX_FFT_EXHAUSTIVE 8u
#define QTX_FFT_PRESERVE_INPUT 16u
#define QTX_FFT_PATIENT 32u
#define QTX_FFT_ESTIMATE 64u
#define QTX_FFT_WISDOM_ONLY 2097152u

/*
 * Complex values, real part first. C code that includes <complex.h> before this header gets
 * the native complex types, so float complex and double complex arrays pass as they are; the
 * layout is the same either way.
 */
#if !defined(__cplusplus) && (defined(complex) || defined(_Complex_I))
typedef float _Complex qtx_fftf_complex;
typedef double _Complex qtx_fft_complex;
#else
typedef float qtx_fftf_complex[2];
typedef double qtx_fft_complex[2];
#endif

/* Version query: four NUL-terminated texts of at most 100 bytes each. */
typedef struct qtx_fftf_version {
    char product_name[100];
    char product_version[100];
    char component_name[100];
    char component_version[100];
} qtx_fftf_version;
typedef qtx_fftf_version qtx_fft_version;

/* Fills info and returns 1; returns 0 when info is null. */
QTX_FFT_API int QFFTGetVersion(qtx_fftf_version* info);

/*
 * The interface of one engine. X(name) forms the engine's function and type names, R is its
 * real type and C its complex type.
 */
#define QTX_FFT_DECLARE_ENGINE(X, R, C)                                                          \
    typedef struct X(plan_s) * X(plan);                                                         \
    typedef struct X(dim_s) {                                                                   \
        int n, in_stride, out_stride;                                                           \
    } X(dim);                                                                                   \
    typedef struct X(dim64_s) {                                                                 \
        int64_t n, in_stride, out_stride;                                                       \
    } X(dim64);                                                                                 \
                                                                                                \
    /* Basic and advanced complex planners. */                                                  \
    QTX_FFT_API X(plan) X(plan_dft_1d)(int n, C * in, C * out, int sign, unsigned flags);     \
    QTX_FFT_API X(plan) X(plan_dft_2d)(int len0, int len1, C * in, C * out, int sign,         \
                                       unsigned flags);                                         \
    QTX_FFT_API X(plan) X(plan_dft_3d)(int len0, int len1, int len2, C * in, C * out,         \
                                       int sign, unsigned flags);                               \
    QTX_FFT_API X(plan) X(plan_dft)(int rank, const int* n, C* in, C* out, int sign,          \
                                    unsigned flags);                                            \
    QTX_FFT_API X(plan) X(plan_many_dft)(int rank, const int* n, int howmany, C* in,          \
                                         const int* in_embed, int in_stride, int in_dist,       \
                                         C* out, const int* out_embed, int out_stride,          \
                                         int out_dist, int sign, unsigned flags);               \
                                                                                                \
    /* Real-to-complex planners (forward; output holds n/2 + 1 values per last row). */         \
    QTX_FFT_API X(plan) X(plan_dft_r2c_1d)(int n, R * in, C * out, unsigned flags);           \
    QTX_FFT_API X(plan) X(plan_dft_r2c_2d)(int len0, int len1, R * in, C * out,               \
                                           unsigned flags);                                     \
    QTX_FFT_API X(plan) X(plan_dft_r2c_3d)(int len0, int len1, int len2, R * in, C * out,     \
                                           unsigned flags);                                     \
    QTX_FFT_API X(plan) X(plan_dft_r2c)(int rank, const int* n, R* in, C* out, unsigned flags); \
    QTX_FFT_API X(plan) X(plan_many_dft_r2c)(int rank, const int* n, int howmany, R* in,      \
                                             const int* in_embed, int in_stride, int in_dist,   \
                                             C* out, const int* out_embed, int out_stride,      \
                                             int out_dist, unsigned flags);                     \
                                                                                                \
    /* Complex-to-real planners (backward). */                                                  \
    QTX_FFT_API X(plan) X(plan_dft_c2r_1d)(int n, C * in, R * out, unsigned flags);           \
    QTX_FFT_API X(plan) X(plan_dft_c2r_2d)(int len0, int len1, C * in, R * out,               \
                                           unsigned flags);                                     \
    QTX_FFT_API X(plan) X(plan_dft_c2r_3d)(int len0, int len1, int len2, C * in, R * out,     \
                                           unsigned flags);                                     \
    QTX_FFT_API X(plan) X(plan_dft_c2r)(int rank, const int* n, C* in, R* out, unsigned flags); \
    QTX_FFT_API X(plan) X(plan_many_dft_c2r)(int rank, const int* n, int howmany, C* in,      \
                                             const int* in_embed, int in_stride, int in_dist,   \
                                             R* out, const int* out_embed, int out_stride,      \
                                             int out_dist, unsigned flags);                     \
                                                                                                \
    /* Real-to-real planners; kinds are codes 0 to 10, one per dimension. */                    \
    QTX_FFT_API X(plan) X(plan_r2r_1d)(int n, R * in, R * out, int kind, unsigned flags);     \
    QTX_FFT_API X(plan) X(plan_r2r_2d)(int len0, int len1, R * in, R * out, int kind0,        \
                                       int kind1, unsigned flags);                              \
    QTX_FFT_API X(plan) X(plan_r2r_3d)(int len0, int len1, int len2, R * in, R * out,         \
                                       int kind0, int kind1, int kind2, unsigned flags);        \
    QTX_FFT_API X(plan) X(plan_r2r)(int rank, const int* n, R* in, R* out, const int* kinds,  \
                                    unsigned flags);                                            \
    QTX_FFT_API X(plan) X(plan_many_r2r)(int rank, const int* n, int howmany, R* in,          \
                                         const int* in_embed, int in_stride, int in_dist,       \
                                         R* out, const int* out_embed, int out_stride,          \
                                         int out_dist, const int* kinds, unsigned flags);       \
                                                                                                \
    /* Guru planners: dimensions as records, outermost first. */                                \
    QTX_FFT_API X(plan) X(plan_guru_dft)(int rank, const X(dim) * dims, int howmany_rank,     \
                                         const X(dim) * howmany_dims, C * in, C * out,          \
                                         int sign, unsigned flags);                             \
    QTX_FFT_API X(plan) X(plan_guru_split_dft)(int rank, const X(dim) * dims,                 \
                                               int howmany_rank, const X(dim) * howmany_dims,   \
                                               R * ri, R * ii, R * ro, R * io, unsigned flags); \
    QTX_FFT_API X(plan) X(plan_guru_dft_r2c)(int rank, const X(dim) * dims, int howmany_rank, \
                                             const X(dim) * howmany_dims, R * in, C * out,      \
                                             unsigned flags);                                   \
    QTX_FFT_API X(plan) X(plan_guru_split_dft_r2c)(int rank, const X(dim) * dims,             \
                                                   int howmany_rank,                            \
                                                   const X(dim) * howmany_dims, R * in,         \
                                                   R * ro, R * io, unsigned flags);             \
    QTX_FFT_API X(plan) X(plan_guru_dft_c2r)(int rank, const X(dim) * dims, int howmany_rank, \
                                             const X(dim) * howmany_dims, C * in, R * out,      \
                                             unsigned flags);                                   \
    QTX_FFT_API X(plan) X(plan_guru_split_dft_c2r)(int rank, const X(dim) * dims,             \
                                                   int howmany_rank,                            \
                                                   const X(dim) * howmany_dims, R * ri,         \
                                                   R * ii, R * out, unsigned flags);            \
    QTX_FFT_API X(plan) X(plan_guru_r2r)(int rank, const X(dim) * dims, int howmany_rank,     \
                                         const X(dim) * howmany_dims, R * in, R * out,          \
                                         const int* kinds, unsigned flags);                     \
    QTX_FFT_API X(plan) X(plan_guru64_dft)(int rank, const X(dim64) * dims, int howmany_rank, \
                                           const X(dim64) * howmany_dims, C * in, C * out,      \
                                           int sign, unsigned flags);                           \
    QTX_FFT_API X(plan) X(plan_guru64_split_dft)(int rank, const X(dim64) * dims,             \
                                                 int howmany_rank,                              \
                                                 const X(dim64) * howmany_dims, R * ri,         \
                                                 R * ii, R * ro, R * io, unsigned flags);       \
    QTX_FFT_API X(plan) X(plan_guru64_dft_r2c)(int rank, const X(dim64) * dims,               \
                                               int howmany_rank,                                \
                                               const X(dim64) * howmany_dims, R * in, C * out,  \
                                               unsigned flags);                                 \
    QTX_FFT_API X(plan) X(plan_guru64_split_dft_r2c)(int rank, const X(dim64) * dims,         \
                                                     int howmany_rank,                          \
                                                     const X(dim64) * howmany_dims, R * in,     \
                                                     R * ro, R * io, unsigned flags);           \
    QTX_FFT_API X(plan) X(plan_guru64_dft_c2r)(int rank, const X(dim64) * dims,               \
                                               int howmany_rank,                                \
                                               const X(dim64) * howmany_dims, C * in, R * out,  \
                                               unsigned flags);                                 \
    QTX_FFT_API X(plan) X(plan_guru64_split_dft_c2r)(int rank, const X(dim64) * dims,         \
                                                     int howmany_rank,                          \
                                                     const X(dim64) * howmany_dims, R * ri,     \
                                                     R * ii, R * out, unsigned flags);          \
    QTX_FFT_API X(plan) X(plan_guru64_r2r)(int rank, const X(dim64) * dims, int howmany_rank, \
                                           const X(dim64) * howmany_dims, R * in, R * out,      \
                                           const int* kinds, unsigned flags);                   \
                                                                                                \
    /* Execution on the planned arrays, or on new arrays of the same layout. */                 \
    QTX_FFT_API void X(execute)(const X(plan) plan);                                            \
    QTX_FFT_API void X(execute_dft)(const X(plan) plan, C * in, C * out);                       \
    QTX_FFT_API void X(execute_dft_r2c)(const X(plan) plan, R * in, C * out);                   \
    QTX_FFT_API void X(execute_dft_c2r)(const X(plan) plan, C * in, R * out);                   \
    QTX_FFT_API void X(execute_split_dft)(const X(plan) plan, R * ri, R * ii, R * ro, R * io);  \
    QTX_FFT_API void X(execute_split_dft_r2c)(const X(plan) plan, R * in, R * ro, R * io);      \
    QTX_FFT_API void X(execute_split_dft_c2r)(const X(plan) plan, R * ri, R * ii, R * out);     \
    QTX_FFT_API void X(execute_r2r)(const X(plan) plan, R * in, R * out);                       \
    QTX_FFT_API void X(destroy_plan)(X(plan) plan);                                             \
                                                                                                \
    /* 64-byte aligned, zero-filled memory. */                                                  \
    QTX_FFT_API void* X(malloc)(size_t size);                                                   \
    QTX_FFT_API void X(free)(void* block);                                                      \
                                                                                                \
    /* Threads used by plans made afterwards; a plan keeps the count it was made with.          \
       Different plans may be planned, executed and destroyed on several threads at once,       \
       also while plan_with_nthreads changes the count; one plan executes on one thread at      \
       a time. init_threads and cleanup_threads belong where no plan executes: cleanup          \
       waits for executions that use the worker threads, and until init_threads is called       \
       again every plan runs on its calling thread alone. */                                    \
    QTX_FFT_API int X(init_threads)(void);                                                      \
    QTX_FFT_API void X(plan_with_nthreads)(int nthreads);                                       \
    QTX_FFT_API void X(cleanup_threads)(void);                                                  \
                                                                                                \
    /* The same calls for callers that pass scalars by address. */                              \
    QTX_FFT_API X(plan) X(plan_dft_1d_)(const int* n, C* in, C* out, const int* sign,          \
                                        const unsigned* flags);                                 \
    QTX_FFT_API X(plan) X(plan_dft_2d_)(const int* len0, const int* len1, C* in, C* out,       \
                                        const int* sign, const unsigned* flags);                \
    QTX_FFT_API X(plan) X(plan_dft_3d_)(const int* len0, const int* len1, const int* len2,     \
                                        C* in, C* out, const int* sign, const unsigned* flags); \
    QTX_FFT_API X(plan) X(plan_dft_)(const int* rank, const int* n, C* in, C* out,             \
                                     const int* sign, const unsigned* flags);                   \
    QTX_FFT_API X(plan) X(plan_many_dft_)(const int* rank, const int* n, const int* howmany,   \
                                          C* in, const int* in_embed, const int* in_stride,     \
                                          const int* in_dist, C* out, const int* out_embed,     \
                                          const int* out_stride, const int* out_dist,           \
                                          const int* sign, const unsigned* flags);              \
    QTX_FFT_API X(plan) X(plan_dft_r2c_1d_)(const int* n, R* in, C* out,                       \
                                            const unsigned* flags);                             \
    QTX_FFT_API X(plan) X(plan_dft_r2c_2d_)(const int* len0, const int* len1, R* in, C* out,   \
                                            const unsigned* flags);                             \
    QTX_FFT_API X(plan) X(plan_dft_r2c_3d_)(const int* len0, const int* len1,                  \
                                            const int* len2, R* in, C* out,                     \
                                            const unsigned* flags);                             \
    QTX_FFT_API X(plan) X(plan_dft_r2c_)(const int* rank, const int* n, R* in, C* out,         \
                                         const unsigned* flags);                                \
    QTX_FFT_API X(plan) X(plan_many_dft_r2c_)(const int* rank, const int* n,                   \
                                              const int* howmany, R* in, const int* in_embed,   \
                                              const int* in_stride, const int* in_dist, C* out, \
                                              const int* out_embed, const int* out_stride,      \
                                              const int* out_dist, const unsigned* flags);      \
    QTX_FFT_API X(plan) X(plan_dft_c2r_1d_)(const int* n, C* in, R* out,                       \
                                            const unsigned* flags);                             \
    QTX_FFT_API X(plan) X(plan_dft_c2r_2d_)(const int* len0, const int* len1, C* in, R* out,   \
                                            const unsigned* flags);                             \
    QTX_FFT_API X(plan) X(plan_dft_c2r_3d_)(const int* len0, const int* len1,                  \
                                            const int* len2, C* in, R* out,                     \
                                            const unsigned* flags);                             \
    QTX_FFT_API X(plan) X(plan_dft_c2r_)(const int* rank, const int* n, C* in, R* out,         \
                                         const unsigned* flags);                                \
    QTX_FFT_API X(plan) X(plan_many_dft_c2r_)(const int* rank, const int* n,                   \
                                              const int* howmany, C* in, const int* in_embed,   \
                                              const int* in_stride, const int* in_dist, R* out, \
                                              const int* out_embed, const int* out_stride,      \
                                              const int* out_dist, const unsigned* flags);      \
    QTX_FFT_API X(plan) X(plan_r2r_1d_)(const int* n, R* in, R* out, const int* kind,          \
                                        const unsigned* flags);                                 \
    QTX_FFT_API X(plan) X(plan_r2r_2d_)(const int* len0, const int* len1, R* in, R* out,       \
                                        const int* kind0, const int* kind1,                     \
                                        const unsigned* flags);                                 \
    QTX_FFT_API X(plan) X(plan_r2r_3d_)(const int* len0, const int* len1, const int* len2,     \
                                        R* in, R* out, const int* kind0, const int* kind1,      \
                                        const int* kind2, const unsigned* flags);               \
    QTX_FFT_API X(plan) X(plan_r2r_)(const int* rank, const int* n, R* in, R* out,             \
                                     const int* kinds, const unsigned* flags);                  \
    QTX_FFT_API X(plan) X(plan_many_r2r_)(const int* rank, const int* n, const int* howmany,   \
                                          R* in, const int* in_embed, const int* in_stride,     \
                                          const int* in_dist, R* out, const int* out_embed,     \
                                          const int* out_stride, const int* out_dist,           \
                                          const int* kinds, const unsigned* flags);             \
    QTX_FFT_API X(plan) X(plan_guru_dft_)(const int* rank, const X(dim) * dims,               \
                                          const int* howmany_rank, const X(dim) * howmany_dims, \
                                          C * in, C * out, const int* sign,                     \
                                          const unsigned* flags);                               \
    QTX_FFT_API X(plan) X(plan_guru_split_dft_)(const int* rank, const X(dim) * dims,         \
                                                const int* howmany_rank,                        \
                                                const X(dim) * howmany_dims, R * ri, R * ii,    \
                                                R * ro, R * io, const unsigned* flags);         \
    QTX_FFT_API X(plan) X(plan_guru_dft_r2c_)(const int* rank, const X(dim) * dims,           \
                                              const int* howmany_rank,                          \
                                              const X(dim) * howmany_dims, R * in, C * out,     \
                                              const unsigned* flags);                           \
    QTX_FFT_API X(plan) X(plan_guru_split_dft_r2c_)(const int* rank, const X(dim) * dims,     \
                                                    const int* howmany_rank,                    \
                                                    const X(dim) * howmany_dims, R * in,        \
                                                    R * ro, R * io, const unsigned* flags);     \
    QTX_FFT_API X(plan) X(plan_guru_dft_c2r_)(const int* rank, const X(dim) * dims,           \
                                              const int* howmany_rank,                          \
                                              const X(dim) * howmany_dims, C * in, R * out,     \
                                              const unsigned* flags);                           \
    QTX_FFT_API X(plan) X(plan_guru_split_dft_c2r_)(const int* rank, const X(dim) * dims,     \
                                                    const int* howmany_rank,                    \
                                                    const X(dim) * howmany_dims, R * ri,        \
                                                    R * ii, R * out, const unsigned* flags);    \
    QTX_FFT_API X(plan) X(plan_guru_r2r_)(const int* rank, const X(dim) * dims,               \
                                          const int* howmany_rank, const X(dim) * howmany_dims, \
                                          R * in, R * out, const int* kinds,                    \
                                          const unsigned* flags);                               \
    QTX_FFT_API X(plan) X(plan_guru64_dft_)(const int* rank, const X(dim64) * dims,           \
                                            const int* howmany_rank,                            \
                                            const X(dim64) * howmany_dims, C * in, C * out,     \
                                            const int* sign, const unsigned* flags);            \
    QTX_FFT_API X(plan) X(plan_guru64_split_dft_)(const int* rank, const X(dim64) * dims,     \
                                                  const int* howmany_rank,                      \
                                                  const X(dim64) * howmany_dims, R * ri,        \
                                                  R * ii, R * ro, R * io,                       \
                                                  const unsigned* flags);                       \
    QTX_FFT_API X(plan) X(plan_guru64_dft_r2c_)(const int* rank, const X(dim64) * dims,       \
                                                const int* howmany_rank,                        \
                                                const X(dim64) * howmany_dims, R * in,          \
                                                C * out, const unsigned* flags);                \
    QTX_FFT_API X(plan) X(plan_guru64_split_dft_r2c_)(const int* rank, const X(dim64) * dims, \
                                                      const int* howmany_rank,                  \
                                                      const X(dim64) * howmany_dims, R * in,    \
                                                      R * ro, R * io, const unsigned* flags);   \
    QTX_FFT_API X(plan) X(plan_guru64_dft_c2r_)(const int* rank, const X(dim64) * dims,       \
                                                const int* howmany_rank,                        \
                                                const X(dim64) * howmany_dims, C * in,          \
                                                R * out, const unsigned* flags);                \
    QTX_FFT_API X(plan) X(plan_guru64_split_dft_c2r_)(const int* rank, const X(dim64) * dims, \
                                                      const int* howmany_rank,                  \
                                                      const X(dim64) * howmany_dims, R * ri,    \
                                                      R * ii, R * out, const unsigned* flags);  \
    QTX_FFT_API X(plan) X(plan_guru64_r2r_)(const int* rank, const X(dim64) * dims,           \
                                            const int* howmany_rank,                            \
                                            const X(dim64) * howmany_dims, R * in, R * out,     \
                                            const int* kinds, const unsigned* flags);           \
    QTX_FFT_API void X(execute_)(const X(plan) * plan);                                         \
    QTX_FFT_API void X(execute_dft_)(const X(plan) * plan, C * in, C * out);                    \
    QTX_FFT_API void X(execute_dft_r2c_)(const X(plan) * plan, R * in, C * out);                \
    QTX_FFT_API void X(execute_dft_c2r_)(const X(plan) * plan, C * in, R * out);                \
    QTX_FFT_API void X(execute_split_dft_)(const X(plan) * plan, R * ri, R * ii, R * ro,        \
                                           R * io);                                             \
    QTX_FFT_API void X(execute_split_dft_r2c_)(const X(plan) * plan, R * in, R * ro, R * io);   \
    QTX_FFT_API void X(execute_split_dft_c2r_)(const X(plan) * plan, R * ri, R * ii, R * out);  \
    QTX_FFT_API void X(execute_r2r_)(const X(plan) * plan, R * in, R * out);                    \
    QTX_FFT_API void X(destroy_plan_)(X(plan) * plan);                                          \
    QTX_FFT_API void* X(malloc_)(const size_t* size);                                           \
    QTX_FFT_API void X(free_)(void* block);                                                     \
    QTX_FFT_API int X(init_threads_)(void);                                                     \
    QTX_FFT_API void X(plan_with_nthreads_)(const int* nthreads);                               \
    QTX_FFT_API void X(cleanup_threads_)(void);

#define QTX_FFTF_NAME(name) qtx_fftf_##name
#define QTX_FFT_NAME(name) qtx_fft_##name

QTX_FFT_DECLARE_ENGINE(QTX_FFTF_NAME, float, qtx_fftf_complex)
QTX_FFT_DECLARE_ENGINE(QTX_FFT_NAME, double, qtx_fft_complex)

#ifdef __cplusplus
}
#endif

#endif /* QTX_FFT_H */
