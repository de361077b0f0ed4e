#include "fft/roots.hpp"

#include <cmath>
#include <numbers>

#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

root_value unit_root(int64_t t, int64_t N) {
    // Work in quarter units: the angle 2π·t/N is a/4N of a turn with a in [0, 4N).
    const int64_t residue = ((t % N) + N) % N;
    const int64_t a = 4 * residue;
    const int64_t b = a < 4 * N - a ? a : 4 * N - a; // fold the lower half-turn onto the upper
    const bool quarter_turn = b > N;
    const int64_t d = quarter_turn ? b - N : b; // now within the first quarter turn
    const double scale = 2.0 * std::numbers::pi / (4.0 * static_cast<double>(N));
    double c = 0, s = 0;
    if (N - d >= d) {
        ::sincos(scale * static_cast<double>(d), &s, &c);
    } else {
        // Above π/4: evaluate at the complementary angle and swap sine and cosine.
        ::sincos(scale * static_cast<double>(N - d), &c, &s);
    }
    if (quarter_turn) {
        const double rotated = -s;
        s = c;
        c = rotated;
    }
    return a <= 2 * N ? root_value{c, s} : root_value{c, -s};
}

} // namespace qtx::QTX_ENGINE
