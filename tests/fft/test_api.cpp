// The exported interface: null rules of execution, memory, threads, the version query and the
// by-address entry points.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "common/build_kind.hpp"
#include "fft/api.hpp"
#include "fft/problem.hpp"
#include "fft/threads.hpp"

using namespace qtx::QTX_ENGINE;

namespace {

struct call_log {
    int calls = 0;
    void* args[4] = {};
};
call_log log_of_calls;

void record_execute(const plan_record*, void* in, void* out) {
    ++log_of_calls.calls;
    log_of_calls.args[0] = in;
    log_of_calls.args[1] = out;
}

void record_split(const plan_record*, void* a, void* b, void* c, void* d) {
    ++log_of_calls.calls;
    log_of_calls.args[0] = a, log_of_calls.args[1] = b;
    log_of_calls.args[2] = c, log_of_calls.args[3] = d;
}

// A planned record as a solver leaves it, made by hand so the public execute paths can be
// checked independently of the solvers.
struct hand_plan {
    plan_record record{};
    real data[8] = {};
    hand_plan() {
        record.execute = record_execute;
        record.execute_split = record_split;
        record.in = data;
        record.out = data + 4;
        log_of_calls = {};
    }
    plan_handle handle() { return handle_of(&record); }
};

TEST(Execute, RunsOnlyWithAPlanAndBothArrays) {
    hand_plan p;
    QTX_PUBLIC(execute)(nullptr);
    QTX_PUBLIC(execute_dft)(p.handle(), nullptr, reinterpret_cast<complex_value*>(p.data));
    QTX_PUBLIC(execute_r2r)(p.handle(), p.data, nullptr);
    QTX_PUBLIC(execute_dft_r2c)(nullptr, p.data, reinterpret_cast<complex_value*>(p.data));
    EXPECT_EQ(log_of_calls.calls, 0);

    p.record.out = nullptr; // a stored array missing: nothing happens
    QTX_PUBLIC(execute)(p.handle());
    EXPECT_EQ(log_of_calls.calls, 0);
    p.record.out = p.data + 4;
    QTX_PUBLIC(execute)(p.handle());
    EXPECT_EQ(log_of_calls.calls, 1);
    EXPECT_EQ(log_of_calls.args[1], p.data + 4);

    QTX_PUBLIC(execute_dft_c2r)(p.handle(), reinterpret_cast<complex_value*>(p.data), p.data + 2);
    EXPECT_EQ(log_of_calls.calls, 2);
    EXPECT_EQ(log_of_calls.args[1], p.data + 2);
}

TEST(Execute, SplitEntriesNeedEveryPartTheyName) {
    hand_plan p;
    real* d = p.data;
    QTX_PUBLIC(execute_split_dft)(p.handle(), d, nullptr, d, d);
    QTX_PUBLIC(execute_split_dft)(p.handle(), d, d, d, nullptr);
    QTX_PUBLIC(execute_split_dft_r2c)(p.handle(), d, nullptr, d);
    QTX_PUBLIC(execute_split_dft_c2r)(p.handle(), d, d, nullptr);
    EXPECT_EQ(log_of_calls.calls, 0);

    QTX_PUBLIC(execute_split_dft_r2c)(p.handle(), d, d + 1, d + 2);
    EXPECT_EQ(log_of_calls.calls, 1);
    EXPECT_EQ(log_of_calls.args[1], nullptr);
    EXPECT_EQ(log_of_calls.args[3], d + 2);
    QTX_PUBLIC(execute_split_dft_c2r)(p.handle(), d, d + 1, d + 2);
    EXPECT_EQ(log_of_calls.args[2], d + 2);
    EXPECT_EQ(log_of_calls.args[3], nullptr);

    p.record.execute_split = nullptr; // not a split plan: ignored rather than crashing
    QTX_PUBLIC(execute_split_dft)(p.handle(), d, d, d, d);
    EXPECT_EQ(log_of_calls.calls, 2);
}

TEST(Execute, ByAddressEntriesDereferenceThePlan) {
    hand_plan p;
    plan_handle h = p.handle();
    QTX_PUBLIC(execute_)(nullptr);
    QTX_PUBLIC(execute_)(&h);
    QTX_PUBLIC(execute_r2r_)(&h, p.data, p.data + 1);
    QTX_PUBLIC(execute_split_dft_)(&h, p.data, p.data, p.data, p.data);
    EXPECT_EQ(log_of_calls.calls, 3);
    QTX_PUBLIC(destroy_plan_)(nullptr);
    plan_handle none = nullptr;
    QTX_PUBLIC(destroy_plan_)(&none);
    QTX_PUBLIC(destroy_plan)(nullptr);
}

TEST(Memory, MallocGivesAlignedZeroedBlocks) {
    for (size_t size : {size_t{0}, size_t{3}, size_t{4096}}) {
        auto* block = static_cast<unsigned char*>(QTX_PUBLIC(malloc)(size));
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 64, 0u);
        for (size_t i = 0; i < size; ++i)
            ASSERT_EQ(block[i], 0);
        QTX_PUBLIC(free)(block);
    }
    const size_t size = 100;
    void* block = QTX_PUBLIC(malloc_)(&size);
    ASSERT_NE(block, nullptr);
    QTX_PUBLIC(free_)(block);
    QTX_PUBLIC(free)(nullptr);
    EXPECT_EQ(QTX_PUBLIC(malloc_)(nullptr), nullptr);
    EXPECT_EQ(QTX_PUBLIC(malloc)(SIZE_MAX - 8), nullptr);
}

TEST(Version, FillsFourFieldsAtFixedOffsets) {
    EXPECT_EQ(QFFTGetVersion(nullptr), 0);
    unsigned char raw[400];
    std::memset(raw, 0x7f, sizeof raw);
    ASSERT_EQ(QFFTGetVersion(reinterpret_cast<qtx_fftf_version*>(raw)), 1);
    const char* texts[] = {"Vantor-qtx", "1.7.0", "vantor-qtx-fft", "1.7.0"};
    for (int field = 0; field < 4; ++field)
        EXPECT_STREQ(reinterpret_cast<const char*>(raw + 100 * field), texts[field]);
}

TEST(Threads, CountsNewPlansRecord) {
    EXPECT_EQ(get_thread_count(), 1);
    EXPECT_EQ(QTX_PUBLIC(init_threads)(), 1);
    EXPECT_EQ(QTX_PUBLIC(init_threads_)(), 1);
    const struct {
        int requested;
        int64_t recorded;
    } cases[] = {{1000, 512}, {512, 512}, {0, 0}, {-3, -3}, {2, 2}};
    for (const auto& c : cases) {
        QTX_PUBLIC(plan_with_nthreads)(c.requested);
        EXPECT_EQ(get_thread_count(), c.recorded);
    }
    const int four = 4;
    QTX_PUBLIC(plan_with_nthreads_)(&four);
    EXPECT_EQ(get_thread_count(), 4);
    QTX_PUBLIC(plan_with_nthreads_)(nullptr);
    EXPECT_EQ(get_thread_count(), 4);
    QTX_PUBLIC(cleanup_threads_)();
    EXPECT_EQ(get_thread_count(), 4); // the count survives cleanup
    QTX_PUBLIC(plan_with_nthreads)(1);
    QTX_PUBLIC(cleanup_threads)();
}

TEST(Planners, InvalidArgumentsGiveNullPlans) {
    alignas(64) static complex_value c[64];
    alignas(64) static real r[128];
    const int n[] = {8, 8};
    const int kinds[] = {11, 0};
    EXPECT_EQ(QTX_PUBLIC(plan_dft_1d)(8, c, c, 0, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_dft_1d)(8, c, c, 2, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_dft_2d)(0, 8, c, c, -1, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_dft)(4, n, c, c, -1, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_many_dft)(1, n, 2, c, nullptr, 1, 0, c, nullptr, 1, 8, -1, 0),
              nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_r2r_1d)(8, r, r, 11, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_r2r_1d)(8, r, r, -1, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_r2r)(2, n, r, r, kinds, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_dft_r2c_3d)(2, -2, 2, r, c, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_dft_c2r_1d)(0, c, r, 0), nullptr);
    const guru_dim zero_stride = {8, 0, 1};
    EXPECT_EQ(QTX_PUBLIC(plan_guru_dft)(1, &zero_stride, 0, nullptr, c, c, -1, 0), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_guru_split_dft)(0, nullptr, 0, nullptr, r, r, r, r, 0), nullptr);
    const guru_dim unit = {1, 1, 1};
    // Rank 1 of length 1 and no batch is a rank-0 problem without batch: nothing plans it.
    EXPECT_EQ(QTX_PUBLIC(plan_guru_dft)(1, &unit, 0, nullptr, c, c, -1, 0), nullptr);

    const int eight = 8, bad_sign = 3, forward = -1;
    const unsigned flags = 0;
    EXPECT_EQ(QTX_PUBLIC(plan_dft_1d_)(&eight, c, c, &bad_sign, &flags), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_dft_1d_)(nullptr, c, c, &forward, &flags), nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_dft_1d_)(&eight, c, c, &forward, nullptr), nullptr);
    const int rank = 1, negative_rank = -1;
    EXPECT_EQ(QTX_PUBLIC(plan_guru_r2r_)(&rank, nullptr, &rank, &unit, r, r, kinds, &flags),
              nullptr);
    EXPECT_EQ(QTX_PUBLIC(plan_guru64_dft_)(&rank, nullptr, &negative_rank, nullptr, c, c, &forward,
                                           &flags),
              nullptr);
}

// Lengths whose plans could never be allocated are refused in every planner family, at once.
// 2^31 − 1 is prime, so its plans hold at least 5·2^31 complex values; those cases apply only
// where that much memory cannot exist. The 64-bit lengths exceed any machine.
constexpr int prime_int = 2147483647;
constexpr int64_t beyond_any = (int64_t{1} << 46) + 3;
alignas(64) complex_value c_arr[4];
alignas(64) real r_arr[8];
const int kind_5[] = {5, 5};
const guru_dim prime_dim = {prime_int, 1, 1}, prime_strided = {prime_int, 2, 2};
const guru_dim prime_2d[] = {{2, prime_int, prime_int}, {prime_int, 1, 1}};
const guru_dim batch_2 = {2, prime_int, prime_int};
const guru_dim64 huge_dim = {beyond_any, 1, 1};
const guru_dim64 huge_2d[] = {{3, beyond_any, beyond_any}, {beyond_any, 1, 1}};
const struct {
    const char* name;
    bool int_length;
    plan_handle (*plan)();
} impossible_sizes[] = {
    {"dft_1d", true, [] { return QTX_PUBLIC(plan_dft_1d)(prime_int, c_arr, c_arr, -1, 0); }},
    {"dft_2d", true, [] { return QTX_PUBLIC(plan_dft_2d)(2, prime_int, c_arr, c_arr, -1, 0); }},
    {"dft_3d", true, [] { return QTX_PUBLIC(plan_dft_3d)(prime_int, 1, 1, c_arr, c_arr, 1, 0); }},
    {"r2c_1d", true, [] { return QTX_PUBLIC(plan_dft_r2c_1d)(prime_int, r_arr, c_arr, 0); }},
    {"r2c_3d", true, [] { return QTX_PUBLIC(plan_dft_r2c_3d)(prime_int, 1, 2, r_arr, c_arr, 0); }},
    {"c2r_2d", true, [] { return QTX_PUBLIC(plan_dft_c2r_2d)(2, prime_int, c_arr, r_arr, 0); }},
    {"r2r_1d", true, [] { return QTX_PUBLIC(plan_r2r_1d)(prime_int, r_arr, r_arr, 5, 0); }},
    {"r2r_2d", true, [] { return QTX_PUBLIC(plan_r2r_2d)(2, prime_int, r_arr, r_arr, 0, 7, 0); }},
    {"many", true,
     [] {
         return QTX_PUBLIC(plan_many_dft)(1, &prime_int, 3, c_arr, nullptr, 1, prime_int, c_arr,
                                          nullptr, 1, prime_int, -1, 0);
     }},
    {"guru strided", true,
     [] { return QTX_PUBLIC(plan_guru_dft)(1, &prime_strided, 0, nullptr, c_arr, c_arr, -1, 0); }},
    {"guru batch", true,
     [] { return QTX_PUBLIC(plan_guru_dft)(1, &prime_dim, 1, &batch_2, c_arr, c_arr, -1, 0); }},
    {"guru split 2d", true,
     [] {
         return QTX_PUBLIC(plan_guru_split_dft)(2, prime_2d, 0, nullptr, r_arr, r_arr + 1, r_arr,
                                                r_arr + 1, 0);
     }},
    {"guru split r2c", true,
     [] {
         return QTX_PUBLIC(plan_guru_split_dft_r2c)(1, &prime_dim, 0, nullptr, r_arr, r_arr + 2,
                                                    r_arr + 3, 0);
     }},
    {"guru split c2r", true,
     [] {
         return QTX_PUBLIC(plan_guru_split_dft_c2r)(1, &prime_dim, 0, nullptr, r_arr, r_arr + 1,
                                                    r_arr + 2, 0);
     }},
    {"guru64 dft", false,
     [] { return QTX_PUBLIC(plan_guru64_dft)(1, &huge_dim, 0, nullptr, c_arr, c_arr, -1, 0); }},
    {"guru64 dft 2d", false,
     [] { return QTX_PUBLIC(plan_guru64_dft)(2, huge_2d, 0, nullptr, c_arr, c_arr, 1, 0); }},
    {"guru64 r2c", false,
     [] { return QTX_PUBLIC(plan_guru64_dft_r2c)(1, &huge_dim, 0, nullptr, r_arr, c_arr, 0); }},
    {"guru64 c2r", false,
     [] { return QTX_PUBLIC(plan_guru64_dft_c2r)(1, &huge_dim, 0, nullptr, c_arr, r_arr, 0); }},
    {"guru64 r2r", false,
     [] { return QTX_PUBLIC(plan_guru64_r2r)(1, &huge_dim, 0, nullptr, r_arr, r_arr, kind_5, 0); }},
    {"guru64 split", false,
     [] {
         return QTX_PUBLIC(plan_guru64_split_dft)(1, &huge_dim, 0, nullptr, r_arr, r_arr + 1, r_arr,
                                                  r_arr + 1, 0);
     }},
};

// Refusing a 32-bit length may still allocate a block the machine can hold and release it. The
// address sanitizer fills such blocks, which takes seconds to minutes and gigabytes of memory, so
// those lengths are left to the other builds there; the emulator is slower but bounded. What
// this test guards against took ten seconds and more.
constexpr bool allocates_cheaply = !qtx::test::address_sanitized;
constexpr double refusal_seconds = qtx::test::emulated ? 10 : 0.5;

TEST(Planners, ImpossibleSizesAreRefusedAtOnce) {
    const bool holds_prime_int = memory_can_exist(uint64_t{5} * prime_int * complex_bytes);
    for (const auto& c : impossible_sizes) {
        if (c.int_length && (holds_prime_int || !allocates_cheaply)) continue;
        const auto start = std::chrono::steady_clock::now();
        plan_handle p = c.plan();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(p, nullptr) << c.name;
        EXPECT_LT(took.count(), refusal_seconds) << c.name;
        QTX_PUBLIC(destroy_plan)(p);
    }
}

} // namespace
