// Test views over owned storage: real, integer, boolean and complex vectors and matrices in the
// layouts the element-wise drivers distinguish, with a margin of sentinel elements so that a
// test can check what an operation must leave untouched.
#pragma once

#include "qvsip.h"
#include "vsip/common/fixture.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace ewtest {

using qvsip::test::sentinel;
using qvsip::test::storage_kind;
using qvsip::test::thread_scope;

// Where the elements of a vector sit in its block.
struct vector_layout {
    const char* name;
    storage_kind storage; // complex only
    vsip_offset offset;   // first element
    vsip_stride stride;   // between elements, in block elements
};
inline constexpr vector_layout dense_layout{"dense", storage_kind::interleaved, 0, 1};
inline constexpr vector_layout split_layout{"split", storage_kind::split, 0, 1};
inline constexpr vector_layout strided_layout{"strided", storage_kind::interleaved, 2, 3};
inline constexpr vector_layout split_strided_layout{"split-strided", storage_kind::split, 1, 2};
inline constexpr vector_layout backwards_layout{"backwards", storage_kind::interleaved, 0,
                                                -2}; // offset by length

inline constexpr vsip_length margin = 3; // elements past the views' common length

inline vsip_offset first_element(const vector_layout& layout, vsip_length length) {
    if (layout.stride > 0) return layout.offset;
    return layout.offset + (length - 1) * static_cast<vsip_length>(-layout.stride);
}
inline vsip_length block_length(const vector_layout& layout, vsip_length length) {
    const auto step = static_cast<vsip_length>(std::abs(layout.stride));
    return layout.offset + (length == 0 ? 1 : (length - 1) * step + 1);
}

inline float random_float(std::mt19937& gen, float low = -4.0f, float high = 4.0f) {
    return std::uniform_real_distribution<float>(low, high)(gen);
}

template <class Scalar, class Block, class View> class scalar_vector {
  public:
    using scalar = Scalar;
    scalar_vector(const vector_layout& layout, vsip_length length)
        : data_(block_length(layout, length), Scalar(sentinel)) {
        block_ = bind_block(data_.data(), data_.size());
        view_ = bind_view(block_, first_element(layout, length), layout.stride, length);
        index_.resize(length);
        for (vsip_length i = 0; i < length; ++i)
            index_[i] = first_element(layout, length) + std::ptrdiff_t(i) * layout.stride;
    }
    ~scalar_vector() { destroy(view_); }
    scalar_vector(const scalar_vector&) = delete;
    scalar_vector& operator=(const scalar_vector&) = delete;

    Scalar& operator[](vsip_length i) { return data_[index_[i]]; }
    vsip_length length() const { return index_.size(); }
    const View* view() const { return view_; }

  private:
    static Block* bind_block(Scalar* p, std::size_t n) {
        if constexpr (std::is_same_v<Block, vsip_block_f>)
            return vsip_blockbind_f(p, n, VSIP_MEM_NONE);
        else if constexpr (std::is_same_v<Block, vsip_block_i>)
            return vsip_blockbind_i(p, n, VSIP_MEM_NONE);
        else
            return vsip_blockbind_bl(p, n, VSIP_MEM_NONE);
    }
    static vsip_vview_f* bind_view(vsip_block_f* b, vsip_offset o, vsip_stride s, vsip_length n) {
        return vsip_vbind_f(b, o, s, n);
    }
    static vsip_vview_i* bind_view(vsip_block_i* b, vsip_offset o, vsip_stride s, vsip_length n) {
        return vsip_vbind_i(b, o, s, n);
    }
    static vsip_vview_bl* bind_view(vsip_block_bl* b, vsip_offset o, vsip_stride s, vsip_length n) {
        return vsip_vbind_bl(b, o, s, n);
    }
    static void destroy(vsip_vview_f* v) { vsip_valldestroy_f(v); }
    static void destroy(vsip_vview_i* v) { vsip_valldestroy_i(v); }
    static void destroy(vsip_vview_bl* v) { vsip_valldestroy_bl(v); }

    std::vector<Scalar> data_;
    Block* block_;
    View* view_;
    std::vector<std::ptrdiff_t> index_;
};

using test_real_vector = scalar_vector<float, vsip_block_f, vsip_vview_f>;
using test_int_vector = scalar_vector<vsip_scalar_i, vsip_block_i, vsip_vview_i>;
using test_bool_vector = scalar_vector<vsip_scalar_bl, vsip_block_bl, vsip_vview_bl>;

struct component_pointers {
    float* re;
    float* im;
};

// Complex storage shared by vector and matrix views: interleaved or split arrays of count
// complex elements, all sentinels at first.
class complex_storage {
  public:
    complex_storage(storage_kind storage, vsip_length count)
        : split_(storage == storage_kind::split), first_(count * (split_ ? 1 : 2), sentinel),
          second_(split_ ? count : 0, sentinel) {
        block_ = vsip_cblockbind_f(first_.data(), split_ ? second_.data() : nullptr, count,
                                   VSIP_MEM_NONE);
    }
    complex_storage(const complex_storage&) = delete;
    complex_storage& operator=(const complex_storage&) = delete;
    component_pointers element(std::ptrdiff_t k) {
        if (split_) return {&first_[k], &second_[k]};
        return {&first_[2 * k], &first_[2 * k + 1]};
    }
    vsip_cblock_f* block() const { return block_; }

  private:
    bool split_;
    std::vector<float> first_, second_;
    vsip_cblock_f* block_;
};

class test_complex_vector {
  public:
    test_complex_vector(const vector_layout& layout, vsip_length length)
        : storage_(layout.storage, block_length(layout, length)),
          first_(first_element(layout, length)), stride_(layout.stride), length_(length) {
        view_ = vsip_cvbind_f(storage_.block(), first_, stride_, length);
    }
    ~test_complex_vector() { vsip_cvalldestroy_f(view_); }
    component_pointers operator[](vsip_length i) {
        return storage_.element(std::ptrdiff_t(first_) + std::ptrdiff_t(i) * stride_);
    }
    void set(vsip_length i, float re, float im) {
        *(*this)[i].re = re;
        *(*this)[i].im = im;
    }
    vsip_length length() const { return length_; }
    const vsip_cvview_f* view() const { return view_; }

  private:
    complex_storage storage_;
    vsip_offset first_;
    vsip_stride stride_;
    vsip_length length_;
    vsip_cvview_f* view_;
};

// Whether got matches want: bit for bit when tolerance is 0 (any NaN matching any NaN), else
// within tolerance relative to want.
inline bool close(float got, double want, double tolerance) {
    if (std::isnan(want)) return std::isnan(got);
    if (tolerance == 0)
        return std::bit_cast<std::uint32_t>(got) ==
               std::bit_cast<std::uint32_t>(static_cast<float>(want));
    if (std::isinf(want)) return got == want;
    return std::fabs(got - want) <= tolerance * std::fabs(want) + 1e-30;
}

// Thread counts every test runs with.
inline constexpr int thread_counts[] = {1, 3};
// Lengths reaching the first dense region, the second and the calling thread's tail.
inline constexpr vsip_length test_lengths[] = {1, 3, 4, 5, 16, 21, 37, 100};

} // namespace ewtest
