#include "fft/roots.hpp"

#include <cmath>
#include <limits>
#include <new>
#include <numbers>

#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// exp(2πi·t/N) as a first-octant angle and the symmetries that carry it back: the angle is
// e/4N of a turn with e in [0, N/2], i.e. at most π/4.
struct folded_root {
    int64_t e;
    bool swapped;      // the angle was above π/4: sine and cosine trade places
    bool quarter_turn; // a quarter turn was split off
    bool negated;      // the angle was in the lower half-turn
};

// t mod N in [0, N). Table fills mostly ask for |t| < N, which needs no division.
int64_t reduced(int64_t t, int64_t N) {
    int64_t residue = t >= -N && t < N ? t : t % N;
    return residue < 0 ? residue + N : residue;
}

folded_root fold(int64_t t, int64_t N) {
    // Work in quarter units: the angle 2π·t/N is a/4N of a turn with a in [0, 4N).
    const int64_t a = 4 * reduced(t, N);
    const int64_t b = a < 4 * N - a ? a : 4 * N - a; // fold the lower half-turn onto the upper
    const bool quarter_turn = b > N;
    const int64_t d = quarter_turn ? b - N : b; // now within the first quarter turn
    const bool swapped = N - d < d;             // above π/4: use the complementary angle
    return {swapped ? N - d : d, swapped, quarter_turn, a > 2 * N};
}

// cos and sin of the folded angle.
root_value octant_value(int64_t e, int64_t N) {
    const double scale = 2.0 * std::numbers::pi / (4.0 * static_cast<double>(N));
    root_value v{};
    ::sincos(scale * static_cast<double>(e), &v.im, &v.re);
    return v;
}

root_value unfold(const folded_root& f, root_value v) {
    double c = f.swapped ? v.im : v.re, s = f.swapped ? v.re : v.im;
    if (f.quarter_turn) {
        const double rotated = -s;
        s = c;
        c = rotated;
    }
    return f.negated ? root_value{c, -s} : root_value{c, s};
}

// Beyond this many octant values a memo would outgrow the tables it serves: roots then come
// from two short tables instead, as products.
constexpr int64_t memo_limit = int64_t{1} << 16;

// a·b with each real part's product corrected by a fused multiply-add, so that the result is
// within about an ulp of the exact product of the two (rounded) factors.
root_value multiply(root_value a, root_value b) {
    const double bd = a.im * b.im, bc = a.im * b.re;
    return {std::fma(a.re, b.re, -bd) - std::fma(a.im, b.im, -bd),
            std::fma(a.re, b.im, bc) + std::fma(a.im, b.re, -bc)};
}

} // namespace

root_value unit_root(int64_t t, int64_t N) {
    const folded_root f = fold(t, N);
    return unfold(f, octant_value(f.e, N));
}

root_memo::root_memo(int64_t N, uint64_t uses) : N_(N) {
    const int64_t size = N / 2 + 1;
    if (size > memo_limit) {
        // ω^t = ω^(hi·B) · ω^lo with t = hi·B + lo: two tables of about √N roots each.
        while ((int64_t{1} << split_bits_) * (int64_t{1} << split_bits_) < N)
            ++split_bits_;
        const int64_t fine = int64_t{1} << split_bits_, coarse = (N >> split_bits_) + 1;
        octant_ = new (std::nothrow) root_value[static_cast<size_t>(fine + coarse)];
        if (octant_ == nullptr) return;
        for (int64_t lo = 0; lo < fine; ++lo)
            octant_[lo] = unit_root(lo, N);
        for (int64_t hi = 0; hi < coarse; ++hi)
            octant_[fine + hi] = unit_root(hi << split_bits_, N);
        return;
    }
    // Setting up costs a store per octant value, a small part of an evaluation: worth it once
    // the roots asked for are a fair share of the values they fold onto.
    if (uses < static_cast<uint64_t>(size) / 4) return;
    octant_ = new (std::nothrow) root_value[static_cast<size_t>(size)];
    if (octant_ == nullptr) return;
    const double unset = std::numeric_limits<double>::quiet_NaN();
    for (int64_t e = 0; e < size; ++e)
        octant_[e] = {unset, unset};
}

root_memo::~root_memo() {
    delete[] octant_;
}

root_value root_memo::operator()(int64_t t) {
    if (octant_ == nullptr) return unit_root(t, N_);
    if (split_bits_ != 0) {
        const int64_t r = reduced(t, N_), fine = int64_t{1} << split_bits_;
        return multiply(octant_[fine + (r >> split_bits_)], octant_[r & (fine - 1)]);
    }
    const folded_root f = fold(t, N_);
    root_value& v = octant_[f.e];
    if (std::isnan(v.re)) v = octant_value(f.e, N_);
    return unfold(f, v);
}

void root_memo::store(real* at, int64_t t) {
    const root_value w = (*this)(t);
    at[0] = static_cast<real>(w.re);
    at[1] = static_cast<real>(w.im);
}

} // namespace qtx::QTX_ENGINE
