// Vectors of the transcendental tests: arrays the test owns, bound as views with a chosen
// stride (and, for complex vectors, storage), filled and read back as plain values.
#pragma once

#include "qvsip.h"
#include "vsip/common/fixture.hpp"

#include <complex>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvsip::test {

using Complex = std::complex<float>;

class TestRealVector {
  public:
    explicit TestRealVector(const std::vector<float>& values, vsip_stride stride = 1)
        : data_(values.size() * static_cast<std::size_t>(stride) + 1, kSentinel),
          stride_(static_cast<std::size_t>(stride)), length_(values.size()) {
        for (std::size_t i = 0; i < values.size(); ++i)
            data_[i * stride_] = values[i];
        view_ = vsip_vbind_f(vsip_blockbind_f(data_.data(), data_.size(), VSIP_MEM_NONE), 0, stride,
                             values.size());
    }
    TestRealVector(std::size_t length, vsip_stride stride)
        : TestRealVector(std::vector<float>(length, kSentinel), stride) {}
    TestRealVector(const TestRealVector&) = delete;
    TestRealVector& operator=(const TestRealVector&) = delete;
    ~TestRealVector() { vsip_valldestroy_f(view_); }

    const vsip_vview_f* view() const { return view_; }
    std::vector<float> values() const {
        std::vector<float> r(length_);
        for (std::size_t i = 0; i < r.size(); ++i)
            r[i] = data_[i * stride_];
        return r;
    }
    // The slot after the last element, outside the view.
    float beyond() const { return data_.back(); }

  private:
    std::vector<float> data_;
    std::size_t stride_, length_;
    vsip_vview_f* view_;
};

class TestComplexVector {
  public:
    TestComplexVector(const std::vector<Complex>& values, Storage storage, vsip_stride stride = 1)
        : storage_(storage), stride_(static_cast<std::size_t>(stride)),
          slots_(values.size() * stride_ + 1) {
        const bool split = storage == Storage::split;
        re_.assign(split ? slots_ : 2 * slots_, kSentinel);
        im_.assign(split ? slots_ : 0, kSentinel);
        for (std::size_t i = 0; i < values.size(); ++i) {
            re_at(i * stride_) = values[i].real();
            im_at(i * stride_) = values[i].imag();
        }
        view_ = vsip_cvbind_f(
            vsip_cblockbind_f(re_.data(), split ? im_.data() : nullptr, slots_, VSIP_MEM_NONE), 0,
            stride, values.size());
    }
    TestComplexVector(std::size_t length, Storage storage, vsip_stride stride)
        : TestComplexVector(std::vector<Complex>(length, {kSentinel, kSentinel}), storage, stride) {
    }
    TestComplexVector(const TestComplexVector&) = delete;
    TestComplexVector& operator=(const TestComplexVector&) = delete;
    ~TestComplexVector() { vsip_cvalldestroy_f(view_); }

    const vsip_cvview_f* view() const { return view_; }
    std::vector<Complex> values() const {
        std::vector<Complex> r((slots_ - 1) / stride_);
        for (std::size_t i = 0; i < r.size(); ++i)
            r[i] = {re_at(i * stride_), im_at(i * stride_)};
        return r;
    }
    // The slot after the last element, outside the view.
    Complex beyond() const { return {re_at(slots_ - 1), im_at(slots_ - 1)}; }

  private:
    float& re_at(std::size_t slot) { return part(re_, slot, 0); }
    float& im_at(std::size_t slot) { return part(split() ? im_ : re_, slot, 1); }
    float re_at(std::size_t slot) const {
        return const_cast<TestComplexVector*>(this)->re_at(slot);
    }
    float im_at(std::size_t slot) const {
        return const_cast<TestComplexVector*>(this)->im_at(slot);
    }
    bool split() const { return storage_ == Storage::split; }
    float& part(std::vector<float>& array, std::size_t slot, std::size_t which) {
        return split() ? array[slot] : array[2 * slot + which];
    }

    Storage storage_;
    std::size_t stride_, slots_;
    std::vector<float> re_, im_;
    vsip_cvview_f* view_;
};

} // namespace qvsip::test
