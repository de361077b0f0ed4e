// Test matrices: a complex matrix view in a chosen storage (interleaved or split), order and
// spacing, over a block whose elements outside the view hold a sentinel that the tests check.
#pragma once

#include "qvsip.h"
#include "vsip/common/fixture.hpp"

#include <gtest/gtest.h>

#include <complex>
#include <cstdint>
#include <vector>

namespace qvsip::test {

enum class element_order { row, column };

// dense: the view fills its block from element 0; strided: every other element along the
// inner dimension, a gap after each outer line and an offset.
enum class line_spacing { dense, strided };

struct test_layout {
    storage_kind storage;
    element_order order;
    line_spacing spacing;
};

inline constexpr std::complex<float> complex_sentinel{sentinel, sentinel};

class test_matrix {
  public:
    test_matrix(vsip_length rows, vsip_length cols, test_layout layout) : rows_(rows), cols_(cols) {
        const bool strided = layout.spacing == line_spacing::strided;
        const vsip_stride inner_step = strided ? 2 : 1;
        const vsip_length inner = layout.order == element_order::row ? cols : rows;
        const vsip_stride outer_step =
            static_cast<vsip_stride>(inner) * inner_step + (strided ? 1 : 0);
        offset_ = strided ? 3 : 0;
        row_stride_ = layout.order == element_order::row ? inner_step : outer_step;
        col_stride_ = layout.order == element_order::row ? outer_step : inner_step;
        const vsip_length outer = layout.order == element_order::row ? rows : cols;
        length_ = offset_ + (outer + 1) * static_cast<vsip_length>(outer_step) + 4;
        bind(layout.storage);
        for (vsip_length n = 0; n < length_; ++n)
            put(n, complex_sentinel);
    }
    // A view with explicit strides in elements over a block of the given length.
    test_matrix(vsip_length rows, vsip_length cols, storage_kind storage, vsip_offset offset,
                vsip_stride col_stride, vsip_stride row_stride, vsip_length length)
        : rows_(rows), cols_(cols), offset_(offset), row_stride_(row_stride),
          col_stride_(col_stride), length_(length) {
        bind(storage);
        for (vsip_length n = 0; n < length_; ++n)
            put(n, complex_sentinel);
    }
    ~test_matrix() { vsip_cmalldestroy_f(view_); }
    test_matrix(const test_matrix&) = delete;
    test_matrix& operator=(const test_matrix&) = delete;

    const vsip_cmview_f* view() const { return view_; }
    vsip_cblock_f* block() const { return block_; }
    vsip_length rows() const { return rows_; }
    vsip_length cols() const { return cols_; }

    std::complex<float> get(vsip_index i, vsip_index j) const { return at(index(i, j)); }
    void set(vsip_index i, vsip_index j, std::complex<float> x) { put(index(i, j), x); }

    // Element values from a seed, distinct and within [-1, 1].
    void fill_pattern(unsigned seed) {
        std::uint32_t state = seed * 2654435761u + 1;
        auto next = [&] {
            state = state * 1664525u + 1013904223u;
            return static_cast<float>(state >> 8) / static_cast<float>(1u << 23) - 1.0f;
        };
        for (vsip_index i = 0; i < rows_; ++i)
            for (vsip_index j = 0; j < cols_; ++j)
                set(i, j, {next(), next()});
    }

    // Every block element outside the view still holds the sentinel.
    ::testing::AssertionResult outside_untouched() const {
        std::vector<bool> inside(length_, false);
        for (vsip_index i = 0; i < rows_; ++i)
            for (vsip_index j = 0; j < cols_; ++j)
                inside[index(i, j)] = true;
        for (vsip_length n = 0; n < length_; ++n)
            if (!inside[n] && at(n) != complex_sentinel)
                return ::testing::AssertionFailure()
                       << "element " << n << " outside the view changed";
        return ::testing::AssertionSuccess();
    }

  private:
    void bind(storage_kind storage) {
        const bool split = storage == storage_kind::split;
        first_.assign(split ? length_ : 2 * length_, 0.0f);
        if (split) second_.assign(length_, 0.0f);
        block_ = vsip_cblockbind_f(first_.data(), split ? second_.data() : nullptr, length_,
                                   VSIP_MEM_NONE);
        view_ = vsip_cmbind_f(block_, offset_, col_stride_, rows_, row_stride_, cols_);
    }
    vsip_length index(vsip_index i, vsip_index j) const {
        return static_cast<vsip_length>(static_cast<vsip_stride>(offset_) +
                                        static_cast<vsip_stride>(i) * col_stride_ +
                                        static_cast<vsip_stride>(j) * row_stride_);
    }
    std::complex<float> at(vsip_length n) const {
        if (second_.empty()) return {first_[2 * n], first_[2 * n + 1]};
        return {first_[n], second_[n]};
    }
    void put(vsip_length n, std::complex<float> x) {
        if (second_.empty()) {
            first_[2 * n] = x.real();
            first_[2 * n + 1] = x.imag();
        } else {
            first_[n] = x.real();
            second_[n] = x.imag();
        }
    }

    vsip_length rows_, cols_;
    vsip_offset offset_ = 0;
    vsip_stride row_stride_ = 1, col_stride_ = 1;
    vsip_length length_ = 0;
    std::vector<float> first_, second_;
    vsip_cblock_f* block_ = nullptr;
    vsip_cmview_f* view_ = nullptr;
};

inline std::vector<test_layout> all_layouts(line_spacing spacing) {
    std::vector<test_layout> layouts;
    for (storage_kind s : {storage_kind::interleaved, storage_kind::split})
        for (element_order o : {element_order::row, element_order::column})
            layouts.push_back({s, o, spacing});
    return layouts;
}

} // namespace qvsip::test
