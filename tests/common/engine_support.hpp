// Arrays, plan ownership and one-call transform checks for the white-box engine tests, built
// once per precision like the engine itself.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "common/oracle.hpp"
#include "fft/api.hpp"

namespace qtx::test {

using QTX_ENGINE::complex_value;
using QTX_ENGINE::guru_dim;
using QTX_ENGINE::plan_handle;
using QTX_ENGINE::plan_record;
using QTX_ENGINE::real;

// An engine-allocated array of complex values.
struct engine_array {
    complex_value* data;
    size_t length;
    explicit engine_array(size_t n)
        : data(static_cast<complex_value*>(QTX_PUBLIC(malloc)(n * sizeof(complex_value)))),
          length(n) {}
    ~engine_array() { QTX_PUBLIC(free)(data); }
    engine_array(const engine_array&) = delete;
    engine_array& operator=(const engine_array&) = delete;
    real* reals() { return reinterpret_cast<real*>(data); }
    void load(const std::vector<real>& values) {
        std::memcpy(data, values.data(), values.size() * sizeof(real));
    }
};

struct plan_guard {
    plan_handle plan;
    ~plan_guard() { QTX_PUBLIC(destroy_plan)(plan); }
    const plan_record* record() const { return reinterpret_cast<const plan_record*>(plan); }
};

struct transform_outcome {
    double error;     // relative rms error against the oracle; 1e9 when nothing planned
    std::string name; // the plan's execute routine
};

// Plans a length-n transform of a random signal with element strides is and os (one array
// when in place, which needs is == os), runs it and compares it with the oracle.
inline transform_outcome run_transform(size_t n, int sign, int is = 1, int os = 1,
                                       bool in_place = false, uint32_t seed = 1) {
    const reference_signal x = random_signal(n, seed);
    const size_t span = n * static_cast<size_t>(is > os ? is : os);
    engine_array in(span), out(span);
    in.load(to_working<real>(x, static_cast<size_t>(is), span));
    complex_value* target = in_place ? in.data : out.data;
    const guru_dim dim = {static_cast<int>(n), is, os};
    plan_guard p{is == 1 && os == 1
                     ? QTX_PUBLIC(plan_dft_1d)(dim.n, in.data, target, sign, 0)
                     : QTX_PUBLIC(plan_guru_dft)(1, &dim, 0, nullptr, in.data, target, sign, 0)};
    if (p.plan == nullptr) return {1e9, "no plan"};
    QTX_PUBLIC(execute)(p.plan);
    return {relative_rms_error(reinterpret_cast<real*>(target),
                               reference_dft(rounded<real>(x), sign), static_cast<size_t>(os)),
            p.record()->name};
}

struct round_trip_outcome {
    double error;             // relative rms error against n·x; 1e9 when nothing planned
    std::string forward_name; // the forward plan's execute routine
};

// A forward and then a backward transform of length n multiply a random signal by n.
inline round_trip_outcome round_trip(size_t n, uint32_t seed) {
    const std::vector<real> x = to_working<real>(random_signal(n, seed));
    engine_array a(n), b(n);
    a.load(x);
    plan_guard forward{QTX_PUBLIC(plan_dft_1d)(static_cast<int>(n), a.data, b.data, -1, 0)};
    plan_guard backward{QTX_PUBLIC(plan_dft_1d)(static_cast<int>(n), b.data, a.data, 1, 0)};
    if (forward.plan == nullptr || backward.plan == nullptr) return {1e9, "no plan"};
    QTX_PUBLIC(execute)(forward.plan);
    QTX_PUBLIC(execute)(backward.plan);
    reference_signal scaled(n);
    for (size_t i = 0; i < n; ++i)
        scaled[i] = reference_complex(x[2 * i], x[2 * i + 1]) * static_cast<long double>(n);
    return {relative_rms_error(a.reals(), scaled), forward.record()->name};
}

} // namespace qtx::test
