/*
 * qvsip/fftw3/fftw3.h - the FFTW 3 programming interface on the qvsip engines.
 *
 * libqvsip_fftw3 implements the double-precision names (fftw_*), libqvsip_fftw3f the
 * single-precision ones (fftwf_*). Types, constants and calling conventions are those the FFTW 3
 * manual documents, so programs written for that interface compile against this header and
 * link against these libraries unchanged. The long-double (fftwl_*) and quadruple (fftwq_*)
 * names are declared so that programs mentioning them compile; no library defines them.
 */
#ifndef QVSIP_FFTW3_H
#define QVSIP_FFTW3_H

#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(QVSIP_FFTW3_BUILDING)
#define QVSIP_FFTW3_API extern __attribute__((visibility("default")))
#else
#define QVSIP_FFTW3_API extern
#endif

/* Transform signs: the forward transform uses exp(-2 pi i j k / n). */
#define FFTW_FORWARD (-1)
#define FFTW_BACKWARD (+1)

/* Returned by the estimate of a problem that has none. */
#define FFTW_NO_TIMELIMIT (-1.0)

/* Planner flags, accepted by every planner. */
#define FFTW_MEASURE (0U)
#define FFTW_DESTROY_INPUT (1U << 0)
#define FFTW_UNALIGNED (1U << 1)
#define FFTW_CONSERVE_MEMORY (1U << 2)
#define FFTW_EXHAUSTIVE (1U << 3)
#define FFTW_PRESERVE_INPUT (1U << 4)
#define FFTW_PATIENT (1U << 5)
#define FFTW_ESTIMATE (1U << 6)
#define FFTW_WISDOM_ONLY (1U << 21)

/* Finer planner controls, documented as undocumented: accepted and ignored. */
#define FFTW_ESTIMATE_PATIENT (1U << 7)
#define FFTW_BELIEVE_PCOST (1U << 8)
#define FFTW_NO_DFT_R2HC (1U << 9)
#define FFTW_NO_NONTHREADED (1U << 10)
#define FFTW_NO_BUFFERING (1U << 11)
#define FFTW_NO_INDIRECT_OP (1U << 12)
#define FFTW_ALLOW_LARGE_GENERIC (1U << 13)
#define FFTW_NO_RANK_SPLITS (1U << 14)
#define FFTW_NO_VRANK_SPLITS (1U << 15)
#define FFTW_NO_VRECURSE (1U << 16)
#define FFTW_NO_SIMD (1U << 17)
#define FFTW_NO_SLOW (1U << 18)
#define FFTW_NO_FIXED_RADIX_LARGE_N (1U << 19)
#define FFTW_ALLOW_PRUNING (1U << 20)

/* Real-to-real kinds, one per transformed dimension. */
enum fftw_r2r_kind_do_not_use_me {
    FFTW_R2HC = 0,
    FFTW_HC2R = 1,
    FFTW_DHT = 2,
    FFTW_REDFT00 = 3,
    FFTW_REDFT01 = 4,
    FFTW_REDFT10 = 5,
    FFTW_REDFT11 = 6,
    FFTW_RODFT00 = 7,
    FFTW_RODFT01 = 8,
    FFTW_RODFT10 = 9,
    FFTW_RODFT11 = 10
};

/* One dimension of a guru problem: length, input stride, output stride (in elements). */
struct fftw_iodim_do_not_use_me {
    int n;
    int is;
    int os;
};

/* The same with ptrdiff_t fields, for arrays beyond the range of int. */
struct fftw_iodim64_do_not_use_me {
    ptrdiff_t n;
    ptrdiff_t is;
    ptrdiff_t os;
};

/* Wisdom streams: one character written, or read (EOF at the end). */
typedef void (*fftw_write_char_func_do_not_use_me)(char c, void* data);
typedef int (*fftw_read_char_func_do_not_use_me)(void* data);

/* With <complex.h> included first, C programs get the native complex types. */
#if !defined(__cplusplus) && (defined(complex) || defined(_Complex_I))
#define QVSIP_FFTW3_COMPLEX_TYPEDEF(X, R) typedef R _Complex X(complex);
#else
#define QVSIP_FFTW3_COMPLEX_TYPEDEF(X, R) typedef R X(complex)[2];
#endif

/*
 * The interface of one precision. X(name) forms its names, R is its real type and C its
 * complex type X(complex): two R side by side, real part first, or the C99 complex type when
 * <complex.h> was included first (the same layout), defined before the interface.
 */
#define QVSIP_FFTW3_DEFINE_API(X, R, C)                                                            \
    typedef struct X(plan_s) * X(plan);                                                            \
    typedef struct fftw_iodim_do_not_use_me X(iodim);                                              \
    typedef struct fftw_iodim64_do_not_use_me X(iodim64);                                          \
    typedef enum fftw_r2r_kind_do_not_use_me X(r2r_kind);                                          \
    typedef fftw_write_char_func_do_not_use_me X(write_char_func);                                 \
    typedef fftw_read_char_func_do_not_use_me X(read_char_func);                                   \
                                                                                                   \
    QVSIP_FFTW3_API void X(execute)(const X(plan) p);                                              \
                                                                                                   \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_dft)(int rank, const int* n, C* in, C* out, int sign, unsigned flags);              \
    QVSIP_FFTW3_API X(plan) X(plan_dft_1d)(int n, C* in, C* out, int sign, unsigned flags);        \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_dft_2d)(int n0, int n1, C* in, C* out, int sign, unsigned flags);                   \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_dft_3d)(int n0, int n1, int n2, C* in, C* out, int sign, unsigned flags);           \
    QVSIP_FFTW3_API X(plan) X(plan_many_dft)(                                                      \
        int rank, const int* n, int howmany, C* in, const int* inembed, int istride, int idist,    \
        C* out, const int* onembed, int ostride, int odist, int sign, unsigned flags);             \
    QVSIP_FFTW3_API X(plan) X(plan_guru_dft)(int rank, const X(iodim) * dims, int howmany_rank,    \
                                             const X(iodim) * howmany_dims, C * in, C * out,       \
                                             int sign, unsigned flags);                            \
    QVSIP_FFTW3_API X(plan) X(plan_guru_split_dft)(                                                \
        int rank, const X(iodim) * dims, int howmany_rank, const X(iodim) * howmany_dims, R * ri,  \
        R * ii, R * ro, R * io, unsigned flags);                                                   \
    QVSIP_FFTW3_API X(plan) X(plan_guru64_dft)(int rank, const X(iodim64) * dims,                  \
                                               int howmany_rank, const X(iodim64) * howmany_dims,  \
                                               C * in, C * out, int sign, unsigned flags);         \
    QVSIP_FFTW3_API X(plan) X(plan_guru64_split_dft)(                                              \
        int rank, const X(iodim64) * dims, int howmany_rank, const X(iodim64) * howmany_dims,      \
        R * ri, R * ii, R * ro, R * io, unsigned flags);                                           \
    QVSIP_FFTW3_API void X(execute_dft)(const X(plan) p, C* in, C* out);                           \
    QVSIP_FFTW3_API void X(execute_split_dft)(const X(plan) p, R* ri, R* ii, R* ro, R* io);        \
                                                                                                   \
    QVSIP_FFTW3_API X(plan) X(plan_many_dft_r2c)(                                                  \
        int rank, const int* n, int howmany, R* in, const int* inembed, int istride, int idist,    \
        C* out, const int* onembed, int ostride, int odist, unsigned flags);                       \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_dft_r2c)(int rank, const int* n, R* in, C* out, unsigned flags);                    \
    QVSIP_FFTW3_API X(plan) X(plan_dft_r2c_1d)(int n, R* in, C* out, unsigned flags);              \
    QVSIP_FFTW3_API X(plan) X(plan_dft_r2c_2d)(int n0, int n1, R* in, C* out, unsigned flags);     \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_dft_r2c_3d)(int n0, int n1, int n2, R* in, C* out, unsigned flags);                 \
    QVSIP_FFTW3_API X(plan) X(plan_many_dft_c2r)(                                                  \
        int rank, const int* n, int howmany, C* in, const int* inembed, int istride, int idist,    \
        R* out, const int* onembed, int ostride, int odist, unsigned flags);                       \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_dft_c2r)(int rank, const int* n, C* in, R* out, unsigned flags);                    \
    QVSIP_FFTW3_API X(plan) X(plan_dft_c2r_1d)(int n, C* in, R* out, unsigned flags);              \
    QVSIP_FFTW3_API X(plan) X(plan_dft_c2r_2d)(int n0, int n1, C* in, R* out, unsigned flags);     \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_dft_c2r_3d)(int n0, int n1, int n2, C* in, R* out, unsigned flags);                 \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_guru_dft_r2c)(int rank, const X(iodim) * dims, int howmany_rank,                    \
                             const X(iodim) * howmany_dims, R * in, C * out, unsigned flags);      \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_guru_dft_c2r)(int rank, const X(iodim) * dims, int howmany_rank,                    \
                             const X(iodim) * howmany_dims, C * in, R * out, unsigned flags);      \
    QVSIP_FFTW3_API X(plan) X(plan_guru_split_dft_r2c)(                                            \
        int rank, const X(iodim) * dims, int howmany_rank, const X(iodim) * howmany_dims, R * in,  \
        R * ro, R * io, unsigned flags);                                                           \
    QVSIP_FFTW3_API X(plan) X(plan_guru_split_dft_c2r)(                                            \
        int rank, const X(iodim) * dims, int howmany_rank, const X(iodim) * howmany_dims, R * ri,  \
        R * ii, R * out, unsigned flags);                                                          \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_guru64_dft_r2c)(int rank, const X(iodim64) * dims, int howmany_rank,                \
                               const X(iodim64) * howmany_dims, R * in, C * out, unsigned flags);  \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_guru64_dft_c2r)(int rank, const X(iodim64) * dims, int howmany_rank,                \
                               const X(iodim64) * howmany_dims, C * in, R * out, unsigned flags);  \
    QVSIP_FFTW3_API X(plan) X(plan_guru64_split_dft_r2c)(                                          \
        int rank, const X(iodim64) * dims, int howmany_rank, const X(iodim64) * howmany_dims,      \
        R * in, R * ro, R * io, unsigned flags);                                                   \
    QVSIP_FFTW3_API X(plan) X(plan_guru64_split_dft_c2r)(                                          \
        int rank, const X(iodim64) * dims, int howmany_rank, const X(iodim64) * howmany_dims,      \
        R * ri, R * ii, R * out, unsigned flags);                                                  \
    QVSIP_FFTW3_API void X(execute_dft_r2c)(const X(plan) p, R* in, C* out);                       \
    QVSIP_FFTW3_API void X(execute_dft_c2r)(const X(plan) p, C* in, R* out);                       \
    QVSIP_FFTW3_API void X(execute_split_dft_r2c)(const X(plan) p, R* in, R* ro, R* io);           \
    QVSIP_FFTW3_API void X(execute_split_dft_c2r)(const X(plan) p, R* ri, R* ii, R* out);          \
                                                                                                   \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_many_r2r)(int rank, const int* n, int howmany, R* in, const int* inembed,           \
                         int istride, int idist, R* out, const int* onembed, int ostride,          \
                         int odist, const X(r2r_kind) * kind, unsigned flags);                     \
    QVSIP_FFTW3_API X(plan) X(plan_r2r)(int rank, const int* n, R* in, R* out,                     \
                                        const X(r2r_kind) * kind, unsigned flags);                 \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_r2r_1d)(int n, R* in, R* out, X(r2r_kind) kind, unsigned flags);                    \
    QVSIP_FFTW3_API X(plan) X(plan_r2r_2d)(int n0, int n1, R* in, R* out, X(r2r_kind) kind0,       \
                                           X(r2r_kind) kind1, unsigned flags);                     \
    QVSIP_FFTW3_API X(plan)                                                                        \
        X(plan_r2r_3d)(int n0, int n1, int n2, R* in, R* out, X(r2r_kind) kind0,                   \
                       X(r2r_kind) kind1, X(r2r_kind) kind2, unsigned flags);                      \
    QVSIP_FFTW3_API X(plan) X(plan_guru_r2r)(int rank, const X(iodim) * dims, int howmany_rank,    \
                                             const X(iodim) * howmany_dims, R * in, R * out,       \
                                             const X(r2r_kind) * kind, unsigned flags);            \
    QVSIP_FFTW3_API X(plan) X(plan_guru64_r2r)(                                                    \
        int rank, const X(iodim64) * dims, int howmany_rank, const X(iodim64) * howmany_dims,      \
        R * in, R * out, const X(r2r_kind) * kind, unsigned flags);                                \
    QVSIP_FFTW3_API void X(execute_r2r)(const X(plan) p, R* in, R* out);                           \
                                                                                                   \
    QVSIP_FFTW3_API void X(destroy_plan)(X(plan) p);                                               \
    QVSIP_FFTW3_API void X(forget_wisdom)(void);                                                   \
    QVSIP_FFTW3_API void X(cleanup)(void);                                                         \
    QVSIP_FFTW3_API void X(set_timelimit)(double t);                                               \
                                                                                                   \
    QVSIP_FFTW3_API void X(plan_with_nthreads)(int nthreads);                                      \
    QVSIP_FFTW3_API int X(planner_nthreads)(void);                                                 \
    QVSIP_FFTW3_API int X(init_threads)(void);                                                     \
    QVSIP_FFTW3_API void X(cleanup_threads)(void);                                                 \
    QVSIP_FFTW3_API void X(threads_set_callback)(                                                  \
        void (*parallel_loop)(void* (*work)(char*), char* jobdata, size_t elsize, int njobs,       \
                              void* data),                                                         \
        void* data);                                                                               \
    QVSIP_FFTW3_API void X(make_planner_thread_safe)(void);                                        \
                                                                                                   \
    QVSIP_FFTW3_API int X(export_wisdom_to_filename)(const char* filename);                        \
    QVSIP_FFTW3_API void X(export_wisdom_to_file)(FILE * output_file);                             \
    QVSIP_FFTW3_API char* X(export_wisdom_to_string)(void);                                        \
    QVSIP_FFTW3_API void X(export_wisdom)(X(write_char_func) write_char, void* data);              \
    QVSIP_FFTW3_API int X(import_system_wisdom)(void);                                             \
    QVSIP_FFTW3_API int X(import_wisdom_from_filename)(const char* filename);                      \
    QVSIP_FFTW3_API int X(import_wisdom_from_file)(FILE * input_file);                             \
    QVSIP_FFTW3_API int X(import_wisdom_from_string)(const char* input_string);                    \
    QVSIP_FFTW3_API int X(import_wisdom)(X(read_char_func) read_char, void* data);                 \
                                                                                                   \
    QVSIP_FFTW3_API void X(fprint_plan)(const X(plan) p, FILE* output_file);                       \
    QVSIP_FFTW3_API void X(print_plan)(const X(plan) p);                                           \
    QVSIP_FFTW3_API char* X(sprint_plan)(const X(plan) p);                                         \
                                                                                                   \
    QVSIP_FFTW3_API void* X(malloc)(size_t n);                                                     \
    QVSIP_FFTW3_API R* X(alloc_real)(size_t n);                                                    \
    QVSIP_FFTW3_API C* X(alloc_complex)(size_t n);                                                 \
    QVSIP_FFTW3_API void X(free)(void* p);                                                         \
                                                                                                   \
    QVSIP_FFTW3_API void X(flops)(const X(plan) p, double* add, double* mul, double* fmas);        \
    QVSIP_FFTW3_API double X(estimate_cost)(const X(plan) p);                                      \
    QVSIP_FFTW3_API double X(cost)(const X(plan) p);                                               \
                                                                                                   \
    QVSIP_FFTW3_API int X(alignment_of)(R * p);                                                    \
    QVSIP_FFTW3_API const char X(version)[];                                                       \
    QVSIP_FFTW3_API const char X(cc)[];                                                            \
    QVSIP_FFTW3_API const char X(codelet_optim)[];

#define QVSIP_FFTW3_MANGLE_DOUBLE(name) fftw_##name
#define QVSIP_FFTW3_MANGLE_FLOAT(name) fftwf_##name
#define QVSIP_FFTW3_MANGLE_LONG_DOUBLE(name) fftwl_##name
#define QVSIP_FFTW3_MANGLE_QUAD(name) fftwq_##name

QVSIP_FFTW3_COMPLEX_TYPEDEF(QVSIP_FFTW3_MANGLE_DOUBLE, double)
QVSIP_FFTW3_DEFINE_API(QVSIP_FFTW3_MANGLE_DOUBLE, double, fftw_complex)
QVSIP_FFTW3_COMPLEX_TYPEDEF(QVSIP_FFTW3_MANGLE_FLOAT, float)
QVSIP_FFTW3_DEFINE_API(QVSIP_FFTW3_MANGLE_FLOAT, float, fftwf_complex)
QVSIP_FFTW3_COMPLEX_TYPEDEF(QVSIP_FFTW3_MANGLE_LONG_DOUBLE, long double)
QVSIP_FFTW3_DEFINE_API(QVSIP_FFTW3_MANGLE_LONG_DOUBLE, long double, fftwl_complex)
#if defined(__GNUC__) && !defined(__clang__) && (defined(__i386__) || defined(__x86_64__)) &&      \
    !defined(__cplusplus) && !defined(__STRICT_ANSI__)
/* C has no complex form of __float128: the quadruple complex type is always two reals. */
typedef __float128 fftwq_complex[2];
QVSIP_FFTW3_DEFINE_API(QVSIP_FFTW3_MANGLE_QUAD, __float128, fftwq_complex)
#endif

#ifdef __cplusplus
}
#endif

#endif /* QVSIP_FFTW3_H */
