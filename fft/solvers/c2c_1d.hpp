// One-dimensional complex transforms of 7-smooth lengths as a sequence of radix stages.
#pragma once

#include <cstdint>

#include "fft/kernels/stage_kernels.hpp"
#include "fft/planner.hpp"
#include "fft/roots.hpp"

namespace qtx::QTX_ENGINE {

// Most radices a length can be split into (lengths up to 2^64 with radix 2 throughout).
inline constexpr int max_stages = 64;

// Writes the radices of n in stage order and returns their count (0 for n = 0).
int factorize(uint64_t n, uint64_t radices[max_stages]);

// Bytes of a stage table for length n with S stages: the stage count, the alignment step
// before the twiddles, the S stage records and the twiddles of the later stages.
uint64_t stage_table_bytes(uint64_t n, int S);

// Fills the stage count, the stage records and the twiddles of every later stage.
void build_stage_table(const plan_record* plan, int S, const uint64_t* radices, void* table);

// Twiddles of a stage: P rows of r-1 values unit_root(sign·m·k·q, n), q = 1 … r-1, with the
// roots of n from `roots`.
void fill_twiddles(real* block, root_memo& roots, uint64_t r, uint64_t P, uint64_t m, int64_t sign);
// The last unit-stride stage's twiddles: rows k and k+1 interleaved value by value where the
// kernel takes two rows per vector (single precision, dedicated radices), else fill_twiddles.
void fill_last_twiddles(real* block, root_memo& roots, uint64_t r, uint64_t P, uint64_t m,
                        int64_t sign);

// Fills the twiddle block of a later stage (radix r after P, m columns left) in the layout its
// kernel reads: the last stage of a unit-stride plan gets fill_last_twiddles. Returns the
// position after the block. One memo of the plan's length serves every stage.
real* fill_stage_twiddles(const plan_record* plan, root_memo& roots, real* block, bool last,
                          uint64_t r, uint64_t P, uint64_t m);

// Dedicated kernel of radix r for the stage position and the plan's layout, or null.
stage_kernel first_stage_kernel(const plan_record* plan, uint64_t r);
stage_kernel middle_stage_kernel(const plan_record* plan, uint64_t r);
stage_kernel last_stage_kernel(const plan_record* plan, uint64_t r);

// Input and output strides of the first dimension are both 1.
bool has_unit_strides(const plan_record* p);

// The stages of a plan made by solve_problem_c2c_1d, read from its stage table.
struct stage_list {
    int count;
    const stage_record* stages;
};
stage_list stages_of(const plan_record* plan);

uint32_t solve_problem_c2c_1d(plan_record* p);
void execute_1d(const plan_record* plan, void* in, void* out);
void execute_1d_discrete(const plan_record* plan, void* in, void* out);

} // namespace qtx::QTX_ENGINE
