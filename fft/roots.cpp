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

folded_root fold(int64_t t, int64_t N) {
    // Work in quarter units: the angle 2π·t/N is a/4N of a turn with a in [0, 4N). Table
    // fills mostly ask for |t| < N, which needs no division.
    int64_t residue = t >= -N && t < N ? t : t % N;
    if (residue < 0) residue += N;
    const int64_t a = 4 * residue;
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

// Beyond this many octant values a memo would outgrow the tables it serves.
constexpr int64_t memo_limit = int64_t{1} << 16;

} // namespace

root_value unit_root(int64_t t, int64_t N) {
    const folded_root f = fold(t, N);
    return unfold(f, octant_value(f.e, N));
}

root_memo::root_memo(int64_t N, uint64_t uses) : N_(N) {
    const int64_t size = N / 2 + 1;
    // Setting up costs a store per octant value, a small part of an evaluation: worth it once
    // the roots asked for are a fair share of the values they fold onto.
    if (size > memo_limit || uses < static_cast<uint64_t>(size) / 4) return;
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
    const folded_root f = fold(t, N_);
    if (octant_ == nullptr) return unfold(f, octant_value(f.e, N_));
    root_value& v = octant_[f.e];
    if (std::isnan(v.re)) v = octant_value(f.e, N_);
    return unfold(f, v);
}

} // namespace qtx::QTX_ENGINE
