// Turning the arguments of the public planners into a top-level problem record: the
// validation rules of each interface family and the normal form of their dimensions.
#pragma once

#include "fft/api.hpp"
#include "fft/memory.hpp"

namespace qtx::QTX_ENGINE {

struct arrays {
    void* in;
    void* in_imag;
    void* out;
    void* out_imag;
};

// Arguments of the advanced (many) interface.
struct many_layout {
    int rank;
    const int* n;
    int howmany;
    const int* in_embed;
    int in_stride;
    int in_dist;
    const int* out_embed;
    int out_stride;
    int out_dist;
};

// What distinguishes the guru planners from each other.
struct guru_family {
    uint32_t kind;
    int64_t sign;
    int64_t layout;
    // Rank 1 of length 1 becomes rank 0 (complex and r2r guru only; r2r only without kinds,
    // since most kinds scale a single value).
    bool reduces_unit_rank;
};

constexpr guru_family guru_dft_family(int sign, bool reduces) {
    return {kind_c2c, sign, layout_interleaved, reduces};
}
inline constexpr guru_family split_dft_family{kind_c2c, -1, layout_split, false};
inline constexpr guru_family r2c_family{kind_r2c, -1, layout_interleaved, false};
inline constexpr guru_family split_r2c_family{kind_r2c, -1, layout_split, false};
inline constexpr guru_family c2r_family{kind_c2r, +1, layout_interleaved, false};
inline constexpr guru_family split_c2r_family{kind_c2r, +1, layout_split, false};
constexpr guru_family r2r_family(bool reduces) {
    return {kind_r2r, 0, layout_interleaved, reduces};
}

// Each returns a new calloc'd top-level record holding the problem, or null when the
// arguments are invalid or the record cannot be allocated. The sign of the many interface
// is checked by its caller (only the complex planners have one).
plan_record* describe_many(uint32_t kind, int64_t sign, const many_layout& m, void* in, void* out,
                           const int* kinds);
plan_record* describe_guru(const guru_family& f, int rank, const guru_dim* dims, int howmany_rank,
                           const guru_dim* howmany_dims, const arrays& a, const int* kinds);
plan_record* describe_guru(const guru_family& f, int rank, const guru_dim64* dims, int howmany_rank,
                           const guru_dim64* howmany_dims, const arrays& a, const int* kinds);

// False when the element count or an array's extent overflows 64-bit sizes, or when the
// least memory any plan for the longest dimension holds (one complex value per point, in its
// tables and buffers) cannot exist on this machine.
bool problem_fits(const plan_record& p);

} // namespace qtx::QTX_ENGINE
