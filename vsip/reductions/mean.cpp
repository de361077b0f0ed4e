// Mean and mean square of a real vector. Float lanes accumulate inside units and groups, double
// precision holds everything beyond them; parallel partials meet in a shared double.
#include "vsip/frame.hpp"
#include "vsip/reductions/accumulate.hpp"
#include "vsip/reductions/reductions.hpp"

namespace qvsip::reductions {
namespace {

using namespace qtx::simd;

// The element terms: the elements themselves, or their squares (fused into the lane sums).
struct plain_terms {
    static constexpr std::uint64_t serial_unit = 16;
    static f32x4 accumulate(f32x4 sum, f32x4 v) { return add(sum, v); }
    static double scalar(float x) { return x; }
};

struct squared_terms {
    static constexpr std::uint64_t serial_unit = 32;
    static f32x4 accumulate(f32x4 sum, f32x4 v) { return fma(v, v, sum); }
    static double scalar(float x) { return static_cast<double>(x) * x; }
};

// Independent lane accumulators of the serial dense loop.
inline constexpr int serial_accumulators = 4;

double scalar_sum(const float* p, std::ptrdiff_t stride, std::uint64_t first, std::uint64_t last,
                  auto term) {
    double sum = 0;
    for (std::uint64_t i = first; i < last; ++i)
        sum += term(p[static_cast<std::ptrdiff_t>(i) * stride]);
    return sum;
}

// Serial dense: lane accumulators over the serial units, then over 4-element groups, then the
// remaining elements in double.
template <class Term> double serial_dense_sum(const float* p, std::uint64_t n) {
    f32x4 sum[serial_accumulators] = {set1(0.0f), set1(0.0f), set1(0.0f), set1(0.0f)};
    const std::uint64_t units_end = n - n % Term::serial_unit;
    for (std::uint64_t u = 0; u < units_end; u += Term::serial_unit)
        for (std::uint64_t v = 0; v < Term::serial_unit / lane_count; ++v)
            sum[v % serial_accumulators] =
                Term::accumulate(sum[v % serial_accumulators], loadu(p + u + v * lane_count));
    const std::uint64_t groups_end = n - n % lane_count;
    for (std::uint64_t g = units_end; g < groups_end; g += lane_count)
        sum[0] = Term::accumulate(sum[0], loadu(p + g));
    const f32x4 lanes = add(add(sum[0], sum[1]), add(sum[2], sum[3]));
    return pairwise_lane_sum(lanes) + scalar_sum(p, 1, groups_end, n, Term::scalar);
}

template <class Term>
double serial_strided_sum(const float* p, std::ptrdiff_t stride, std::uint64_t n) {
    f32x4 sum = set1(0.0f);
    const std::uint64_t groups_end = n - n % lane_count;
    for (std::uint64_t g = 0; g < groups_end; g += lane_count)
        sum = Term::accumulate(sum,
                               load_strided(p + static_cast<std::ptrdiff_t>(g) * stride, stride));
    return pairwise_lane_sum(sum) + scalar_sum(p, stride, groups_end, n, Term::scalar);
}

// Parallel kernel: each 16-element unit and each 4-element group is summed in float and added
// to the thread's double partial, single elements in double; the partial then joins the shared
// sum. Chunks of the dense region cover whole units, the caller's rest groups and singles.
template <class Term> struct partial_sum {
    const float* p;
    std::ptrdiff_t stride;
    double* shared;

    f32x4 load_group(std::uint64_t i) const {
        const float* at = p + static_cast<std::ptrdiff_t>(i) * stride;
        return stride == 1 ? loadu(at) : load_strided(at, stride);
    }

    void operator()(std::uint64_t first, std::uint64_t last) const {
        double partial = 0;
        std::uint64_t i = first;
        if (stride == 1)
            for (; last - i >= frame::dense_unit; i += frame::dense_unit) {
                f32x4 unit = set1(0.0f);
                for (std::uint64_t v = 0; v < frame::dense_unit; v += lane_count)
                    unit = Term::accumulate(unit, load_group(i + v));
                partial += pairwise_lane_sum(unit);
            }
        for (; last - i >= lane_count; i += lane_count)
            partial += pairwise_lane_sum(Term::accumulate(set1(0.0f), load_group(i)));
        partial += scalar_sum(p, stride, i, last, Term::scalar);
        atomic_add(*shared, partial);
    }
};

template <class Term> float mean_of(const real_vector& a, reduction_setting setting) {
    const bool parallel = setting.threads != 1 && setting.profile > profile_serial_reductions;
    double sum = 0;
    if (!parallel)
        sum = a.stride == 1 ? serial_dense_sum<Term>(a.start, a.length)
                            : serial_strided_sum<Term>(a.start, a.stride, a.length);
    else if (a.stride == 1)
        frame::run_dense(setting.threads, a.length, frame::one_region,
                         partial_sum<Term>{a.start, 1, &sum});
    else
        frame::run_in_units(setting.threads, a.length, lane_count,
                            partial_sum<Term>{a.start, a.stride, &sum});
    return static_cast<float>(sum / static_cast<double>(a.length));
}

bool usable(const vsip_vview_f* a) {
    return a != nullptr && a->block != nullptr && a->block->data != nullptr && a->length != 0;
}

template <class Term> float checked_mean(const vsip_vview_f* a) {
    if (!usable(a)) return quiet_nan;
    return mean_of<Term>(resolve(*a), current_setting());
}

} // namespace

float mean(const real_vector& a, reduction_setting setting) {
    return mean_of<plain_terms>(a, setting);
}

float mean_square(const real_vector& a, reduction_setting setting) {
    return mean_of<squared_terms>(a, setting);
}

} // namespace qvsip::reductions

vsip_scalar_f vsip_vmeanval_f(const vsip_vview_f* a) {
    return qvsip::reductions::checked_mean<qvsip::reductions::plain_terms>(a);
}

vsip_scalar_f vsip_vmeansqval_f(const vsip_vview_f* a) {
    return qvsip::reductions::checked_mean<qvsip::reductions::squared_terms>(a);
}
