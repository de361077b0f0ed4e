// Roots of unity for every twiddle and constant table of the engine.
#pragma once

#include <cstdint>

#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

struct root_value {
    double re;
    double im;
};

// exp(2πi·t/N) for any signed t and N >= 1, evaluated in double precision with the angle
// folded into the first octant so that sine and cosine never see more than π/4.
root_value unit_root(int64_t t, int64_t N);

} // namespace qtx::QTX_ENGINE
