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

using complex_float = std::complex<float>;

class test_real_vector {
  public:
    explicit test_real_vector(const std::vector<float>& values, vsip_stride stride = 1)
        : data_(values.size() * static_cast<std::size_t>(stride) + 1, sentinel),
          stride_(static_cast<std::size_t>(stride)), length_(values.size()) {
        for (std::size_t i = 0; i < values.size(); ++i)
            data_[i * stride_] = values[i];
        view_ = vsip_vbind_f(vsip_blockbind_f(data_.data(), data_.size(), VSIP_MEM_NONE), 0, stride,
                             values.size());
    }
    test_real_vector(std::size_t length, vsip_stride stride)
        : test_real_vector(std::vector<float>(length, sentinel), stride) {}
    test_real_vector(const test_real_vector&) = delete;
    test_real_vector& operator=(const test_real_vector&) = delete;
    ~test_real_vector() { vsip_valldestroy_f(view_); }

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

class test_complex_vector {
  public:
    test_complex_vector(const std::vector<complex_float>& values, storage_kind storage,
                        vsip_stride stride = 1)
        : storage_(storage), stride_(static_cast<std::size_t>(stride)),
          slots_(values.size() * stride_ + 1) {
        const bool split = storage == storage_kind::split;
        re_.assign(split ? slots_ : 2 * slots_, sentinel);
        im_.assign(split ? slots_ : 0, sentinel);
        for (std::size_t i = 0; i < values.size(); ++i) {
            re_at(i * stride_) = values[i].real();
            im_at(i * stride_) = values[i].imag();
        }
        view_ = vsip_cvbind_f(
            vsip_cblockbind_f(re_.data(), split ? im_.data() : nullptr, slots_, VSIP_MEM_NONE), 0,
            stride, values.size());
    }
    test_complex_vector(std::size_t length, storage_kind storage, vsip_stride stride)
        : test_complex_vector(std::vector<complex_float>(length, {sentinel, sentinel}), storage,
                              stride) {}
    test_complex_vector(const test_complex_vector&) = delete;
    test_complex_vector& operator=(const test_complex_vector&) = delete;
    ~test_complex_vector() { vsip_cvalldestroy_f(view_); }

    const vsip_cvview_f* view() const { return view_; }
    std::vector<complex_float> values() const {
        std::vector<complex_float> r((slots_ - 1) / stride_);
        for (std::size_t i = 0; i < r.size(); ++i)
            r[i] = {re_at(i * stride_), im_at(i * stride_)};
        return r;
    }
    // The slot after the last element, outside the view.
    complex_float beyond() const { return {re_at(slots_ - 1), im_at(slots_ - 1)}; }

  private:
    float& re_at(std::size_t slot) { return part(re_, slot, 0); }
    float& im_at(std::size_t slot) { return part(split() ? im_ : re_, slot, 1); }
    float re_at(std::size_t slot) const {
        return const_cast<test_complex_vector*>(this)->re_at(slot);
    }
    float im_at(std::size_t slot) const {
        return const_cast<test_complex_vector*>(this)->im_at(slot);
    }
    bool split() const { return storage_ == storage_kind::split; }
    float& part(std::vector<float>& array, std::size_t slot, std::size_t which) {
        return split() ? array[slot] : array[2 * slot + which];
    }

    storage_kind storage_;
    std::size_t stride_, slots_;
    std::vector<float> re_, im_;
    vsip_cvview_f* view_;
};

} // namespace qvsip::test
