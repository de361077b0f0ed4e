// The skeleton shared by the transcendental functions: views resolved to element accessors,
// groups of four through an operation's kernel and the last elements through its scalar
// function, on the serial, dense-region and strided-region paths.
//
// An operation is a type with
//   static Out group(In x)   four elements (In, Out: f32x4 or ComplexLanes),
//   static OutScalar single(InScalar x)   one element, by the maths library,
//   static constexpr Schedule schedule.
// Every path starts its groups at multiples of four, so an element's result never depends on
// the thread count or the storage.
#pragma once

#include "vsip/frame.hpp"
#include "vsip/support.hpp"
#include "vsip/transcendental/kernels.hpp"

#include <algorithm>
#include <cstdint>

namespace qvsip::transcendental {

struct ComplexScalar {
    float re, im;
};

// How the work is split when T is not 1.
enum class Schedule {
    // Dense: regions of 16 and of 4 elements, then the caller; strided: one region of 4.
    regions_throughout,
    // Dense: one region of 16 elements, the caller does the rest; strided: the caller alone.
    dense_region_only,
};

// ---- Element accessors -------------------------------------------------------------------------

struct DenseReal {
    float* start;
    f32x4 load4(std::uint64_t i) const { return loadu(start + i); }
    void store4(std::uint64_t i, f32x4 v) const { storeu(start + i, v); }
    float load1(std::uint64_t i) const { return start[i]; }
    void store1(std::uint64_t i, float v) const { start[i] = v; }
};

struct StridedReal {
    float* start;
    std::ptrdiff_t stride;
    float* at(std::uint64_t i) const { return start + static_cast<std::ptrdiff_t>(i) * stride; }
    f32x4 load4(std::uint64_t i) const { return load_strided(at(i), stride); }
    void store4(std::uint64_t i, f32x4 v) const { store_strided(at(i), stride, v); }
    float load1(std::uint64_t i) const { return *at(i); }
    void store1(std::uint64_t i, float v) const { *at(i) = v; }
};

// (re, im) pairs one after the other.
struct DenseInterleaved {
    float* pairs;
    ComplexLanes load4(std::uint64_t i) const {
        const f32x4 low = loadu(pairs + 2 * i), high = loadu(pairs + 2 * i + 4);
        return {even_lanes(low, high), odd_lanes(low, high)};
    }
    void store4(std::uint64_t i, ComplexLanes v) const {
        storeu(pairs + 2 * i, interleave_low(v.re, v.im));
        storeu(pairs + 2 * i + 4, interleave_high(v.re, v.im));
    }
    ComplexScalar load1(std::uint64_t i) const { return {pairs[2 * i], pairs[2 * i + 1]}; }
    void store1(std::uint64_t i, ComplexScalar v) const {
        pairs[2 * i] = v.re;
        pairs[2 * i + 1] = v.im;
    }
};

// Any complex storage: the parts at re and im, both stepping by stride.
struct StridedComplex {
    StridedReal re, im;
    ComplexLanes load4(std::uint64_t i) const { return {re.load4(i), im.load4(i)}; }
    void store4(std::uint64_t i, ComplexLanes v) const {
        re.store4(i, v.re);
        im.store4(i, v.im);
    }
    ComplexScalar load1(std::uint64_t i) const { return {re.load1(i), im.load1(i)}; }
    void store1(std::uint64_t i, ComplexScalar v) const {
        re.store1(i, v.re);
        im.store1(i, v.im);
    }
};

inline bool is_dense(const RealVector& v) {
    return v.stride == kContiguousStride;
}
inline bool is_dense(const ComplexVector& v) {
    return v.element_stride == kInterleavedStride && v.stride == kInterleavedStride;
}

inline DenseReal dense_access(const RealVector& v) {
    return {v.start};
}
inline DenseInterleaved dense_access(const ComplexVector& v) {
    return {v.re};
}
inline StridedReal strided_access(const RealVector& v) {
    return {v.start, v.stride};
}
inline StridedComplex strided_access(const ComplexVector& v) {
    return {{v.re, v.stride}, {v.im, v.stride}};
}

// ---- Lanes from the maths library -------------------------------------------------------------

struct LaneArray {
    alignas(vector_bytes) float lane[4];
    explicit LaneArray(f32x4 v) { store(lane, v); }
    f32x4 vector() const { return load(lane); }
};

// fn(i, x[i]) for every lane i set in mask.
template <class Fn> void for_each_marked(i32x4 mask, f32x4 x, Fn fn) {
    alignas(vector_bytes) std::int32_t marked[4];
    store_i32(marked, mask);
    const LaneArray in(x);
    for (int i = 0; i < 4; ++i)
        if (marked[i] != 0) fn(i, in.lane[i]);
}

// The kernel's results with its outside lanes replaced by F(x). Out of line: only the rare
// groups holding such a lane come here.
template <float (*F)(float)>
[[gnu::noinline, gnu::cold]] f32x4 with_library_lanes(Lanes kernel, f32x4 x) {
    LaneArray value(kernel.value);
    for_each_marked(kernel.outside, x, [&](int i, float v) { value.lane[i] = F(v); });
    return value.vector();
}

// ---- Runs --------------------------------------------------------------------------------------

// Elements [first, last) of a run whose groups start at multiples of four.
template <class Op, class In, class Out>
void apply(const In& in, const Out& out, std::uint64_t first, std::uint64_t last) {
    std::uint64_t i = first;
    for (; last - i >= frame::kVectorUnit; i += frame::kVectorUnit)
        out.store4(i, Op::group(in.load4(i)));
    for (; i < last; ++i)
        out.store1(i, Op::single(in.load1(i)));
}

template <class Op, class In, class Out>
void run_dense(int threads, std::uint64_t count, const In& in, const Out& out) {
    constexpr frame::DenseRegions regions = Op::schedule == Schedule::regions_throughout
                                                ? frame::DenseRegions::two
                                                : frame::DenseRegions::one;
    frame::run_dense(threads, count, regions, [&](std::uint64_t first, std::uint64_t last) {
        apply<Op>(in, out, first, last);
    });
}

template <class Op, class In, class Out>
void run_strided(int threads, std::uint64_t count, const In& in, const Out& out) {
    auto kernel = [&](std::uint64_t first, std::uint64_t last) { apply<Op>(in, out, first, last); };
    if constexpr (Op::schedule == Schedule::regions_throughout)
        frame::run_in_units(threads, count, frame::kVectorUnit, kernel);
    else
        kernel(0, count);
}

// Dense when both views are; otherwise both go through the strided accessors.
template <class Op, class InView, class OutView> void run(const InView* a, const OutView* r) {
    if (a == nullptr || r == nullptr) return;
    const int threads = thread_count();
    const auto in = resolve(*a);
    const auto out = resolve(*r);
    const std::uint64_t count = std::min(in.length, out.length);
    if (count == 0) return;
    if (is_dense(in) && is_dense(out))
        run_dense<Op>(threads, count, dense_access(in), dense_access(out));
    else
        run_strided<Op>(threads, count, strided_access(in), strided_access(out));
}

} // namespace qvsip::transcendental
