// Hanning, Blackman and Kaiser windows.
#include "vsip/windows/window_fill.hpp"

#include <cmath>
#include <numbers>

namespace qvsip::windows {
namespace {

constexpr double two_pi = 2.0 * std::numbers::pi;

// Kaiser parameters beyond this make I0 overflow a double.
constexpr double largest_kaiser_beta = 600.0;

// I0(x) by its power series, sum of ((x/2)^k / k!)^2, to full double precision.
double bessel_i0(double x) {
    const double quarter_square = 0.25 * x * x;
    double term = 1.0, sum = 1.0;
    for (int k = 1; term > 1e-17 * sum; ++k) {
        term *= quarter_square / (double(k) * double(k));
        sum += term;
    }
    return sum;
}

} // namespace
} // namespace qvsip::windows

using namespace qvsip::windows;

// 0.5 (1 - cos(2 pi (k + 1) / (N + 1))): no element is zero.
vsip_vview_f* vsip_vcreate_hanning_f(vsip_length N, vsip_memory_hint hint) {
    const double n = static_cast<double>(N);
    return create_window(N, hint, [&](vsip_length k) {
        return 0.5 * (1.0 - std::cos(two_pi * (double(k) + 1.0) / (n + 1.0)));
    });
}

// 0.42 - 0.5 cos(2 pi k / (N - 1)) + 0.08 cos(4 pi k / (N - 1)); N = 1 has no definition.
vsip_vview_f* vsip_vcreate_blackman_f(vsip_length N, vsip_memory_hint hint) {
    if (N < 2) return nullptr;
    const double step = two_pi / static_cast<double>(N - 1);
    return create_window(N, hint, [&](vsip_length k) {
        const double angle = step * double(k);
        return 0.42 - 0.5 * std::cos(angle) + 0.08 * std::cos(2.0 * angle);
    });
}

// I0(beta sqrt(1 - x^2)) / I0(beta) with x running from -1 to 1; 1 for N = 1. Null for a beta
// that is not finite or whose I0 would overflow.
vsip_vview_f* vsip_vcreate_kaiser_f(vsip_length N, vsip_scalar_f beta, vsip_memory_hint hint) {
    const double b = std::fabs(double(beta));
    if (!(b <= largest_kaiser_beta)) return nullptr;
    const double scale = 1.0 / bessel_i0(b);
    const double half = N > 1 ? 0.5 * static_cast<double>(N - 1) : 1.0;
    return create_window(N, hint, [&](vsip_length k) {
        const double x = (double(k) - half) / half;
        const double inside = N > 1 ? 1.0 - x * x : 1.0;
        return bessel_i0(b * std::sqrt(std::fmax(inside, 0.0))) * scale;
    });
}
