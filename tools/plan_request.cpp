#include "tools/plan_request.hpp"

#include <cstdlib>
#include <cstring>

namespace {

// Indexed by kind code, as fft/solvers/r2r_1d.hpp and the QTX_FFT_* constants number them.
constexpr const char* r2r_kind_names[] = {
    "r2hc",    // QTX_FFT_REAL_TO_HALFCOMPLEX
    "hc2r",    // QTX_FFT_HALFCOMPLEX_TO_REAL
    "dht",     // QTX_FFT_HARTLEY
    "redft00", // QTX_FFT_COSINE_1
    "redft01", // QTX_FFT_COSINE_3
    "redft10", // QTX_FFT_COSINE_2
    "redft11", // QTX_FFT_COSINE_4
    "rodft00", // QTX_FFT_SINE_1
    "rodft01", // QTX_FFT_SINE_3
    "rodft10", // QTX_FFT_SINE_2
    "rodft11", // QTX_FFT_SINE_4
};
constexpr int r2r_kind_count = sizeof r2r_kind_names / sizeof r2r_kind_names[0];

bool is_real_to_complex(transform_family family) {
    return family == transform_family::r2c || family == transform_family::c2r;
}

// Elements one row of the last dimension occupies on one side.
int64_t last_row_length(const plan_request& r, bool input) {
    const int64_t n = r.n[r.rank - 1];
    if (!is_real_to_complex(r.family)) return n;
    const bool complex_side = input == (r.family == transform_family::c2r);
    if (complex_side) return n / 2 + 1;
    return r.in_place ? 2 * (n / 2 + 1) : n;
}

// Stride of the outer dimension d on one side, from the one inside it; false on overflow.
bool outer_stride(const plan_request& r, int d, bool input, int64_t inner, int64_t* stride) {
    const int64_t length = d + 1 == r.rank - 1 ? last_row_length(r, input) : r.n[d + 1];
    return !__builtin_mul_overflow(inner, length, stride);
}

} // namespace

bool layout_of(const plan_request& r, request_layout* layout) {
    layout->dims[r.rank - 1] = {r.n[r.rank - 1], r.in_stride, r.out_stride};
    for (int d = r.rank - 2; d >= 0; --d) {
        layout_dim& dim = layout->dims[d];
        dim.n = r.n[d];
        if (!outer_stride(r, d, true, layout->dims[d + 1].is, &dim.is) ||
            !outer_stride(r, d, false, layout->dims[d + 1].os, &dim.os))
            return false;
    }
    layout->batch = {r.howmany, r.in_dist, r.out_dist};
    if (r.dist_given) return true;
    const layout_dim& outer = layout->dims[0];
    const int64_t in_rows = r.rank == 1 ? last_row_length(r, true) : outer.n;
    const int64_t out_rows = r.rank == 1 ? last_row_length(r, false) : outer.n;
    return !__builtin_mul_overflow(outer.is, in_rows, &layout->batch.is) &&
           !__builtin_mul_overflow(outer.os, out_rows, &layout->batch.os);
}

const char* family_name(transform_family family) {
    constexpr const char* names[] = {"c2c", "r2c", "c2r", "r2r"};
    return names[static_cast<int>(family)];
}

const char* r2r_kind_name(int code) {
    return code >= 0 && code < r2r_kind_count ? r2r_kind_names[code] : nullptr;
}

bool parse_r2r_kind(const char* text, int* code) {
    for (int k = 0; k < r2r_kind_count; ++k)
        if (std::strcmp(text, r2r_kind_names[k]) == 0) return *code = k, true;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < -1000 || value > 1000) return false;
    *code = static_cast<int>(value);
    return true;
}
