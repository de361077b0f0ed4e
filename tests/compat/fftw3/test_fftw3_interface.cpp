// The interface libraries against the original library, loaded with dlopen (RTLD_LOCAL and
// RTLD_DEEPBIND: both define the same names). One harness plans each guru description with
// both, runs both on identical arrays and compares every element of the arrays afterwards, so
// wrong values, stray writes and destroyed inputs all show.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "qvsip/fftw3/fftw3.h"

namespace {

enum class family { dft, split_dft, r2c, c2r, r2r };

// Our functions and the original's for one precision.
template <typename R> struct api;

#define QVSIP_TEST_API(R, P, LIB)                                                                  \
    template <> struct api<R> {                                                                    \
        using plan = P##plan;                                                                      \
        using iodim64 = P##iodim64;                                                                \
        static constexpr const char* library = LIB;                                                \
        static constexpr const char* prefix = #P;                                                  \
        static constexpr double tolerance = sizeof(R) == 4 ? 2e-5 : 1e-12;                         \
        static plan ours(family f, int r, const iodim64* d, int h, const iodim64* hd, R* i0,       \
                         R* i1, R* o0, R* o1, int sign, const int* kinds) {                        \
            auto* ci = reinterpret_cast<P##complex*>(i0);                                          \
            auto* co = reinterpret_cast<P##complex*>(o0);                                          \
            auto* k = reinterpret_cast<const P##r2r_kind*>(kinds);                                 \
            switch (f) {                                                                           \
            case family::dft:                                                                      \
                return P##plan_guru64_dft(r, d, h, hd, ci, co, sign, FFTW_ESTIMATE);               \
            case family::split_dft:                                                                \
                return P##plan_guru64_split_dft(r, d, h, hd, i0, i1, o0, o1, FFTW_ESTIMATE);       \
            case family::r2c:                                                                      \
                return P##plan_guru64_dft_r2c(r, d, h, hd, i0, co, FFTW_ESTIMATE);                 \
            case family::c2r:                                                                      \
                return P##plan_guru64_dft_c2r(r, d, h, hd, ci, o0, FFTW_ESTIMATE);                 \
            case family::r2r:                                                                      \
                return P##plan_guru64_r2r(r, d, h, hd, i0, o0, k, FFTW_ESTIMATE);                  \
            }                                                                                      \
            return nullptr;                                                                        \
        }                                                                                          \
        static void execute(plan p) { P##execute(p); }                                             \
        static void destroy(plan p) { P##destroy_plan(p); }                                        \
    };
QVSIP_TEST_API(double, fftw_, "libfftw3.so.3")
QVSIP_TEST_API(float, fftwf_, "libfftw3f.so.3")

// The sanitizer runtimes refuse RTLD_DEEPBIND. Without it the original's calls between its own
// public functions could reach ours, which can only make a comparison vacuous, not fail: the
// sanitizer builds look for memory and thread errors, the native build compares.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int own_symbols_first = 0;
#else
constexpr int own_symbols_first = RTLD_DEEPBIND;
#endif

// The original library's functions, found by name.
template <typename R> struct original {
    using plan = void*;
    using iodim64 = typename api<R>::iodim64;
    void* handle = dlopen(api<R>::library, RTLD_NOW | RTLD_LOCAL | own_symbols_first);
    template <typename F> F find(const char* name) const {
        return reinterpret_cast<F>(dlsym(handle, (std::string(api<R>::prefix) + name).c_str()));
    }
    using guru_c = plan (*)(int, const iodim64*, int, const iodim64*, void*, void*, int, unsigned);
    using guru_split = plan (*)(int, const iodim64*, int, const iodim64*, R*, R*, R*, R*, unsigned);
    using guru_rc = plan (*)(int, const iodim64*, int, const iodim64*, void*, void*, unsigned);
    using guru_r2r = plan (*)(int, const iodim64*, int, const iodim64*, R*, R*, const int*,
                              unsigned);
    plan make(family f, int r, const iodim64* d, int h, const iodim64* hd, R* i0, R* i1, R* o0,
              R* o1, int sign, const int* kinds) const {
        switch (f) {
        case family::dft:
            return find<guru_c>("plan_guru64_dft")(r, d, h, hd, i0, o0, sign, FFTW_ESTIMATE);
        case family::split_dft:
            return find<guru_split>("plan_guru64_split_dft")(r, d, h, hd, i0, i1, o0, o1,
                                                             FFTW_ESTIMATE);
        case family::r2c:
            return find<guru_rc>("plan_guru64_dft_r2c")(r, d, h, hd, i0, o0, FFTW_ESTIMATE);
        case family::c2r:
            return find<guru_rc>("plan_guru64_dft_c2r")(r, d, h, hd, i0, o0, FFTW_ESTIMATE);
        case family::r2r:
            return find<guru_r2r>("plan_guru64_r2r")(r, d, h, hd, i0, o0, kinds, FFTW_ESTIMATE);
        }
        return nullptr;
    }
    void execute(plan p) const { find<void (*)(plan)>("execute")(p); }
    void destroy(plan p) const { find<void (*)(plan)>("destroy_plan")(p); }
};

struct dim {
    long n, is, os;
};

struct layout_case {
    const char* name;
    family kind;
    std::vector<dim> dims, howmany;
    bool inplace;
    int sign;
    std::vector<int> kinds;
};

// Reals per element of each side.
int in_width(family f) {
    return f == family::dft || f == family::c2r ? 2 : 1;
}
int out_width(family f) {
    return f == family::dft || f == family::r2c ? 2 : 1;
}

// Lowest and highest element offsets a side reaches; the last dimension of the complex side of
// a real-complex transform has n/2 + 1 elements.
std::pair<long, long> span(const layout_case& c, bool input) {
    long lo = 0, hi = 0;
    auto add = [&](long n, long s) { (s < 0 ? lo : hi) += (n - 1) * s; };
    for (const dim& d : c.howmany)
        add(d.n, input ? d.is : d.os);
    const bool complex_side = input ? c.kind == family::c2r : c.kind == family::r2c;
    for (size_t i = 0; i < c.dims.size(); ++i) {
        long n = c.dims[i].n;
        if (complex_side && i + 1 == c.dims.size()) n = n / 2 + 1;
        add(n, input ? c.dims[i].is : c.dims[i].os);
    }
    return {lo, hi};
}

// One side's storage: reals with the element at offset 0 at `origin`.
struct side {
    std::vector<double> values;
    long origin;
};

template <typename R> struct arrays {
    std::vector<R> in, out; // out unused in place
    long in_origin, out_origin;
    R* ptr(std::vector<R>& v, long origin) { return v.data() + origin; }
};

// Complex-to-real input must be Hermitian where it holds redundant values (the first and,
// for even lengths, the middle column of the last dimension), or the result depends on which
// copy an algorithm reads: each such value is averaged with the conjugate of its mirror.
template <typename R> void make_hermitian(const layout_case& c, R* re, R* im, long scale) {
    const size_t rank = c.dims.size();
    if (rank == 0) return;
    const long last = c.dims.back().n;
    std::vector<long> batch_index(c.howmany.size(), 0), k(rank, 0);
    auto offset = [&](const std::vector<long>& idx) {
        long o = 0;
        for (size_t i = 0; i < c.howmany.size(); ++i)
            o += batch_index[i] * c.howmany[i].is;
        for (size_t i = 0; i < rank; ++i)
            o += idx[i] * c.dims[i].is;
        return o * scale;
    };
    auto next = [](std::vector<long>& idx, auto length) {
        for (size_t i = idx.size(); i-- > 0;) {
            if (++idx[i] < length(i)) return true;
            idx[i] = 0;
        }
        return false;
    };
    do {
        for (long column : {0L, last % 2 == 0 ? last / 2 : 0L}) {
            std::vector<long> lead(rank - 1, 0);
            do {
                k.assign(lead.begin(), lead.end());
                k.push_back(column);
                std::vector<long> mirror(rank);
                for (size_t i = 0; i + 1 < rank; ++i)
                    mirror[i] = (c.dims[i].n - k[i]) % c.dims[i].n;
                mirror.back() = column;
                const long a = offset(k), b = offset(mirror);
                const R r = (re[a] + re[b]) / 2, i = (im[a] - im[b]) / 2;
                re[a] = re[b] = r;
                im[a] = i;
                im[b] = -i;
            } while (next(lead, [&](size_t i) { return c.dims[i].n; }));
        }
    } while (next(batch_index, [&](size_t i) { return c.howmany[i].n; }));
}

template <typename R> void run_case(const layout_case& c) {
    using A = api<R>;
    original<R> fftw;
    ASSERT_NE(fftw.handle, nullptr) << dlerror();
    const family kind = c.kind == family::split_dft ? family::dft : c.kind;
    const auto [ilo, ihi] = span(c, true);
    const auto [olo, ohi] = span(c, false);
    // Element units: interleaved complex sides span twice the reals; split ones are separate.
    const int iw = c.kind == family::split_dft ? 1 : in_width(kind);
    const int ow = c.kind == family::split_dft ? 1 : out_width(kind);
    const long in_size = (ihi - ilo + 1) * iw, out_size = (ohi - olo + 1) * ow;
    const long size =
        c.inplace ? std::max(in_size, out_size) + 2 * std::max(-ilo, -olo) * 2 : in_size;
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> u(-1, 1);
    auto fill = [&](long n) {
        std::vector<R> v(static_cast<size_t>(n));
        for (R& x : v)
            x = static_cast<R>(u(gen));
        return v;
    };
    // Four buffers per run: input (real part), input imaginary part (split), output, output
    // imaginary part (split); in place the output is the input.
    std::vector<std::vector<R>> initial = {fill(size), fill(size), fill(out_size), fill(out_size)};
    std::vector<std::vector<R>> mine = initial, theirs = initial;
    auto pointers = [&](std::vector<std::vector<R>>& b, R** p) {
        const long ib = c.inplace ? -std::min(ilo, olo) * 2 : -ilo * iw;
        p[0] = b[0].data() + ib;
        p[1] = c.kind == family::split_dft ? b[1].data() + ib : nullptr;
        p[2] = c.inplace ? p[0] : b[2].data() - olo * ow;
        p[3] = c.kind == family::split_dft ? (c.inplace ? p[1] : b[3].data() - olo * ow) : nullptr;
    };
    std::vector<typename A::iodim64> d, h;
    for (const dim& x : c.dims)
        d.push_back({x.n, x.is, x.os});
    for (const dim& x : c.howmany)
        h.push_back({x.n, x.is, x.os});
    R* mp[4];
    R* tp[4];
    pointers(mine, mp);
    pointers(theirs, tp);
    const int rank = static_cast<int>(d.size()), hrank = static_cast<int>(h.size());
    auto ref = fftw.make(c.kind, rank, d.data(), hrank, h.data(), tp[0], tp[1], tp[2], tp[3],
                         c.sign, c.kinds.data());
    auto plan = A::ours(c.kind, rank, d.data(), hrank, h.data(), mp[0], mp[1], mp[2], mp[3], c.sign,
                        c.kinds.data());
    ASSERT_EQ(plan == nullptr, ref == nullptr) << "planned by one library only";
    if (!plan) return;
    if (c.kind == family::c2r) {
        // Where the input starts in the first buffer, reals per element 2 (interleaved).
        std::vector<std::vector<R>> probe = initial;
        R* p[4];
        pointers(probe, p);
        make_hermitian(c, p[0], p[0] + 1, 2);
        initial[0] = probe[0];
    }
    // The planners may have scribbled on the arrays: start both from the same contents.
    mine = initial;
    theirs = initial;
    fftw.execute(ref);
    A::execute(plan);
    fftw.destroy(ref);
    A::destroy(plan);
    double scale = 1;
    for (auto& b : theirs)
        for (R x : b)
            scale = std::max(scale, std::abs(static_cast<double>(x)));
    // Out-of-place complex-to-real transforms may destroy their input (the default flags).
    const size_t first = c.kind == family::c2r && !c.inplace ? 2 : 0;
    for (size_t b = first; b < mine.size(); ++b)
        for (size_t i = 0; i < mine[b].size(); ++i)
            ASSERT_NEAR(mine[b][i], theirs[b][i], A::tolerance * scale)
                << "buffer " << b << " element " << i;
}

constexpr int fwd = FFTW_FORWARD, bwd = FFTW_BACKWARD;
const std::vector<layout_case> layout_cases = {
    {"dft_1d", family::dft, {{64, 1, 1}}, {}, false, fwd, {}},
    {"dft_1d_prime_backward_inplace", family::dft, {{97, 1, 1}}, {}, true, bwd, {}},
    {"dft_2d_batched", family::dft, {{6, 10, 10}, {10, 1, 1}}, {{3, 60, 60}}, false, fwd, {}},
    {"dft_negative_strides", family::dft, {{16, -1, -2}}, {{3, -16, 40}}, false, fwd, {}},
    {"dft_negative_inplace", family::dft, {{12, -1, -1}}, {{2, 12, 12}}, true, bwd, {}},
    {"dft_zero_input_stride", family::dft, {{8, 1, 1}}, {{4, 0, 8}}, false, fwd, {}},
    {"dft_rank_4",
     family::dft,
     {{2, 60, 60}, {3, 20, 20}, {4, 5, 5}, {5, 1, 1}},
     {},
     false,
     fwd,
     {}},
    {"dft_rank_5_inplace",
     family::dft,
     {{2, 48, 48}, {2, 24, 24}, {2, 12, 12}, {3, 4, 4}, {4, 1, 1}},
     {},
     true,
     bwd,
     {}},
    {"dft_four_batch_dims",
     family::dft,
     {{8, 1, 1}},
     {{2, 8, 8}, {2, 16, 16}, {2, 32, 32}, {2, 64, 64}},
     false,
     fwd,
     {}},
    {"dft_rank_0_copy", family::dft, {}, {{5, 2, 1}}, false, fwd, {}},
    {"dft_length_1_dims", family::dft, {{1, 8, 8}, {8, 1, 1}}, {{1, 0, 0}}, false, fwd, {}},
    {"split_dft_2d", family::split_dft, {{4, 6, 6}, {6, 1, 1}}, {{2, 24, 24}}, false, fwd, {}},
    {"split_dft_negative", family::split_dft, {{10, -1, 1}}, {}, false, fwd, {}},
    {"r2c_1d", family::r2c, {{30, 1, 1}}, {}, false, fwd, {}},
    {"r2c_2d_inplace_padded", family::r2c, {{5, 10, 5}, {8, 1, 1}}, {}, true, fwd, {}},
    {"r2c_negative", family::r2c, {{9, -1, -1}}, {{2, 9, -5}}, false, fwd, {}},
    {"r2c_rank_4",
     family::r2c,
     {{2, 120, 72}, {3, 40, 24}, {4, 10, 6}, {10, 1, 1}},
     {},
     false,
     fwd,
     {}},
    {"r2c_rank_0", family::r2c, {}, {{4, 1, 1}}, false, fwd, {}},
    {"c2r_rank_0", family::c2r, {}, {{4, 2, 1}}, false, bwd, {}},
    {"c2r_1d", family::c2r, {{16, 1, 1}}, {}, false, bwd, {}},
    {"c2r_3d_batched",
     family::c2r,
     {{3, 20, 40}, {4, 5, 10}, {8, 1, 1}},
     {{2, 60, 120}},
     false,
     bwd,
     {}},
    {"c2r_negative", family::c2r, {{11, -1, 2}}, {}, false, bwd, {}},
    {"c2r_rank_4",
     family::c2r,
     {{2, 60, 120}, {3, 20, 40}, {2, 10, 20}, {18, 1, 1}},
     {},
     false,
     bwd,
     {}},
    {"r2r_each_kind", family::r2r, {{9, 1, 1}}, {}, false, fwd, {5}},
    {"r2r_2d_mixed", family::r2r, {{6, 8, 8}, {8, 1, 1}}, {{2, 48, 48}}, false, fwd, {3, 10}},
    {"r2r_negative", family::r2r, {{7, -1, 1}}, {}, false, fwd, {8}},
    {"r2r_length_1_dims",
     family::r2r,
     {{1, 4, 4}, {4, 1, 1}, {1, 4, 4}},
     {},
     false,
     fwd,
     {5, 0, 6}},
    {"r2r_rank_4_length_1_dims",
     family::r2r,
     {{1, 24, 24}, {3, 8, 8}, {2, 4, 4}, {4, 1, 1}},
     {},
     false,
     fwd,
     {6, 5, 7, 10}},
    {"r2r_rank_4_halfcomplex",
     family::r2r,
     {{2, 24, 24}, {3, 8, 8}, {2, 4, 4}, {4, 1, 1}},
     {},
     true,
     fwd,
     {0, 1, 2, 9}},
    {"refused_inplace_strides_differ", family::dft, {{8, 1, 2}}, {}, true, fwd, {}},
    {"refused_zero_length", family::dft, {{0, 1, 1}}, {}, false, fwd, {}},
    {"refused_redft00_of_1", family::r2r, {{1, 1, 1}}, {}, false, fwd, {3}},
};

class layouts : public ::testing::TestWithParam<layout_case> {};
TEST_P(layouts, single_matches_original) {
    run_case<float>(GetParam());
}
TEST_P(layouts, double_matches_original) {
    run_case<double>(GetParam());
}
INSTANTIATE_TEST_SUITE_P(fftw3, layouts, ::testing::ValuesIn(layout_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Every real-to-real kind in one and two dimensions.
TEST(fftw3, every_r2r_kind) {
    for (int k = 0; k <= 10; ++k) {
        run_case<double>({"kind", family::r2r, {{9, 1, 1}}, {}, false, fwd, {k}});
        run_case<float>({"kind", family::r2r, {{4, 6, 6}, {6, 1, 1}}, {}, false, fwd, {k, 10 - k}});
    }
}

// The advanced interface's embedded layouts, strides and distances, and its in-place padding
// without embedding, against the original's own advanced planners.
struct many_case {
    const char* name;
    std::vector<int> n, inembed, onembed;
    int howmany, istride, idist, ostride, odist;
    bool inplace;
};
const std::vector<many_case> many_cases = {
    {"embedded", {4, 6}, {5, 8}, {6, 5}, 2, 2, 90, 1, 31, false},
    {"inplace_padded", {3, 10}, {}, {}, 3, 1, 36, 1, 18, true},
    {"one_dimension_strided", {12}, {}, {}, 4, 4, 1, 4, 1, false},
};

TEST(fftw3, advanced_r2c_and_c2r_layouts) {
    original<double> fftw;
    using many_r2c = void* (*)(int, const int*, int, double*, const int*, int, int, void*,
                               const int*, int, int, unsigned);
    using many_c2r = void* (*)(int, const int*, int, void*, const int*, int, int, double*,
                               const int*, int, int, unsigned);
    for (const many_case& c : many_cases) {
        const int rank = static_cast<int>(c.n.size());
        const int* ie = c.inembed.empty() ? nullptr : c.inembed.data();
        const int* oe = c.onembed.empty() ? nullptr : c.onembed.data();
        const size_t size = 4096;
        std::vector<double> init(size);
        for (size_t i = 0; i < size; ++i)
            init[i] = std::cos(0.7 * static_cast<double>(i * i % 97));
        for (bool forward : {true, false}) {
            // In place, the backward case's input (a spectrum) would overwrite its real data.
            if (!forward && c.inplace) continue;
            std::vector<double> a_in = init, a_out = init, b_in = init, b_out = init;
            double* ao = c.inplace ? a_in.data() : a_out.data();
            double* bo = c.inplace ? b_in.data() : b_out.data();
            void* ref;
            fftw_plan plan;
            if (forward) {
                ref = fftw.find<many_r2c>("plan_many_dft_r2c")(
                    rank, c.n.data(), c.howmany, b_in.data(), ie, c.istride, c.idist, bo, oe,
                    c.ostride, c.odist, FFTW_ESTIMATE);
                plan = fftw_plan_many_dft_r2c(
                    rank, c.n.data(), c.howmany, a_in.data(), ie, c.istride, c.idist,
                    reinterpret_cast<fftw_complex*>(ao), oe, c.ostride, c.odist, FFTW_ESTIMATE);
            } else {
                // Input of the backward case: the forward case's output layout.
                ref = fftw.find<many_c2r>("plan_many_dft_c2r")(
                    rank, c.n.data(), c.howmany, b_in.data(), oe, c.ostride, c.odist, bo, ie,
                    c.istride, c.idist, FFTW_ESTIMATE);
                plan = fftw_plan_many_dft_c2r(
                    rank, c.n.data(), c.howmany, reinterpret_cast<fftw_complex*>(a_in.data()), oe,
                    c.ostride, c.odist, ao, ie, c.istride, c.idist, FFTW_ESTIMATE);
            }
            ASSERT_NE(ref, nullptr) << c.name;
            ASSERT_NE(plan, nullptr) << c.name;
            if (!forward) {
                // Hermitian input: the spectrum of real data, made by the forward plans.
                std::vector<double> real_data = init;
                fftw_plan f = fftw_plan_many_dft_r2c(rank, c.n.data(), c.howmany, real_data.data(),
                                                     ie, c.istride, c.idist,
                                                     reinterpret_cast<fftw_complex*>(a_in.data()),
                                                     oe, c.ostride, c.odist, FFTW_ESTIMATE);
                ASSERT_NE(f, nullptr);
                fftw_execute(f);
                fftw_destroy_plan(f);
                b_in = a_in;
            }
            fftw.execute(ref);
            fftw_execute(plan);
            fftw.destroy(ref);
            fftw_destroy_plan(plan);
            for (size_t i = 0; i < size; ++i) {
                // The original's backward transform may destroy its input.
                if (forward) {
                    ASSERT_NEAR(a_in[i], b_in[i], 1e-9) << c.name << " input " << i;
                }
                ASSERT_NEAR(a_out[i], b_out[i], 1e-9) << c.name << " output " << i;
            }
        }
    }
}

// Split real-complex transforms give the interleaved ones' values, on the engine's own
// layouts and on buffered ones (negative strides).
TEST(fftw3, split_real_complex_matches_interleaved) {
    for (long stride : {1L, -1L}) {
        const long n = 10, m = n / 2 + 1;
        fftw_iodim64 dim{n, stride, stride};
        std::vector<double> x(n), re(m), im(m), back(n), z(2 * m), back2(n);
        for (long i = 0; i < n; ++i)
            x[i] = std::sin(1.3 * static_cast<double>(i * i));
        const long first = stride < 0 ? m - 1 : 0, first_real = stride < 0 ? n - 1 : 0;
        auto* zc = reinterpret_cast<fftw_complex*>(z.data()) + first;
        fftw_plan split =
            fftw_plan_guru64_split_dft_r2c(1, &dim, 0, nullptr, x.data() + first_real,
                                           re.data() + first, im.data() + first, FFTW_ESTIMATE);
        fftw_plan whole =
            fftw_plan_guru64_dft_r2c(1, &dim, 0, nullptr, x.data() + first_real, zc, FFTW_ESTIMATE);
        fftw_plan split_back = fftw_plan_guru64_split_dft_c2r(
            1, &dim, 0, nullptr, re.data() + first, im.data() + first, back.data() + first_real,
            FFTW_ESTIMATE);
        fftw_plan whole_back = fftw_plan_guru64_dft_c2r(1, &dim, 0, nullptr, zc,
                                                        back2.data() + first_real, FFTW_ESTIMATE);
        ASSERT_TRUE(split && whole && split_back && whole_back);
        fftw_execute(split);
        fftw_execute(whole);
        for (long k = 0; k < m; ++k) {
            EXPECT_NEAR(re[k], z[2 * k], 1e-12) << stride;
            EXPECT_NEAR(im[k], z[2 * k + 1], 1e-12) << stride;
        }
        fftw_execute(split_back);
        fftw_execute(whole_back);
        for (long i = 0; i < n; ++i) {
            EXPECT_NEAR(back[i], n * x[i], 1e-11) << stride;
            EXPECT_NEAR(back2[i], n * x[i], 1e-11) << stride;
        }
        for (fftw_plan p : {split, whole, split_back, whole_back})
            fftw_destroy_plan(p);
    }
}

// The basic interface pads in-place real rows; new-array execution takes any alignment.
TEST(fftw3, basic_inplace_r2c_and_new_arrays) {
    const int n0 = 4, n1 = 6, padded = 2 * (n1 / 2 + 1);
    std::vector<double> a(n0 * padded + 1), b;
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = std::sin(0.3 * static_cast<double>(i));
    b = a;
    double* misaligned = b.data() + 1;
    std::copy(a.begin(), a.end() - 1, misaligned);
    auto* z = reinterpret_cast<fftw_complex*>(a.data());
    fftw_plan p = fftw_plan_dft_r2c_2d(n0, n1, a.data(), z, FFTW_ESTIMATE);
    ASSERT_NE(p, nullptr);
    std::vector<double> x(a.begin(), a.end());
    fftw_execute(p);
    fftw_execute_dft_r2c(p, misaligned, reinterpret_cast<fftw_complex*>(misaligned));
    fftw_destroy_plan(p);
    for (int i = 0; i < n0 * padded; ++i)
        EXPECT_NEAR(a[i], misaligned[i], 1e-12);
    // Row 0, column 0 of the spectrum is the sum of the real samples.
    double sum = 0;
    for (int r = 0; r < n0; ++r)
        for (int c = 0; c < n1; ++c)
            sum += x[r * padded + c];
    EXPECT_NEAR(a[0], sum, 1e-12);
}

// c2r out of place keeps its input in every rank, even with the default flags; asked for with
// FFTW_PRESERVE_INPUT, the documented interface plans only one-dimensional transforms.
TEST(fftw3, c2r_preserves_input) {
    for (int rank = 1; rank <= 4; ++rank) {
        std::vector<int> n(rank, 4);
        int count = 1;
        for (int i = 0; i + 1 < rank; ++i)
            count *= n[i];
        std::vector<float> in(count * 3 * 2);
        for (size_t i = 0; i < in.size(); ++i)
            in[i] = 0.1f * static_cast<float>(i % 7);
        const std::vector<float> copy = in;
        std::vector<float> out(count * 4);
        auto* z = reinterpret_cast<fftwf_complex*>(in.data());
        fftwf_plan preserving =
            fftwf_plan_dft_c2r(rank, n.data(), z, out.data(), FFTW_ESTIMATE | FFTW_PRESERVE_INPUT);
        EXPECT_EQ(preserving != nullptr, rank == 1) << "rank " << rank;
        fftwf_destroy_plan(preserving);
        fftwf_plan p = fftwf_plan_dft_c2r(rank, n.data(), z, out.data(), FFTW_ESTIMATE);
        ASSERT_NE(p, nullptr);
        fftwf_execute(p);
        fftwf_destroy_plan(p);
        EXPECT_EQ(in, copy) << "rank " << rank;
    }
}

TEST(fftw3, null_plans_do_nothing) {
    fftw_execute(nullptr);
    fftw_destroy_plan(nullptr);
    fftwf_execute_dft(nullptr, nullptr, nullptr);
    fftw_print_plan(nullptr);
    EXPECT_EQ(fftw_plan_dft(-1, nullptr, nullptr, nullptr, fwd, FFTW_ESTIMATE), nullptr);
    EXPECT_EQ(fftwf_plan_dft_1d(8, nullptr, nullptr, 0, FFTW_ESTIMATE), nullptr);
    EXPECT_EQ(fftw_plan_guru_dft(1, nullptr, 0, nullptr, nullptr, nullptr, fwd, 0), nullptr);
    double x[4];
    EXPECT_EQ(fftw_plan_r2r_1d(4, x, x, static_cast<fftw_r2r_kind>(11), FFTW_ESTIMATE), nullptr);
    // Layouts whose offsets leave 64 bits (here in the buffered form, for the zero stride) are
    // refused rather than wrapped.
    for (const std::int64_t huge : {std::int64_t{1} << 62, INT64_MIN, INT64_MAX / 3}) {
        const fftw_iodim64 dims[] = {{2, 0, 1}, {3, huge, 1}};
        const fftw_r2r_kind kinds[] = {FFTW_R2HC, FFTW_R2HC};
        EXPECT_EQ(fftw_plan_guru64_r2r(2, dims, 0, nullptr, x, x + 1, kinds, FFTW_ESTIMATE),
                  nullptr)
            << huge;
    }
    // New arrays in place for a plan made out of place, or of another family: nothing happens.
    double y[4] = {1, 2, 3, 4}, z[4] = {};
    fftw_plan p = fftw_plan_r2r_1d(4, y, z, FFTW_R2HC, FFTW_ESTIMATE);
    ASSERT_NE(p, nullptr);
    fftw_execute_r2r(p, y, y);
    fftw_execute_dft(p, nullptr, nullptr);
    fftw_destroy_plan(p);
    EXPECT_EQ(std::vector<double>(y, y + 4), (std::vector<double>{1, 2, 3, 4}));
}

// Wisdom: ours and the original's documents are accepted, malformed text is not, and export
// after import gives the same text.
template <typename R> void check_wisdom() {
    original<R> fftw;
    using export_fn = char* (*)();
    char* theirs = fftw.template find<export_fn>("export_wisdom_to_string")();
    const bool single = sizeof(R) == 4;
    auto exp = single ? fftwf_export_wisdom_to_string : fftw_export_wisdom_to_string;
    auto imp = single ? fftwf_import_wisdom_from_string : fftw_import_wisdom_from_string;
    char* first = exp();
    EXPECT_EQ(imp(first), 1);
    EXPECT_EQ(imp(theirs), 1);
    char* second = exp();
    EXPECT_STREQ(first, second);
    for (const char* bad : {"", "(", "()", "fftw-3.3.10 fftw_wisdom", "(a (b)", "(a \x01)"})
        EXPECT_EQ(imp(bad), 0) << bad;
    std::free(first);
    std::free(second);
    std::free(theirs);
}
TEST(fftw3, wisdom_round_trips) {
    check_wisdom<double>();
    check_wisdom<float>();
    const std::string file = ::testing::TempDir() + "fftw3_wisdom";
    ASSERT_EQ(fftw_export_wisdom_to_filename(file.c_str()), 1);
    EXPECT_EQ(fftw_import_wisdom_from_filename(file.c_str()), 1);
    fftw_plan p = fftw_plan_dft_1d(8, nullptr, nullptr, fwd, FFTW_WISDOM_ONLY);
    EXPECT_NE(p, nullptr);
    fftw_destroy_plan(p);
}

// Many threads plan, execute and destroy at once, with engine threads on.
TEST(fftw3, concurrent_planning_and_execution) {
    ASSERT_EQ(fftw_init_threads(), 1);
    fftw_plan_with_nthreads(2);
    EXPECT_EQ(fftw_planner_nthreads(), 2);
    std::atomic<int> failures{0};
    // Plans shared by every thread too, executed in place on each thread's own arrays: the
    // buffered form (rank 4), an engine plan without work buffers (1-D) and one with them
    // (2-D, long 1-D): the first and last take turns, the middle one runs concurrently.
    const std::vector<std::vector<int>> shared_shapes = {{2, 3, 2, 5}, {64}, {24, 40}, {65536}};
    std::vector<std::vector<double>> planned;
    std::vector<fftw_plan> shared;
    for (const auto& shape : shared_shapes) {
        const int total = std::accumulate(shape.begin(), shape.end(), 1, std::multiplies<>());
        planned.emplace_back(2 * total);
        auto* pz = reinterpret_cast<fftw_complex*>(planned.back().data());
        shared.push_back(fftw_plan_dft(static_cast<int>(shape.size()), shape.data(), pz, pz, fwd,
                                       FFTW_ESTIMATE));
        ASSERT_NE(shared.back(), nullptr);
    }
    std::vector<std::thread> workers;
    for (int t = 0; t < 8; ++t)
        workers.emplace_back([t, &shared, &planned, &failures] {
            for (int round = 0; round < 20; ++round) {
                const int n = 16 + 4 * ((t + round) % 7);
                std::vector<double> x(2 * n), y(2 * n), big(16 * n);
                for (int i = 0; i < n; ++i)
                    x[2 * i] = 1;
                const int dims[] = {2, 2, 2, n};
                auto* z = reinterpret_cast<fftw_complex*>(big.data());
                fftw_plan p =
                    fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex*>(x.data()),
                                     reinterpret_cast<fftw_complex*>(y.data()), fwd, FFTW_MEASURE);
                fftw_plan q = fftw_plan_dft(4, dims, z, z, bwd, FFTW_ESTIMATE);
                if (!p || !q) {
                    ++failures;
                    continue;
                }
                fftw_execute(p);
                fftw_execute(q);
                for (std::size_t s = 0; s < shared.size(); ++s) {
                    std::vector<double> own(planned[s].size(), 0.0);
                    own[0] = t + 1; // an impulse: every output is t + 1
                    auto* oz = reinterpret_cast<fftw_complex*>(own.data());
                    fftw_execute_dft(shared[s], oz, oz);
                    for (std::size_t i = 0; i < own.size(); i += 2)
                        if (std::abs(own[i] - (t + 1)) > 1e-12 || std::abs(own[i + 1]) > 1e-12)
                            ++failures;
                }
                if (std::abs(y[0] - n) > 1e-9 || std::abs(y[2]) > 1e-9) ++failures;
                fftw_destroy_plan(p);
                fftw_destroy_plan(q);
            }
        });
    for (auto& w : workers)
        w.join();
    for (fftw_plan p : shared)
        fftw_destroy_plan(p);
    EXPECT_EQ(failures.load(), 0);
    fftw_plan_with_nthreads(1);
    fftw_cleanup_threads();
}

} // namespace
