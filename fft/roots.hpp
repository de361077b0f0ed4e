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
// roots are n-th roots, folding onto n/8 + 1 values). These values are unit_root's bit for
// bit; a fill of few roots evaluates each directly. Beyond 2^17 a memo would be as large as
// the tables it serves, and a root is the product of two from tables of about √N roots each,
// within about two units in the last place of double precision.
class root_memo {
  public:
    // uses: about how many roots the fill will ask for.
    root_memo(int64_t N, uint64_t uses);
    ~root_memo();
    root_memo(const root_memo&) = delete;
    root_memo& operator=(const root_memo&) = delete;

    root_value operator()(int64_t t);
    // Stores the root in the working precision at `at` (re, im): the fills' one call per root.
    void store(real* at, int64_t t);

  private:
    int64_t N_;
    int split_bits_ = 0;           // log2 of the fine table's length; 0 for the memo
    root_value* octant_ = nullptr; // memo by folded angle (NaN until evaluated), or both tables
};

} // namespace qtx::QTX_ENGINE
