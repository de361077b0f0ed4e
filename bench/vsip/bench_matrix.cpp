// vsip_cmprod_f and vsip_cmtrans_f timed against plain loops in the same process.
#include "bench/vsip/compare.hpp"
#include "bench_matrix_plain.hpp"
#include "qvsip.h"

#include <cstdio>
#include <vector>

namespace {

// Interleaved n x n row-major matrix over its own array.
class SquareMatrix {
  public:
    explicit SquareMatrix(vsip_length n) : data_(2 * n * n) {
        for (std::size_t k = 0; k < data_.size(); ++k)
            data_[k] = static_cast<float>(k % 17) * 0.0625f - 0.5f;
        view_ = vsip_cmbind_f(vsip_cblockbind_f(data_.data(), nullptr, n * n, VSIP_MEM_NONE), 0,
                              static_cast<vsip_stride>(n), n, 1, n);
    }
    ~SquareMatrix() { vsip_cmalldestroy_f(view_); }
    SquareMatrix(const SquareMatrix&) = delete;
    SquareMatrix& operator=(const SquareMatrix&) = delete;
    const vsip_cmview_f* view() const { return view_; }
    float* data() { return data_.data(); }

  private:
    std::vector<float> data_;
    vsip_cmview_f* view_;
};

constexpr int kSamples = 5;
constexpr double kTargetMs = 2.0;

void product_row(qvsip::bench::comparison_table& table, vsip_length n, int threads) {
    SquareMatrix a(n), b(n), r(n);
    qvsip::bench::compare(
        table, "vsip_cmprod_f", n, threads, [&] { vsip_cmprod_f(a.view(), b.view(), r.view()); },
        [&] { qvsip::bench::plain_complex_product(a.data(), b.data(), r.data(), n); }, kSamples,
        kTargetMs);
}

void transpose_row(qvsip::bench::comparison_table& table, vsip_length n, int threads) {
    SquareMatrix a(n), r(n);
    qvsip::bench::compare(
        table, "vsip_cmtrans_f", n, threads, [&] { vsip_cmtrans_f(a.view(), r.view()); },
        [&] { qvsip::bench::plain_complex_transpose(a.data(), r.data(), n); }, kSamples, kTargetMs);
}

} // namespace

int main() {
    qvsip::bench::comparison_table table = qvsip::bench::comparison_table_against("plain");
    for (vsip_length n : {64, 128, 256})
        for (int threads : {1, 2})
            product_row(table, n, threads);
    transpose_row(table, 1024, 1);
    QVSIP_SetOmpThreadNum(1);
    return 0;
}
