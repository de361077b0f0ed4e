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

// unit_root(t, N) for the many t of one table fill, each first-octant sine and cosine pair
// evaluated once: twiddle tables ask for the same few values many times over (every stage's
// roots are n-th roots, folding onto n/8 + 1 values). A fill of few roots, or of a very large
// N, evaluates each root directly. The values are those of unit_root, bit for bit.
class root_memo {
  public:
    // uses: about how many roots the fill will ask for.
    root_memo(int64_t N, uint64_t uses);
    ~root_memo();
    root_memo(const root_memo&) = delete;
    root_memo& operator=(const root_memo&) = delete;

    root_value operator()(int64_t t);

  private:
    int64_t N_;
    root_value* octant_ = nullptr; // by folded angle; NaN until evaluated
};

} // namespace qtx::QTX_ENGINE
