// Single one-dimensional real-to-real transforms of the eleven kinds, each reduced to one
// complex child transform with passes before and after it; a length of 1 is a scaling.
#pragma once

#include <cstdint>

#include "fft/planner.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

// The kind codes of r2r_kinds[0].
enum r2r_kind : uint32_t {
    r2r_halfcomplex = 0,      // real input to halfcomplex spectrum
    r2r_from_halfcomplex = 1, // halfcomplex spectrum to real output
    r2r_hartley = 2,          // discrete Hartley transform
    r2r_cosine_1 = 3,
    r2r_cosine_3 = 4,
    r2r_cosine_2 = 5,
    r2r_cosine_4 = 6,
    r2r_sine_1 = 7,
    r2r_sine_3 = 8,
    r2r_sine_2 = 9,
    r2r_sine_4 = 10,
};
inline constexpr uint32_t r2r_kind_count = 11;

// The execute routine of each kind, indexed by kind code.
extern const execute_routine g_r2r_plan_solver_func[r2r_kind_count];

// y[0] = factor·x[0]: what a kind does to a single value (1, 2 or √2), or 0 for the kinds
// undefined at length 1 (cosine 1) and for unknown codes.
double length_one_factor(uint32_t kind);

uint32_t solve_problem_r2r_1d(plan_record* p);

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
