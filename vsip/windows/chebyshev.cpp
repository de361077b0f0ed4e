// The Dolph-Chebyshev window: its frequency response is the Chebyshev polynomial of degree N - 1
// on x0 cos(w / 2), equiripple sidelobes `ripple` dB below the main lobe. The response is
// sampled at the N frequencies 2 pi k / N and brought back by an inverse DFT, centred and
// scaled to a peak of 1.
#include "vsip/windows/window_fill.hpp"

#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <numbers>

namespace qvsip::windows {
namespace {

// T_m(x) for any real x.
double chebyshev_polynomial(double m, double x) {
    if (std::fabs(x) <= 1.0) return std::cos(m * std::acos(x));
    const double magnitude = std::cosh(m * std::acosh(std::fabs(x)));
    const bool odd = std::fmod(m, 2.0) != 0.0;
    return x < 0.0 && odd ? -magnitude : magnitude;
}

using doubles = std::unique_ptr<double[]>;

// w[i] = sum over k of W[k] cos(pi k (2i - N + 1) / N), through a table of cos(pi j / N) for j
// in [0, 2N). The window is symmetric, so only its first half is summed.
bool inverse_transform(vsip_length n, const double* response, double* window) {
    const vsip_length period = 2 * n;
    const doubles cosines(new (std::nothrow) double[period]);
    if (cosines == nullptr) return false;
    for (vsip_length j = 0; j < period; ++j)
        cosines[j] = std::cos(std::numbers::pi * double(j) / double(n));
    for (vsip_length i = 0; i < (n + 1) / 2; ++i) {
        // 2i - N + 1 reduced into [0, 2N): the phase steps by it from one sample to the next.
        const vsip_length step = (2 * i + n + 1) % period;
        double sum = 0.0;
        vsip_length phase = 0;
        for (vsip_length k = 0; k < n; ++k) {
            sum += response[k] * cosines[phase];
            phase = (phase + step) % period;
        }
        window[i] = window[n - 1 - i] = sum;
    }
    return true;
}

} // namespace
} // namespace qvsip::windows

using namespace qvsip::windows;

// Null for N = 0, a ripple that is not positive or too large for a double ratio, or when memory
// runs out.
vsip_vview_f* vsip_vcreate_cheby_f(vsip_length N, vsip_scalar_f ripple, vsip_memory_hint hint) {
    if (N == 0 || !(ripple > 0.0f) || !std::isfinite(ripple)) return nullptr;
    if (N == 1) return create_window(N, hint, [](vsip_length) { return 1.0; });
    if (N > std::numeric_limits<vsip_length>::max() / 4 / sizeof(double)) return nullptr;
    const double degree = static_cast<double>(N - 1);
    const double ratio = std::pow(10.0, double(ripple) / 20.0);
    if (!std::isfinite(ratio)) return nullptr;
    const double x0 = std::cosh(std::acosh(ratio) / degree);
    const doubles response(new (std::nothrow) double[N]);
    const doubles window(new (std::nothrow) double[N]);
    if (response == nullptr || window == nullptr) return nullptr;
    for (vsip_length k = 0; k < N; ++k)
        response[k] = chebyshev_polynomial(
            degree, x0 * std::cos(std::numbers::pi * double(k) / static_cast<double>(N)));
    if (!inverse_transform(N, response.get(), window.get())) return nullptr;
    double peak = 0.0;
    for (vsip_length k = 0; k < N; ++k)
        peak = std::fmax(peak, std::fabs(window[k]));
    return create_window(N, hint, [&](vsip_length k) { return window[k] / peak; });
}
