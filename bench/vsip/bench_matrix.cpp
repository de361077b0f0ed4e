// vsip_cmprod_f in GFLOP/s and vsip_cmtrans_f in GB/s against plain loops in the same process.
#include "bench/timing.hpp"
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

constexpr double kFlopsPerComplexMultiplyAdd = 8;
constexpr double kTransposeBytesPerElement = 2 * 2 * sizeof(float); // read and write

void product_row(vsip_length n, int threads) {
    SquareMatrix a(n), b(n), r(n);
    QVSIP_SetOmpThreadNum(threads);
    const double ours =
        qtx::bench::median_ns_per_call([&] { vsip_cmprod_f(a.view(), b.view(), r.view()); }, 5);
    const double plain = qtx::bench::median_ns_per_call(
        [&] { qvsip::bench::plain_complex_product(a.data(), b.data(), r.data(), n); }, 5);
    const double flops = kFlopsPerComplexMultiplyAdd * static_cast<double>(n * n * n);
    std::printf("%-10s %6lu %3d %12.2f %12.2f %8.2f\n", "cmprod", static_cast<unsigned long>(n),
                threads, flops / ours, flops / plain, plain / ours);
}

void transpose_row(vsip_length n, int threads) {
    SquareMatrix a(n), r(n);
    QVSIP_SetOmpThreadNum(threads);
    const double ours =
        qtx::bench::median_ns_per_call([&] { vsip_cmtrans_f(a.view(), r.view()); }, 5);
    const double plain = qtx::bench::median_ns_per_call(
        [&] { qvsip::bench::plain_complex_transpose(a.data(), r.data(), n); }, 5);
    const double bytes = kTransposeBytesPerElement * static_cast<double>(n * n);
    std::printf("%-10s %6lu %3d %12.2f %12.2f %8.2f\n", "cmtrans", static_cast<unsigned long>(n),
                threads, bytes / ours, bytes / plain, plain / ours);
}

} // namespace

int main() {
    std::printf("%-10s %6s %3s %12s %12s %8s\n", "operation", "n", "T", "qvsip", "plain",
                "plain/q");
    std::printf("(cmprod in GFLOP/s, cmtrans in GB/s; ratio > 1: qvsip faster)\n");
    for (vsip_length n : {64, 128, 256})
        for (int threads : {1, 2})
            product_row(n, threads);
    transpose_row(1024, 1);
    QVSIP_SetOmpThreadNum(1);
    return 0;
}
