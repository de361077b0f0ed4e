// The planners: every basic and advanced call becomes a guru description, and every guru
// description a problem for make_plan.
#include <vector>

#include "compat/fftw3/plan.hpp"

namespace fftw3 = qtx::QVSIP_FFTW3_NAMESPACE;
using fftw3::dimension;
using fftw3::family;
using fftw3::im;
using fftw3::problem;
using fftw3::re;
using fftw3::real;

namespace {

// Guru dimensions as a list; false for a negative rank or missing records.
template <typename Iodim> bool read_dims(int rank, const Iodim* dims, std::vector<dimension>& out) {
    if (rank < 0 || (rank > 0 && !dims)) return false;
    for (int i = 0; i < rank; ++i)
        out.push_back({dims[i].n, dims[i].is, dims[i].os});
    return true;
}

// The documented interface has no input-preserving multi-dimensional complex-to-real
// algorithm and returns no plan when one is asked for out of place; ours would keep the input
// anyway, but the answer is the documented one.
bool refuses_preserving(const problem& p) {
    int transformed = 0;
    for (const dimension& d : p.dims)
        transformed += d.n > 1;
    return transformed > 1 && p.data.in_re != p.data.out_re;
}

template <typename Iodim>
X(plan)
guru(family kind, int rank, const Iodim* dims, int howmany_rank, const Iodim* howmany_dims,
     const fftw3::arrays& data, bool split, int sign, const X(r2r_kind) * kinds, unsigned flags) {
    try {
        problem p{};
        p.kind = kind;
        p.sign = sign;
        p.data = data;
        p.split_in = split && kind != family::r2c;
        p.split_out = split && kind != family::c2r;
        if (!read_dims(rank, dims, p.dims) || !read_dims(howmany_rank, howmany_dims, p.howmany))
            return nullptr;
        if (kind == family::dft && sign != FFTW_FORWARD && sign != FFTW_BACKWARD) return nullptr;
        if (kind == family::c2r && (flags & FFTW_PRESERVE_INPUT) && refuses_preserving(p))
            return nullptr;
        if (kind == family::r2r) {
            if (rank > 0 && !kinds) return nullptr;
            p.r2r_kinds.assign(kinds, kinds + rank);
        }
        return fftw3::make_plan(std::move(p));
    } catch (...) {
        return nullptr;
    }
}

// The advanced layout: dimension i of an array embedded in `embed` has stride
// stride * embed[i+1] * ... ; real-complex transforms count the complex side's last dimension
// as n/2 + 1 and, in place without an embedding, pad the real rows to 2 (n/2 + 1) reals.
X(plan)
many(family kind, int rank, const int* n, int howmany, const fftw3::arrays& data,
     const int* inembed, int istride, int idist, const int* onembed, int ostride, int odist,
     int sign, const X(r2r_kind) * kinds, unsigned flags) {
    if (rank < 0 || howmany < 0 || (rank > 0 && !n)) return nullptr;
    for (int i = 0; i < rank; ++i)
        if (n[i] < 1) return nullptr;
    const bool inplace = data.in_re == data.out_re;
    auto side_lengths = [&](const int* embed, bool complex_side) {
        std::vector<std::int64_t> len(n, n + rank);
        if (embed) return std::vector<std::int64_t>(embed, embed + rank);
        if (rank > 0 && kind != family::dft && kind != family::r2r)
            len.back() = complex_side ? n[rank - 1] / 2 + 1
                                      : (inplace ? 2 * (n[rank - 1] / 2 + 1) : n[rank - 1]);
        return len;
    };
    const auto in_len = side_lengths(inembed, kind == family::c2r);
    const auto out_len = side_lengths(onembed, kind == family::r2c);
    std::vector<X(iodim64)> dims(static_cast<std::size_t>(rank));
    std::int64_t is = istride, os = ostride;
    for (int i = rank; i-- > 0;) {
        dims[i] = {n[i], static_cast<ptrdiff_t>(is), static_cast<ptrdiff_t>(os)};
        if (__builtin_mul_overflow(is, in_len[i], &is) ||
            __builtin_mul_overflow(os, out_len[i], &os))
            return nullptr;
    }
    const X(iodim64) batch{howmany, idist, odist};
    return guru(kind, rank, dims.data(), 1, &batch, data, false, sign, kinds, flags);
}

fftw3::arrays complex_to_complex(X(complex) * in, X(complex) * out) {
    return {re(in), im(in), re(out), im(out)};
}
fftw3::arrays real_to_complex(real* in, X(complex) * out) {
    return {in, nullptr, re(out), im(out)};
}
fftw3::arrays complex_to_real(X(complex) * in, real* out) {
    return {re(in), im(in), out, nullptr};
}
fftw3::arrays real_to_real(real* in, real* out) {
    return {in, nullptr, out, nullptr};
}

} // namespace

extern "C" {

// Advanced interface.
X(plan)
X(plan_many_dft)
(int rank, const int* n, int howmany, X(complex) * in, const int* inembed, int istride, int idist,
 X(complex) * out, const int* onembed, int ostride, int odist, int sign, unsigned flags) {
    return many(family::dft, rank, n, howmany, complex_to_complex(in, out), inembed, istride, idist,
                onembed, ostride, odist, sign, nullptr, flags);
}
X(plan)
X(plan_many_dft_r2c)
(int rank, const int* n, int howmany, real* in, const int* inembed, int istride, int idist,
 X(complex) * out, const int* onembed, int ostride, int odist, unsigned flags) {
    return many(family::r2c, rank, n, howmany, real_to_complex(in, out), inembed, istride, idist,
                onembed, ostride, odist, FFTW_FORWARD, nullptr, flags);
}
X(plan)
X(plan_many_dft_c2r)
(int rank, const int* n, int howmany, X(complex) * in, const int* inembed, int istride, int idist,
 real* out, const int* onembed, int ostride, int odist, unsigned flags) {
    return many(family::c2r, rank, n, howmany, complex_to_real(in, out), inembed, istride, idist,
                onembed, ostride, odist, FFTW_BACKWARD, nullptr, flags);
}
X(plan)
X(plan_many_r2r)
(int rank, const int* n, int howmany, real* in, const int* inembed, int istride, int idist,
 real* out, const int* onembed, int ostride, int odist, const X(r2r_kind) * kind, unsigned flags) {
    if (rank > 0 && !kind) return nullptr;
    return many(family::r2r, rank, n, howmany, real_to_real(in, out), inembed, istride, idist,
                onembed, ostride, odist, 0, kind, flags);
}

// Basic interface: one dense array.
X(plan)
X(plan_dft)(int rank, const int* n, X(complex) * in, X(complex) * out, int sign, unsigned flags) {
    return X(plan_many_dft)(rank, n, 1, in, nullptr, 1, 1, out, nullptr, 1, 1, sign, flags);
}
X(plan) X(plan_dft_1d)(int n, X(complex) * in, X(complex) * out, int sign, unsigned flags) {
    return X(plan_dft)(1, &n, in, out, sign, flags);
}
X(plan)
X(plan_dft_2d)(int n0, int n1, X(complex) * in, X(complex) * out, int sign, unsigned flags) {
    const int n[] = {n0, n1};
    return X(plan_dft)(2, n, in, out, sign, flags);
}
X(plan)
X(plan_dft_3d)
(int n0, int n1, int n2, X(complex) * in, X(complex) * out, int sign, unsigned flags) {
    const int n[] = {n0, n1, n2};
    return X(plan_dft)(3, n, in, out, sign, flags);
}
X(plan) X(plan_dft_r2c)(int rank, const int* n, real* in, X(complex) * out, unsigned flags) {
    return X(plan_many_dft_r2c)(rank, n, 1, in, nullptr, 1, 1, out, nullptr, 1, 1, flags);
}
X(plan) X(plan_dft_r2c_1d)(int n, real* in, X(complex) * out, unsigned flags) {
    return X(plan_dft_r2c)(1, &n, in, out, flags);
}
X(plan) X(plan_dft_r2c_2d)(int n0, int n1, real* in, X(complex) * out, unsigned flags) {
    const int n[] = {n0, n1};
    return X(plan_dft_r2c)(2, n, in, out, flags);
}
X(plan) X(plan_dft_r2c_3d)(int n0, int n1, int n2, real* in, X(complex) * out, unsigned flags) {
    const int n[] = {n0, n1, n2};
    return X(plan_dft_r2c)(3, n, in, out, flags);
}
X(plan) X(plan_dft_c2r)(int rank, const int* n, X(complex) * in, real* out, unsigned flags) {
    return X(plan_many_dft_c2r)(rank, n, 1, in, nullptr, 1, 1, out, nullptr, 1, 1, flags);
}
X(plan) X(plan_dft_c2r_1d)(int n, X(complex) * in, real* out, unsigned flags) {
    return X(plan_dft_c2r)(1, &n, in, out, flags);
}
X(plan) X(plan_dft_c2r_2d)(int n0, int n1, X(complex) * in, real* out, unsigned flags) {
    const int n[] = {n0, n1};
    return X(plan_dft_c2r)(2, n, in, out, flags);
}
X(plan) X(plan_dft_c2r_3d)(int n0, int n1, int n2, X(complex) * in, real* out, unsigned flags) {
    const int n[] = {n0, n1, n2};
    return X(plan_dft_c2r)(3, n, in, out, flags);
}
X(plan)
X(plan_r2r)(int rank, const int* n, real* in, real* out, const X(r2r_kind) * kind, unsigned flags) {
    return X(plan_many_r2r)(rank, n, 1, in, nullptr, 1, 1, out, nullptr, 1, 1, kind, flags);
}
X(plan) X(plan_r2r_1d)(int n, real* in, real* out, X(r2r_kind) kind, unsigned flags) {
    return X(plan_r2r)(1, &n, in, out, &kind, flags);
}
X(plan)
X(plan_r2r_2d)
(int n0, int n1, real* in, real* out, X(r2r_kind) kind0, X(r2r_kind) kind1, unsigned flags) {
    const int n[] = {n0, n1};
    const X(r2r_kind) kinds[] = {kind0, kind1};
    return X(plan_r2r)(2, n, in, out, kinds, flags);
}
X(plan)
X(plan_r2r_3d)
(int n0, int n1, int n2, real* in, real* out, X(r2r_kind) kind0, X(r2r_kind) kind1,
 X(r2r_kind) kind2, unsigned flags) {
    const int n[] = {n0, n1, n2};
    const X(r2r_kind) kinds[] = {kind0, kind1, kind2};
    return X(plan_r2r)(3, n, in, out, kinds, flags);
}

// Guru interface, with int and with ptrdiff_t dimensions.
#define QVSIP_FFTW3_GURU(G, D)                                                                     \
    X(plan)                                                                                        \
    X(G##_dft)                                                                                     \
    (int rank, const D* dims, int hrank, const D* hdims, X(complex) * in, X(complex) * out,        \
     int sign, unsigned flags) {                                                                   \
        return guru(family::dft, rank, dims, hrank, hdims, complex_to_complex(in, out), false,     \
                    sign, nullptr, flags);                                                         \
    }                                                                                              \
    X(plan)                                                                                        \
    X(G##_split_dft)                                                                               \
    (int rank, const D* dims, int hrank, const D* hdims, real* ri, real* ii, real* ro, real* io,   \
     unsigned flags) {                                                                             \
        /* The sign is given by the order of the parts: forward when ii follows ri. */             \
        return guru(family::dft, rank, dims, hrank, hdims, {ri, ii, ro, io}, true, FFTW_FORWARD,   \
                    nullptr, flags);                                                               \
    }                                                                                              \
    X(plan)                                                                                        \
    X(G##_dft_r2c)                                                                                 \
    (int rank, const D* dims, int hrank, const D* hdims, real* in, X(complex) * out,               \
     unsigned flags) {                                                                             \
        return guru(family::r2c, rank, dims, hrank, hdims, real_to_complex(in, out), false,        \
                    FFTW_FORWARD, nullptr, flags);                                                 \
    }                                                                                              \
    X(plan)                                                                                        \
    X(G##_split_dft_r2c)                                                                           \
    (int rank, const D* dims, int hrank, const D* hdims, real* in, real* ro, real* io,             \
     unsigned flags) {                                                                             \
        return guru(family::r2c, rank, dims, hrank, hdims, {in, nullptr, ro, io}, true,            \
                    FFTW_FORWARD, nullptr, flags);                                                 \
    }                                                                                              \
    X(plan)                                                                                        \
    X(G##_dft_c2r)                                                                                 \
    (int rank, const D* dims, int hrank, const D* hdims, X(complex) * in, real * out,              \
     unsigned flags) {                                                                             \
        return guru(family::c2r, rank, dims, hrank, hdims, complex_to_real(in, out), false,        \
                    FFTW_BACKWARD, nullptr, flags);                                                \
    }                                                                                              \
    X(plan)                                                                                        \
    X(G##_split_dft_c2r)                                                                           \
    (int rank, const D* dims, int hrank, const D* hdims, real* ri, real* ii, real* out,            \
     unsigned flags) {                                                                             \
        return guru(family::c2r, rank, dims, hrank, hdims, {ri, ii, out, nullptr}, true,           \
                    FFTW_BACKWARD, nullptr, flags);                                                \
    }                                                                                              \
    X(plan)                                                                                        \
    X(G##_r2r)                                                                                     \
    (int rank, const D* dims, int hrank, const D* hdims, real* in, real* out,                      \
     const X(r2r_kind) * kind, unsigned flags) {                                                   \
        return guru(family::r2r, rank, dims, hrank, hdims, real_to_real(in, out), false, 0, kind,  \
                    flags);                                                                        \
    }

QVSIP_FFTW3_GURU(plan_guru, X(iodim))
QVSIP_FFTW3_GURU(plan_guru64, X(iodim64))

} // extern "C"
