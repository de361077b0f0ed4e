// Real FFT objects (rcfftop, crfftop) and multiple FFT objects (ccfftmip, ccfftmop, rcfftmop,
// crfftmop) against FFTW in double precision, through one harness: every case names the kind,
// the sizes, the major, the storage of each side and the scale; the harness checks each
// transform against the oracle, that nothing outside the output view changes and, out of
// place, that the input is unchanged. Then attributes, refusals and the paths that do nothing.
#include "common/oracle.hpp"
#include "common/real_oracle.hpp"
#include "qvsip.h"
#include "vsip/memory_probe.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using qtx::test::double_signal;

constexpr float guard_value = -12345.0f; // marks block scalars that no call may touch

enum class kind { cc_op, cc_ip, rc, cr };

// Where a side's elements lie in its block: element (r, c) at offset + r * col_stride +
// c * row_stride, interleaved or split when complex.
enum class storage { row_major, col_major, strided, transposed_strided, split };

struct geometry {
    vsip_length rows, cols;
    vsip_offset offset;
    vsip_stride col_stride, row_stride;
    bool split;

    vsip_length block_length() const {
        return offset + (rows - 1) * col_stride + (cols - 1) * row_stride + 1;
    }
    vsip_index at(vsip_index r, vsip_index c) const {
        return offset + r * col_stride + c * row_stride;
    }
};

geometry geometry_of(storage s, vsip_length rows, vsip_length cols) {
    switch (s) {
    case storage::row_major:
        return {rows, cols, 0, vsip_stride(cols), 1, false};
    case storage::col_major:
        return {rows, cols, 0, 1, vsip_stride(rows), false};
    case storage::strided:
        return {rows, cols, 3, vsip_stride(2 * cols + 5), 2, false};
    case storage::transposed_strided:
        return {rows, cols, 1, 3, vsip_stride(3 * rows + 1), false};
    case storage::split:
        return {rows, cols, 2, vsip_stride(cols + 1), 1, true};
    }
    return {};
}

// A real or complex block on test-owned arrays filled with guard_value, with one view on it.
class side_storage {
  public:
    side_storage(const geometry& g, bool complex) : g_(g), complex_(complex) {
        const vsip_length n = g.block_length();
        re_.assign(complex && !g.split ? 2 * n : n, guard_value);
        im_.assign(complex && g.split ? n : 0, guard_value);
        if (complex)
            cblock_ =
                vsip_cblockbind_f(re_.data(), g.split ? im_.data() : nullptr, n, VSIP_MEM_NONE);
        else
            block_ = vsip_blockbind_f(re_.data(), n, VSIP_MEM_NONE);
    }
    ~side_storage() {
        vsip_cvdestroy_f(cv_);
        vsip_vdestroy_f(v_);
        vsip_cmdestroy_f(cm_);
        vsip_mdestroy_f(m_);
        vsip_cblockdestroy_f(cblock_);
        vsip_blockdestroy_f(block_);
    }
    side_storage(const side_storage&) = delete;
    side_storage& operator=(const side_storage&) = delete;

    // Views over the geometry: a vector is its single row.
    const vsip_vview_f* vector() {
        return v_ = vsip_vbind_f(block_, g_.offset, g_.row_stride, g_.cols);
    }
    const vsip_cvview_f* cvector() {
        return cv_ = vsip_cvbind_f(cblock_, g_.offset, g_.row_stride, g_.cols);
    }
    const vsip_mview_f* matrix() {
        return m_ = vsip_mbind_f(block_, g_.offset, g_.col_stride, g_.rows, g_.row_stride, g_.cols);
    }
    const vsip_cmview_f* cmatrix() {
        return cm_ = vsip_cmbind_f(cblock_, g_.offset, g_.col_stride, g_.rows, g_.row_stride,
                                   g_.cols);
    }

    std::complex<double> get(vsip_index r, vsip_index c) const {
        const vsip_index i = g_.at(r, c);
        if (!complex_) return re_[i];
        return g_.split ? std::complex<double>(re_[i], im_[i])
                        : std::complex<double>(re_[2 * i], re_[2 * i + 1]);
    }
    void set(vsip_index r, vsip_index c, std::complex<double> x) {
        const vsip_index i = g_.at(r, c);
        float* re = complex_ && !g_.split ? &re_[2 * i] : &re_[i];
        float* im = complex_ ? (g_.split ? &im_[i] : re + 1) : nullptr;
        *re = float(x.real());
        if (im != nullptr) *im = float(x.imag());
    }
    std::vector<float> snapshot() const {
        std::vector<float> all(re_);
        all.insert(all.end(), im_.begin(), im_.end());
        return all;
    }
    // Scalars outside the view that are no longer guard_value.
    size_t guards_changed() {
        for (vsip_index r = 0; r < g_.rows; ++r)
            for (vsip_index c = 0; c < g_.cols; ++c)
                set(r, c, {guard_value, guard_value});
        size_t changed = 0;
        for (float x : snapshot())
            changed += x != guard_value;
        return changed;
    }
    const geometry& shape() const { return g_; }

  private:
    geometry g_;
    bool complex_;
    std::vector<float> re_, im_;
    vsip_block_f* block_ = nullptr;
    vsip_cblock_f* cblock_ = nullptr;
    vsip_vview_f* v_ = nullptr;
    vsip_cvview_f* cv_ = nullptr;
    vsip_mview_f* m_ = nullptr;
    vsip_cmview_f* cm_ = nullptr;
};

struct fft_case {
    kind k;
    bool matrix;      // a vector object works on the first row of the geometry
    vsip_length M, N; // the real (or complex) matrix; vectors: M = 1
    vsip_major major;
    storage in, out;
    float scale;
    int threads = 1;
};

std::string describe(const fft_case& c) {
    static const char* kinds[] = {"ccop", "ccip", "rc", "cr"};
    static const char* storages[] = {"row", "col", "strided", "tstrided", "split"};
    return std::string(kinds[int(c.k)]) + (c.matrix ? " matrix " : " vector ") +
           std::to_string(c.M) + "x" + std::to_string(c.N) +
           (c.major == VSIP_ROW ? " rows " : " cols ") + storages[int(c.in)] + "->" +
           storages[int(c.out)] + " scale " + std::to_string(c.scale) + " threads " +
           std::to_string(c.threads);
}

bool rows_major(const fft_case& c) {
    return !c.matrix || c.major == VSIP_ROW;
}
vsip_length transform_length(const fft_case& c) {
    return rows_major(c) ? c.N : c.M;
}
vsip_length transform_count(const fft_case& c) {
    return rows_major(c) ? c.M : c.N;
}
// Sizes of the input and output sides: the half spectrum along the transform direction.
geometry side_geometry(const fft_case& c, storage s, bool half) {
    const vsip_length n = transform_length(c), h = n / 2 + 1;
    const vsip_length rows = !half || rows_major(c) ? c.M : h;
    const vsip_length cols = half && rows_major(c) ? h : c.N;
    return geometry_of(s, rows, cols);
}

// Element k of transform t of a side.
std::complex<double> element(const fft_case& c, const side_storage& s, vsip_index t, vsip_index k) {
    return rows_major(c) ? s.get(t, k) : s.get(k, t);
}

// What transform t should give, from FFTW in double.
double_signal expected(const fft_case& c, const side_storage& in, vsip_index t) {
    const vsip_length n = transform_length(c);
    double_signal y;
    if (c.k == kind::rc) {
        qtx::test::reference_reals x(n);
        for (vsip_index k = 0; k < n; ++k)
            x[k] = element(c, in, t, k).real();
        const auto spectrum = qtx::test::reference_r2c<float>(x);
        y.assign(spectrum.begin(), spectrum.end());
    } else if (c.k == kind::cr) {
        qtx::test::reference_signal x(n / 2 + 1);
        for (vsip_index k = 0; k < x.size(); ++k)
            x[k] = element(c, in, t, k);
        const auto reals = qtx::test::reference_c2r<float>(x, n);
        y.assign(reals.begin(), reals.end());
    } else {
        double_signal x(n);
        for (vsip_index k = 0; k < n; ++k)
            x[k] = element(c, in, t, k);
        y = qtx::test::reference_dft_double(x, c.k == kind::cc_op ? -1 : +1);
    }
    for (auto& v : y)
        v *= c.scale;
    return y;
}

struct fft_objects {
    vsip_fft_f* vector = nullptr;
    vsip_fftm_f* matrix = nullptr;
    ~fft_objects() {
        vsip_fft_destroy_f(vector);
        vsip_fftm_destroy_f(matrix);
    }
};

void create(const fft_case& c, fft_objects& objects) {
    const vsip_length n = c.N;
    if (!c.matrix) {
        switch (c.k) {
        case kind::cc_op:
            objects.vector = vsip_ccfftop_create_f(n, c.scale, VSIP_FFT_FWD, 1, VSIP_ALG_TIME);
            break;
        case kind::cc_ip:
            objects.vector = vsip_ccfftip_create_f(n, c.scale, VSIP_FFT_INV, 1, VSIP_ALG_TIME);
            break;
        case kind::rc:
            objects.vector = vsip_rcfftop_create_f(n, c.scale, 1, VSIP_ALG_TIME);
            break;
        case kind::cr:
            objects.vector = vsip_crfftop_create_f(n, c.scale, 1, VSIP_ALG_TIME);
            break;
        }
        return;
    }
    switch (c.k) {
    case kind::cc_op:
        objects.matrix =
            vsip_ccfftmop_create_f(c.M, n, c.scale, VSIP_FFT_FWD, c.major, 1, VSIP_ALG_TIME);
        break;
    case kind::cc_ip:
        objects.matrix =
            vsip_ccfftmip_create_f(c.M, n, c.scale, VSIP_FFT_INV, c.major, 1, VSIP_ALG_TIME);
        break;
    case kind::rc:
        objects.matrix = vsip_rcfftmop_create_f(c.M, n, c.scale, c.major, 1, VSIP_ALG_SPACE);
        break;
    case kind::cr:
        objects.matrix = vsip_crfftmop_create_f(c.M, n, c.scale, c.major, 1, VSIP_ALG_NOISE);
        break;
    }
}

void run(const fft_case& c, const fft_objects& o, side_storage& in, side_storage& out) {
    if (!c.matrix) {
        switch (c.k) {
        case kind::cc_op:
            vsip_ccfftop_f(o.vector, in.cvector(), out.cvector());
            break;
        case kind::cc_ip:
            vsip_ccfftip_f(o.vector, in.cvector());
            break;
        case kind::rc:
            vsip_rcfftop_f(o.vector, in.vector(), out.cvector());
            break;
        case kind::cr:
            vsip_crfftop_f(o.vector, in.cvector(), out.vector());
            break;
        }
        return;
    }
    switch (c.k) {
    case kind::cc_op:
        vsip_ccfftmop_f(o.matrix, in.cmatrix(), out.cmatrix());
        break;
    case kind::cc_ip:
        vsip_ccfftmip_f(o.matrix, in.cmatrix());
        break;
    case kind::rc:
        vsip_rcfftmop_f(o.matrix, in.matrix(), out.cmatrix());
        break;
    case kind::cr:
        vsip_crfftmop_f(o.matrix, in.cmatrix(), out.matrix());
        break;
    }
}

void check_case(const fft_case& c) {
    SCOPED_TRACE(describe(c));
    const int saved_threads = QVSIP_GetOmpThreadNum();
    ASSERT_EQ(QVSIP_SetOmpThreadNum(c.threads), 0);
    fft_objects objects;
    create(c, objects);
    ASSERT_TRUE(objects.vector != nullptr || objects.matrix != nullptr);

    const bool complex_in = c.k != kind::rc, complex_out = c.k != kind::cr;
    side_storage in(side_geometry(c, c.in, c.k == kind::cr), complex_in);
    side_storage out(side_geometry(c, c.out, c.k == kind::rc), complex_out);
    const geometry& g = in.shape();
    const auto values = qtx::test::random_signal(g.rows * g.cols, std::uint32_t(c.M * 7 + c.N));
    for (vsip_index r = 0; r < g.rows; ++r)
        for (vsip_index col = 0; col < g.cols; ++col) {
            const auto v = values[r * g.cols + col];
            in.set(r, col, {double(v.real()), complex_in ? double(v.imag()) : 0.0});
        }
    std::vector<double_signal> want(transform_count(c));
    for (vsip_index t = 0; t < want.size(); ++t)
        want[t] = expected(c, in, t);
    const auto input_before = in.snapshot();

    side_storage& result = c.k == kind::cc_ip ? in : out;
    run(c, objects, in, out);
    QVSIP_SetOmpThreadNum(saved_threads > 0 ? saved_threads : 1);

    const double bound = qtx::test::transform_error_bound<float>(transform_length(c), 4.0);
    for (vsip_index t = 0; t < want.size(); ++t) {
        double error = 0, norm = 0;
        for (vsip_index k = 0; k < want[t].size(); ++k) {
            error += std::norm(element(c, result, t, k) - want[t][k]);
            norm += std::norm(want[t][k]);
        }
        ASSERT_LE(std::sqrt(error / std::max(norm, 1e-30)), bound) << "transform " << t;
    }
    if (c.k != kind::cc_ip) {
        EXPECT_EQ(in.snapshot(), input_before);
    }
    EXPECT_EQ(result.guards_changed(), 0u);
}

// ---------------------------------------------------------------------------------------------
// The case table

std::vector<fft_case> vector_cases() {
    std::vector<fft_case> cases;
    const storage complex_storages[] = {storage::row_major, storage::strided, storage::split};
    for (kind k : {kind::cc_op, kind::cc_ip, kind::rc, kind::cr})
        for (vsip_length n : {2, 4, 6, 10, 16, 30, 64, 100, 128, 1000, 1024, 4096, 65536})
            for (storage in : complex_storages)
                for (storage out : complex_storages) {
                    // A real side has no split storage; its strided case is the same.
                    if ((k == kind::rc && in == storage::split) ||
                        (k == kind::cr && out == storage::split) || (k == kind::cc_ip && in != out))
                        continue;
                    cases.push_back({k, false, 1, n, VSIP_ROW, in, out, n % 3 ? 1.0f : 0.5f});
                }
    for (vsip_length n : {1, 3, 7, 97})
        cases.push_back(
            {kind::cc_op, false, 1, n, VSIP_ROW, storage::row_major, storage::row_major, 1.0f});
    return cases;
}

std::vector<fft_case> matrix_cases() {
    struct size {
        vsip_length M, N;
    };
    const size sizes[] = {{1, 8}, {2, 2}, {4, 8}, {6, 16}, {8, 6}, {16, 64}, {10, 100}, {64, 128}};
    const storage storages[] = {storage::row_major, storage::col_major, storage::strided,
                                storage::transposed_strided, storage::split};
    std::vector<fft_case> cases;
    for (kind k : {kind::cc_op, kind::cc_ip, kind::rc, kind::cr})
        for (size s : sizes)
            for (vsip_major major : {VSIP_ROW, VSIP_COL})
                for (storage st : storages) {
                    // Real sides have no split storage and take only even transform lengths.
                    const bool real = k == kind::rc || k == kind::cr;
                    const vsip_length along = major == VSIP_ROW ? s.N : s.M;
                    if (real && (st == storage::split || along % 2 != 0)) continue;
                    cases.push_back({k, true, s.M, s.N, major, st, st, s.M % 4 ? 1.0f : 0.25f});
                }
    // Sides in different layouts, and odd complex sizes.
    for (kind k : {kind::cc_op, kind::rc, kind::cr})
        for (vsip_major major : {VSIP_ROW, VSIP_COL}) {
            cases.push_back({k, true, 8, 16, major, storage::row_major, storage::col_major, 1.0f});
            cases.push_back({k, true, 8, 16, major, storage::col_major, storage::row_major, 1.0f});
        }
    for (kind k : {kind::cc_op, kind::cc_ip})
        for (vsip_major major : {VSIP_ROW, VSIP_COL})
            cases.push_back({k, true, 7, 13, major, storage::col_major, storage::col_major, 1.0f});
    // Threaded plans on large batches.
    for (kind k : {kind::cc_op, kind::cc_ip, kind::rc, kind::cr})
        for (vsip_major major : {VSIP_ROW, VSIP_COL})
            cases.push_back(
                {k, true, 256, 512, major, storage::row_major, storage::row_major, 1.0f, 2});
    return cases;
}

TEST(FftRealAndMultiple, VectorObjectsMatchTheOracle) {
    for (const fft_case& c : vector_cases())
        check_case(c);
}

TEST(FftRealAndMultiple, MatrixObjectsMatchTheOracle) {
    for (const fft_case& c : matrix_cases())
        check_case(c);
}

// ---------------------------------------------------------------------------------------------
// Attributes

TEST(FftRealAndMultiple, AttributesDescribeTheObject) {
    struct vector_case {
        vsip_fft_f* fft;
        vsip_fft_attr_f want;
    };
    const vector_case vectors[] = {{vsip_ccfftip_create_f(12, 2.0f, VSIP_FFT_INV, 1, VSIP_ALG_TIME),
                                    {12, 12, VSIP_FFT_IP, 2.0f, VSIP_FFT_INV}},
                                   {vsip_ccfftop_create_f(5, 1.0f, VSIP_FFT_FWD, 1, VSIP_ALG_TIME),
                                    {5, 5, VSIP_FFT_OP, 1.0f, VSIP_FFT_FWD}},
                                   {vsip_rcfftop_create_f(16, 0.5f, 1, VSIP_ALG_TIME),
                                    {16, 9, VSIP_FFT_OP, 0.5f, VSIP_FFT_FWD}},
                                   {vsip_crfftop_create_f(16, 0.0625f, 1, VSIP_ALG_TIME),
                                    {9, 16, VSIP_FFT_OP, 0.0625f, VSIP_FFT_INV}}};
    for (const vector_case& v : vectors) {
        vsip_fft_attr_f got{};
        vsip_fft_getattr_f(v.fft, &got);
        EXPECT_EQ(got.input, v.want.input);
        EXPECT_EQ(got.output, v.want.output);
        EXPECT_EQ(got.place, v.want.place);
        EXPECT_EQ(got.scale, v.want.scale);
        EXPECT_EQ(got.dir, v.want.dir);
        vsip_fft_getattr_f(v.fft, nullptr);
        vsip_fft_destroy_f(v.fft);
    }
    struct matrix_case {
        vsip_fftm_f* fft;
        vsip_fftm_attr_f want;
    };
    const matrix_case matrices[] = {
        {vsip_ccfftmip_create_f(3, 5, 1.0f, VSIP_FFT_FWD, VSIP_COL, 1, VSIP_ALG_TIME),
         {{3, 5}, {3, 5}, VSIP_FFT_IP, 1.0f, VSIP_FFT_FWD, VSIP_COL}},
        {vsip_ccfftmop_create_f(3, 5, 3.0f, VSIP_FFT_INV, VSIP_ROW, 1, VSIP_ALG_TIME),
         {{3, 5}, {3, 5}, VSIP_FFT_OP, 3.0f, VSIP_FFT_INV, VSIP_ROW}},
        {vsip_rcfftmop_create_f(4, 6, 1.0f, VSIP_ROW, 1, VSIP_ALG_TIME),
         {{4, 6}, {4, 4}, VSIP_FFT_OP, 1.0f, VSIP_FFT_FWD, VSIP_ROW}},
        {vsip_rcfftmop_create_f(4, 6, 1.0f, VSIP_COL, 1, VSIP_ALG_TIME),
         {{4, 6}, {3, 6}, VSIP_FFT_OP, 1.0f, VSIP_FFT_FWD, VSIP_COL}},
        {vsip_crfftmop_create_f(4, 6, 0.5f, VSIP_ROW, 1, VSIP_ALG_TIME),
         {{4, 4}, {4, 6}, VSIP_FFT_OP, 0.5f, VSIP_FFT_INV, VSIP_ROW}},
        {vsip_crfftmop_create_f(4, 6, 0.5f, VSIP_COL, 1, VSIP_ALG_TIME),
         {{3, 6}, {4, 6}, VSIP_FFT_OP, 0.5f, VSIP_FFT_INV, VSIP_COL}}};
    for (const matrix_case& m : matrices) {
        vsip_fftm_attr_f got{};
        vsip_fftm_getattr_f(m.fft, &got);
        EXPECT_EQ(got.input.r, m.want.input.r);
        EXPECT_EQ(got.input.c, m.want.input.c);
        EXPECT_EQ(got.output.r, m.want.output.r);
        EXPECT_EQ(got.output.c, m.want.output.c);
        EXPECT_EQ(got.place, m.want.place);
        EXPECT_EQ(got.scale, m.want.scale);
        EXPECT_EQ(got.dir, m.want.dir);
        EXPECT_EQ(got.major, m.want.major);
        vsip_fftm_getattr_f(m.fft, nullptr);
        vsip_fftm_destroy_f(m.fft);
    }
    vsip_fft_attr_f untouched{7, 7, VSIP_FFT_OP, 7.0f, VSIP_FFT_INV};
    vsip_fft_getattr_f(nullptr, &untouched);
    EXPECT_EQ(untouched.input, 7u);
}

// ---------------------------------------------------------------------------------------------
// Refusals and calls that do nothing

TEST(FftRealAndMultiple, CreationRefusesOddRealLengthsAndOversizedBuffers) {
    const vsip_length huge = vsip_length{1} << 32;
    for (vsip_length n : {vsip_length{0}, vsip_length{1}, vsip_length{7}, vsip_length{1} << 30}) {
        EXPECT_EQ(vsip_rcfftop_create_f(n, 1, 1, VSIP_ALG_TIME), nullptr) << n;
        EXPECT_EQ(vsip_crfftop_create_f(n, 1, 1, VSIP_ALG_TIME), nullptr) << n;
    }
    struct matrix_size {
        vsip_length M, N;
        vsip_major major;
    };
    // An odd transform length only matters along the major; the rest overflow or are empty.
    const matrix_size real_refused[] = {{4, 7, VSIP_ROW},       {7, 4, VSIP_COL},
                                        {0, 4, VSIP_ROW},       {4, 0, VSIP_COL},
                                        {huge, huge, VSIP_ROW}, {1 << 16, 1 << 16, VSIP_COL}};
    for (const matrix_size& s : real_refused) {
        EXPECT_EQ(vsip_rcfftmop_create_f(s.M, s.N, 1, s.major, 1, VSIP_ALG_TIME), nullptr);
        EXPECT_EQ(vsip_crfftmop_create_f(s.M, s.N, 1, s.major, 1, VSIP_ALG_TIME), nullptr);
    }
    const matrix_size complex_refused[] = {
        {0, 4, VSIP_ROW}, {huge, huge, VSIP_COL}, {1 << 15, 1 << 14, VSIP_ROW}};
    for (const matrix_size& s : complex_refused) {
        EXPECT_EQ(vsip_ccfftmop_create_f(s.M, s.N, 1, VSIP_FFT_FWD, s.major, 1, VSIP_ALG_TIME),
                  nullptr);
        EXPECT_EQ(vsip_ccfftmip_create_f(s.M, s.N, 1, VSIP_FFT_FWD, s.major, 1, VSIP_ALG_TIME),
                  nullptr);
    }
    vsip_fftm_f* odd_across = vsip_rcfftmop_create_f(7, 4, 1, VSIP_ROW, 1, VSIP_ALG_TIME);
    EXPECT_NE(odd_across, nullptr);
    EXPECT_EQ(vsip_fftm_destroy_f(odd_across), 0);
    EXPECT_EQ(vsip_fftm_destroy_f(nullptr), 0);
}

TEST(FftRealAndMultiple, EveryFailedAllocationReleasesWhatWasMade) {
    qvsip::test::memory_probe probe;
    // Object, state, input buffer and, out of place, output buffer.
    for (int in_place = 0; in_place < 2; ++in_place)
        for (int successes = 0; successes < 4 - in_place; ++successes) {
            probe.fail_after(successes);
            vsip_fftm_f* fft =
                in_place
                    ? vsip_ccfftmip_create_f(8, 16, 1, VSIP_FFT_FWD, VSIP_COL, 1, VSIP_ALG_TIME)
                    : vsip_rcfftmop_create_f(8, 16, 1, VSIP_ROW, 1, VSIP_ALG_TIME);
            EXPECT_EQ(fft, nullptr);
            EXPECT_EQ(probe.live(), 0) << successes;
        }
    probe.fail_after(-1);
    vsip_fft_f* fft = vsip_crfftop_create_f(64, 1, 1, VSIP_ALG_TIME);
    ASSERT_NE(fft, nullptr);
    EXPECT_EQ(probe.live(), 4);
    vsip_fft_destroy_f(fft);
    EXPECT_EQ(probe.live(), 0);
}

// Null arguments, objects of another kind and matrices of another size leave every block as it
// was.
TEST(FftRealAndMultiple, MisusedCallsDoNothing) {
    const fft_case c{kind::cc_op, true, 4, 8, VSIP_ROW, storage::row_major, storage::row_major, 1};
    side_storage complex_a(side_geometry(c, storage::row_major, false), true);
    side_storage complex_b(side_geometry(c, storage::row_major, false), true);
    side_storage real_a(side_geometry(c, storage::row_major, false), false);
    side_storage wrong_size(geometry_of(storage::row_major, 8, 4), true);
    const vsip_cmview_f *ca = complex_a.cmatrix(), *cb = complex_b.cmatrix();
    const vsip_mview_f* ra = real_a.matrix();
    const vsip_cvview_f *cva = complex_a.cvector(), *cvb = complex_b.cvector();
    const vsip_vview_f* rva = real_a.vector();
    const vsip_cmview_f* other = wrong_size.cmatrix();
    const auto before = complex_a.snapshot();
    const auto before_b = complex_b.snapshot();
    const auto before_real = real_a.snapshot();

    vsip_fftm_f* ccm = vsip_ccfftmop_create_f(4, 8, 1, VSIP_FFT_FWD, VSIP_ROW, 1, VSIP_ALG_TIME);
    vsip_fftm_f* rcm = vsip_rcfftmop_create_f(4, 8, 1, VSIP_ROW, 1, VSIP_ALG_TIME);
    vsip_fft_f* cc = vsip_ccfftop_create_f(8, 1, VSIP_FFT_FWD, 1, VSIP_ALG_TIME);
    vsip_fft_f* rc = vsip_rcfftop_create_f(8, 1, 1, VSIP_ALG_TIME);
    vsip_fft_f* cr = vsip_crfftop_create_f(8, 1, 1, VSIP_ALG_TIME);
    vsip_ccfftmop_f(nullptr, ca, cb);
    vsip_ccfftmop_f(ccm, nullptr, cb);
    vsip_ccfftmop_f(ccm, ca, nullptr);
    vsip_ccfftmip_f(ccm, nullptr);
    vsip_ccfftmop_f(ccm, ca, other);
    vsip_ccfftmop_f(ccm, other, cb);
    vsip_ccfftmip_f(ccm, other);
    vsip_ccfftmop_f(rcm, ca, cb);
    vsip_crfftmop_f(rcm, ca, ra);
    vsip_crfftmop_f(ccm, ca, ra);
    vsip_rcfftmop_f(ccm, ra, cb);
    vsip_rcfftmop_f(nullptr, ra, cb);
    vsip_rcfftop_f(cc, rva, cvb);
    vsip_rcfftop_f(cr, rva, cvb);
    vsip_crfftop_f(rc, cva, rva);
    vsip_crfftop_f(cc, cva, rva);
    vsip_ccfftop_f(rc, cva, cvb);
    vsip_ccfftip_f(cr, cva);
    vsip_rcfftop_f(rc, nullptr, cvb);
    vsip_crfftop_f(cr, cva, nullptr);
    EXPECT_EQ(complex_a.snapshot(), before);
    EXPECT_EQ(complex_b.snapshot(), before_b);
    EXPECT_EQ(real_a.snapshot(), before_real);
    vsip_fftm_destroy_f(ccm);
    vsip_fftm_destroy_f(rcm);
    vsip_fft_destroy_f(cc);
    vsip_fft_destroy_f(rc);
    vsip_fft_destroy_f(cr);
}

// Out of place on overlapping views of one block: the output is the transform of the input as it
// was before the call.
TEST(FftRealAndMultiple, OverlappingViewsTransformTheOriginalInput) {
    const vsip_length n = 4096;
    std::vector<float> data(2 * (n + 1));
    const auto x = qtx::test::random_signal(n, 11);
    double_signal original(n);
    for (vsip_length i = 0; i < n; ++i) {
        original[i] = {float(x[i].real()), float(x[i].imag())};
        data[2 * i] = float(x[i].real());
        data[2 * i + 1] = float(x[i].imag());
    }
    vsip_cblock_f* block = vsip_cblockbind_f(data.data(), nullptr, n + 1, VSIP_MEM_NONE);
    vsip_cvview_f* in = vsip_cvbind_f(block, 0, 1, n);
    vsip_cvview_f* out = vsip_cvbind_f(block, 1, 1, n);
    vsip_fft_f* fft = vsip_ccfftop_create_f(n, 1, VSIP_FFT_FWD, 1, VSIP_ALG_TIME);
    vsip_ccfftop_f(fft, in, out);
    const double_signal want = qtx::test::reference_dft_double(original, -1);
    double error = 0, norm = 0;
    for (vsip_length i = 0; i < n; ++i) {
        const vsip_cscalar_f got = vsip_cvget_f(out, i);
        error += std::norm(std::complex<double>(got.r, got.i) - want[i]);
        norm += std::norm(want[i]);
    }
    EXPECT_LT(std::sqrt(error / norm), qtx::test::transform_error_bound<float>(n, 4.0));
    vsip_fft_destroy_f(fft);
    vsip_cvdestroy_f(in);
    vsip_cvdestroy_f(out);
    vsip_cblockdestroy_f(block);
}

} // namespace
