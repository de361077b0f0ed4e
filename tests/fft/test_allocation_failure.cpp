// Every planner family with each of its allocations failing in turn, once and from then on:
// the planner gives either no plan or one that matches the long-double oracle, writes nothing
// outside the arrays' addressed elements, and destroying it releases every allocation.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "common/engine_support.hpp"
#include "common/real_oracle.hpp"
#include "fft/memory.hpp"

using namespace qtx::QTX_ENGINE;
using namespace qtx::test;

namespace {

// ---- Failing allocator ----------------------------------------------------------------------

// Counts the engine's allocations and the blocks still live; allocation number fail_at fails,
// and with fail_onward every one after it too.
struct failing_memory {
    static inline long calls = 0, live = 0, fail_at = 0;
    static inline bool fail_onward = false;

    static void* allocate(size_t count, size_t size) {
        ++calls;
        if (fail_at > 0 && (calls == fail_at || (fail_onward && calls > fail_at))) return nullptr;
        void* block = std::calloc(count, size);
        if (block != nullptr) ++live;
        return block;
    }
    static void release(void* block) {
        --live;
        std::free(block);
    }
};

struct memory_swap {
    engine_memory previous;
    memory_swap()
        : previous(exchange_engine_memory({failing_memory::allocate, failing_memory::release})) {}
    ~memory_swap() { exchange_engine_memory(previous); }
};

// ---- Cases ----------------------------------------------------------------------------------

enum class family { c2c, r2c, c2r, r2r, split_c2c, split_r2c, split_c2r };

struct allocation_case {
    const char* label;
    family f;
    std::vector<guru_dim64> dims, howmany; // strides in elements of each side
    bool in_place = false;
    int threads = 1;
    int sign = -1;               // complex transforms
    std::vector<int> kinds = {}; // real-to-real transforms
};

bool is_split(family f) {
    return f == family::split_c2c || f == family::split_r2c || f == family::split_c2r;
}
bool complex_input(family f) {
    return f != family::r2c && f != family::r2r && f != family::split_r2c;
}
bool complex_output(family f) {
    return f != family::c2r && f != family::r2r && f != family::split_c2r;
}
bool real_transform(family f) {
    return f != family::c2c && f != family::r2r && f != family::split_c2c;
}

// One side of the problem: its element positions in transform order, its value components
// (2 for complex, 1 for real) and whether the parts of a complex value lie in two arrays.
struct side {
    std::vector<int64_t> positions;
    int components;
    bool split;
    int64_t reals_per_plane() const {
        int64_t last = 0;
        for (int64_t p : positions)
            last = p > last ? p : last;
        return (last + 1) * (split ? 1 : components);
    }
};

side make_side(const allocation_case& c, bool input) {
    const bool complex_values = input ? complex_input(c.f) : complex_output(c.f);
    side s{{0}, complex_values ? 2 : 1, complex_values && is_split(c.f)};
    auto expand = [&](const guru_dim64& d, int64_t count) {
        std::vector<int64_t> next;
        next.reserve(s.positions.size() * static_cast<size_t>(count));
        for (int64_t base : s.positions)
            for (int64_t i = 0; i < count; ++i)
                next.push_back(base + i * (input ? d.in_stride : d.out_stride));
        s.positions.swap(next);
    };
    for (const guru_dim64& d : c.howmany)
        expand(d, d.n);
    for (size_t i = 0; i < c.dims.size(); ++i) {
        const bool halved = complex_values && real_transform(c.f) && i + 1 == c.dims.size();
        expand(c.dims[i], halved ? c.dims[i].n / 2 + 1 : c.dims[i].n);
    }
    return s;
}

// Arrays of one precision laid out as the engine sees them, each with a guard as long as
// itself on both sides so that a stray write lands in the guard rather than elsewhere.
template <class T> struct arrays {
    std::vector<std::vector<T>> planes; // input planes first, then output planes unless in place
    size_t guard = 0;
    int in_planes = 0, out_first = 0;
    T* plane(bool input, int part) { return planes[(input ? 0 : out_first) + part].data() + guard; }
    T& at(const side& s, bool input, int64_t position, int component) {
        return s.split ? plane(input, component)[position]
                       : plane(input, 0)[position * s.components + component];
    }
};

template <class T>
arrays<T> make_arrays(const allocation_case& c, const side& in, const side& out, T fill) {
    arrays<T> a;
    a.in_planes = in.split ? 2 : 1;
    const int out_planes = out.split ? 2 : 1;
    const int64_t length = std::max(in.reals_per_plane(), out.reals_per_plane());
    a.guard = static_cast<size_t>(length) + 64;
    a.out_first = c.in_place ? 0 : a.in_planes;
    const int count = c.in_place ? std::max(a.in_planes, out_planes) : a.in_planes + out_planes;
    a.planes.assign(static_cast<size_t>(count),
                    std::vector<T>(2 * a.guard + static_cast<size_t>(length), fill));
    return a;
}

std::vector<fftwl_iodim64> oracle_dims(const std::vector<guru_dim64>& dims) {
    std::vector<fftwl_iodim64> out;
    for (const guru_dim64& d : dims)
        out.push_back({d.n, d.in_stride, d.out_stride});
    return out;
}

// Contiguous dimensions over the logical real data of a real transform's real side, mapped to
// the layout of its complex side: the r2c that makes a consistent c2r input.
std::vector<fftwl_iodim64> from_packed(const std::vector<guru_dim64>& dims, int64_t& step) {
    std::vector<fftwl_iodim64> out(dims.size());
    for (size_t i = dims.size(); i-- > 0;) {
        out[i] = {dims[i].n, step, dims[i].in_stride};
        step *= dims[i].n;
    }
    return out;
}

// Runs the long-double transform of the case on a, in the same layout.
void run_oracle(const allocation_case& c, arrays<long double>& a) {
    const auto dims = oracle_dims(c.dims), howmany = oracle_dims(c.howmany);
    const int r = static_cast<int>(dims.size()), h = static_cast<int>(howmany.size());
    auto cx = [&](bool input) { return reinterpret_cast<fftwl_complex*>(a.plane(input, 0)); };
    fftwl_plan plan = nullptr;
    switch (c.f) {
    case family::c2c:
        plan = fftwl_plan_guru64_dft(r, dims.data(), h, howmany.data(), cx(true), cx(false), c.sign,
                                     FFTW_ESTIMATE);
        break;
    case family::r2c:
        plan = fftwl_plan_guru64_dft_r2c(r, dims.data(), h, howmany.data(), a.plane(true, 0),
                                         cx(false), FFTW_ESTIMATE);
        break;
    case family::c2r:
        plan = fftwl_plan_guru64_dft_c2r(r, dims.data(), h, howmany.data(), cx(true),
                                         a.plane(false, 0), FFTW_ESTIMATE);
        break;
    case family::r2r: {
        std::vector<fftwl_r2r_kind> kinds;
        for (int kind : c.kinds)
            kinds.push_back(static_cast<fftwl_r2r_kind>(kind));
        plan = fftwl_plan_guru64_r2r(r, dims.data(), h, howmany.data(), a.plane(true, 0),
                                     a.plane(false, 0), kinds.data(), FFTW_ESTIMATE);
        break;
    }
    case family::split_c2c:
        plan = fftwl_plan_guru64_split_dft(r, dims.data(), h, howmany.data(), a.plane(true, 0),
                                           a.plane(true, 1), a.plane(false, 0), a.plane(false, 1),
                                           FFTW_ESTIMATE);
        break;
    case family::split_r2c:
        plan = fftwl_plan_guru64_split_dft_r2c(r, dims.data(), h, howmany.data(), a.plane(true, 0),
                                               a.plane(false, 0), a.plane(false, 1), FFTW_ESTIMATE);
        break;
    case family::split_c2r:
        plan = fftwl_plan_guru64_split_dft_c2r(r, dims.data(), h, howmany.data(), a.plane(true, 0),
                                               a.plane(true, 1), a.plane(false, 0), FFTW_ESTIMATE);
        break;
    }
    ASSERT_NE(plan, nullptr) << c.label;
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);
}

// The input of a complex-to-real case is the half spectrum of real data, so that it is
// Hermitian and every correct algorithm agrees on the result.
void make_half_spectrum(const allocation_case& c, arrays<long double>& a) {
    int64_t step = 1;
    const auto dims = from_packed(c.dims, step), howmany = from_packed(c.howmany, step);
    const reference_reals x = random_reals(static_cast<size_t>(step), 7);
    reference_reals data(x);
    const int r = static_cast<int>(dims.size()), h = static_cast<int>(howmany.size());
    fftwl_plan plan =
        is_split(c.f)
            ? fftwl_plan_guru64_split_dft_r2c(r, dims.data(), h, howmany.data(), data.data(),
                                              a.plane(true, 0), a.plane(true, 1), FFTW_ESTIMATE)
            : fftwl_plan_guru64_dft_r2c(r, dims.data(), h, howmany.data(), data.data(),
                                        reinterpret_cast<fftwl_complex*>(a.plane(true, 0)),
                                        FFTW_ESTIMATE);
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);
}

plan_handle plan_engine(const allocation_case& c, arrays<real>& a) {
    const int r = static_cast<int>(c.dims.size()), h = static_cast<int>(c.howmany.size());
    const guru_dim64 *d = c.dims.data(), *m = c.howmany.data();
    auto cx = [&](bool input) { return reinterpret_cast<complex_value*>(a.plane(input, 0)); };
    switch (c.f) {
    case family::c2c:
        return QTX_PUBLIC(plan_guru64_dft)(r, d, h, m, cx(true), cx(false), c.sign, 0);
    case family::r2c:
        return QTX_PUBLIC(plan_guru64_dft_r2c)(r, d, h, m, a.plane(true, 0), cx(false), 0);
    case family::c2r:
        return QTX_PUBLIC(plan_guru64_dft_c2r)(r, d, h, m, cx(true), a.plane(false, 0), 0);
    case family::r2r:
        return QTX_PUBLIC(plan_guru64_r2r)(r, d, h, m, a.plane(true, 0), a.plane(false, 0),
                                           c.kinds.data(), 0);
    case family::split_c2c:
        return QTX_PUBLIC(plan_guru64_split_dft)(r, d, h, m, a.plane(true, 0), a.plane(true, 1),
                                                 a.plane(false, 0), a.plane(false, 1), 0);
    case family::split_r2c:
        return QTX_PUBLIC(plan_guru64_split_dft_r2c)(r, d, h, m, a.plane(true, 0),
                                                     a.plane(false, 0), a.plane(false, 1), 0);
    case family::split_c2r:
        return QTX_PUBLIC(plan_guru64_split_dft_c2r)(r, d, h, m, a.plane(true, 0), a.plane(true, 1),
                                                     a.plane(false, 0), 0);
    }
    return nullptr;
}

// ---- Harness --------------------------------------------------------------------------------

constexpr real sentinel = real(1234.5);

// The case's arrays, its input and the oracle's output, made once and reused by every run.
struct prepared_case {
    const allocation_case& c;
    side in, out;
    arrays<real> start;         // the input at its positions, the sentinel everywhere else
    arrays<long double> expect; // the oracle's arrays after the transform
    std::vector<std::vector<bool>> addressed; // per plane: elements a run may write

    explicit prepared_case(const allocation_case& k)
        : c(k), in(make_side(k, true)), out(make_side(k, false)),
          start(make_arrays<real>(k, in, out, sentinel)),
          expect(make_arrays<long double>(k, in, out, sentinel)) {
        if (complex_input(c.f) && real_transform(c.f)) {
            make_half_spectrum(c, expect);
        } else {
            const reference_reals x = random_reals(in.positions.size() * 2, 3);
            for (size_t i = 0; i < in.positions.size(); ++i)
                for (int part = 0; part < in.components; ++part)
                    expect.at(in, true, in.positions[i], part) = x[2 * i + part];
        }
        // The engine sees the input rounded; so does the oracle.
        for (int64_t p : in.positions)
            for (int part = 0; part < in.components; ++part) {
                const real v = static_cast<real>(expect.at(in, true, p, part));
                start.at(in, true, p, part) = v;
                expect.at(in, true, p, part) = v;
            }
        run_oracle(c, expect);
        mark_addressed();
    }

    void mark_addressed() {
        for (const auto& plane : start.planes)
            addressed.emplace_back(plane.size(), false);
        auto mark = [&](const side& s, bool input) {
            for (int64_t p : s.positions)
                for (int part = 0; part < s.components; ++part) {
                    const real* slot = &start.at(s, input, p, part);
                    for (size_t k = 0; k < start.planes.size(); ++k)
                        if (slot >= start.planes[k].data() &&
                            slot < start.planes[k].data() + start.planes[k].size())
                            addressed[k][static_cast<size_t>(slot - start.planes[k].data())] = true;
                }
        };
        mark(in, true);
        mark(out, false);
    }

    // Relative rms error of the output against the oracle.
    double error(arrays<real>& got) {
        long double e = 0, norm = 0;
        for (int64_t p : out.positions)
            for (int part = 0; part < out.components; ++part) {
                const long double want = expect.at(out, false, p, part);
                const long double d = got.at(out, false, p, part) - want;
                e += d * d;
                norm += want * want;
            }
        return static_cast<double>(std::sqrt(e / norm));
    }

    // Elements of the arrays, guards included, that neither side addresses but were written.
    size_t stray_writes(const arrays<real>& got) const {
        size_t count = 0;
        for (size_t k = 0; k < got.planes.size(); ++k)
            for (size_t i = 0; i < got.planes[k].size(); ++i)
                count += !addressed[k][i] && got.planes[k][i] != sentinel;
        return count;
    }

    size_t transform_length() const {
        size_t n = 1;
        for (const guru_dim64& d : c.dims)
            n *= static_cast<size_t>(d.n);
        return n;
    }
};

// One planning with allocation fail_at failing (0: none); returns the allocations it made.
long plan_and_check(prepared_case& k, long fail_at, bool onward) {
    SCOPED_TRACE(testing::Message() << k.c.label << ", allocation " << fail_at << " fails"
                                    << (onward ? " and all after it" : " once"));
    failing_memory::calls = 0;
    failing_memory::fail_at = fail_at;
    failing_memory::fail_onward = onward;
    QTX_PUBLIC(plan_with_nthreads)(k.c.threads);
    arrays<real> a = k.start;
    plan_handle plan = plan_engine(k.c, a);
    QTX_PUBLIC(plan_with_nthreads)(1);
    const long calls = failing_memory::calls;
    failing_memory::fail_at = 0;
    if (fail_at == 0) {
        EXPECT_NE(plan, nullptr);
    }
    if (plan != nullptr) {
        QTX_PUBLIC(execute)(plan);
        EXPECT_LE(k.error(a), transform_error_bound<real>(k.transform_length(), 8.0));
        QTX_PUBLIC(destroy_plan)(plan);
    }
    EXPECT_EQ(k.stray_writes(a), 0u);
    EXPECT_EQ(failing_memory::live, 0);
    failing_memory::live = 0;
    return calls;
}

// clang-format off
const std::vector<allocation_case>& cases() {
    static const std::vector<allocation_case> all = {
        {"c2c 360", family::c2c, {{360, 1, 1}}, {}},
        {"c2c 1009 backward", family::c2c, {{1009, 1, 1}}, {}, false, 1, +1},
        {"c2c 128 strided", family::c2c, {{128, 2, 3}}, {}},
        {"c2c 2^16", family::c2c, {{1 << 16, 1, 1}}, {}},
        {"c2c 2^20", family::c2c, {{1 << 20, 1, 1}}, {}},
        {"c2c 20 batches of 64", family::c2c, {{64, 1, 1}}, {{20, 64, 64}}},
        {"c2c 20 batches of 64 in place", family::c2c, {{64, 1, 1}}, {{20, 64, 64}}, true},
        {"c2c 1000 batches of 8", family::c2c, {{8, 1, 1}}, {{1000, 8, 8}}},
        {"c2c 64 batches of 1024 transposed in place", family::c2c, {{1024, 1, 64}},
         {{64, 1024, 1}}, true},
        {"c2c 16 batches of 64 transposed in place", family::c2c, {{64, 1, 16}},
         {{16, 64, 1}}, true},
        {"c2c 4 interleaved batches of 16 made contiguous in place", family::c2c, {{16, 4, 1}},
         {{4, 1, 16}}, true},
        {"c2c 24 x 20", family::c2c, {{24, 20, 20}, {20, 1, 1}}, {}},
        {"c2c 8 x 10 x 8", family::c2c, {{8, 80, 80}, {10, 8, 8}, {8, 1, 1}}, {}},
        {"c2c 64 batches of 4096, 2 threads", family::c2c, {{4096, 1, 1}}, {{64, 4096, 4096}},
         false, 2},
        {"c2c 256 x 256, 4 threads", family::c2c, {{256, 256, 256}, {256, 1, 1}}, {}, false, 4},
        {"r2c 1000", family::r2c, {{1000, 1, 1}}, {}},
        {"r2c 10 batches of 128", family::r2c, {{128, 1, 1}}, {{10, 128, 65}}},
        {"r2c 24 x 40", family::r2c, {{24, 40, 21}, {40, 1, 1}}, {}},
        {"c2r 1000", family::c2r, {{1000, 1, 1}}, {}},
        {"c2r 24 x 40", family::c2r, {{24, 21, 40}, {40, 1, 1}}, {}},
        {"r2r 30 kind 0", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {0}},
        {"r2r 30 kind 1", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {1}},
        {"r2r 30 kind 2", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {2}},
        {"r2r 30 kind 3", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {3}},
        {"r2r 30 kind 4", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {4}},
        {"r2r 30 kind 5", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {5}},
        {"r2r 30 kind 6", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {6}},
        {"r2r 30 kind 7", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {7}},
        {"r2r 30 kind 8", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {8}},
        {"r2r 30 kind 9", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {9}},
        {"r2r 30 kind 10", family::r2r, {{30, 1, 1}}, {}, false, 1, 0, {10}},
        {"split c2c 1000", family::split_c2c, {{1000, 1, 1}}, {}},
        {"split c2c 3 batches of 12 x 10", family::split_c2c, {{12, 10, 10}, {10, 1, 1}},
         {{3, 120, 120}}},
        {"split r2c 12 x 10", family::split_r2c, {{12, 10, 6}, {10, 1, 1}}, {}},
        {"split c2r 12 x 10", family::split_c2r, {{12, 6, 10}, {10, 1, 1}}, {}},
    };
    return all;
}
// clang-format on

TEST(AllocationFailure, GivesNoPlanOrACorrectOneAndLeaksNothing) {
    QTX_PUBLIC(init_threads)();
    memory_swap swap;
    long swept = 0;
    for (const allocation_case& c : cases()) {
        prepared_case k(c);
        const long allocations = plan_and_check(k, 0, false);
        EXPECT_GT(allocations, 0) << c.label;
        for (long fail_at = 1; fail_at <= allocations; ++fail_at)
            for (bool onward : {false, true})
                plan_and_check(k, fail_at, onward);
        swept += allocations;
    }
    std::printf("%zu plans, %ld allocations each failed once and from then on\n", cases().size(),
                swept);
}

} // namespace
