// Accuracy of the engines and of FFTW against FFTW in long double: the relative rms error
// ‖y − y_ref‖ / ‖y_ref‖ of a forward c2c and r2c transform of uniform random data in [-1, 1),
// per length and precision. Prints a Markdown table.
//   bench_accuracy [n ...]
#include <fftw3.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "qtx_fft.h"

namespace {

using long_complex = std::complex<long double>;

std::vector<long double> random_reals(int count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<long double> x(count);
    for (long double& v : x)
        v = static_cast<long double>(uniform(generator));
    return x;
}

// The reference spectrum: c2c of n complex values (2n reals) or r2c of n reals.
std::vector<long_complex> reference(const std::vector<long double>& x, int n, bool real) {
    std::vector<long double> in(x);
    std::vector<long_complex> out(real ? n / 2 + 1 : n);
    auto* o = reinterpret_cast<fftwl_complex*>(out.data());
    fftwl_plan plan = real ? fftwl_plan_dft_r2c_1d(n, in.data(), o, FFTW_ESTIMATE)
                           : fftwl_plan_dft_1d(n, reinterpret_cast<fftwl_complex*>(in.data()), o,
                                               FFTW_FORWARD, FFTW_ESTIMATE);
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);
    return out;
}

template <class Real>
double relative_rms(const std::vector<Real>& got, const std::vector<long_complex>& want) {
    long double error = 0, norm = 0;
    for (size_t k = 0; k < want.size(); ++k) {
        const long_complex g(got[2 * k], got[2 * k + 1]);
        error += std::norm(g - want[k]);
        norm += std::norm(want[k]);
    }
    return static_cast<double>(std::sqrt(error / norm));
}

// One library's transform of x rounded to Real; `plan` makes the plan for (n, in, out, real).
template <class Real, class Plan, class Execute, class Destroy>
double error_of(const std::vector<long double>& x, int n, bool real, Plan plan, Execute execute,
                Destroy destroy) {
    std::vector<Real> in(x.begin(), x.end()), out(2 * (real ? n / 2 + 1 : n));
    auto* p = plan(n, in.data(), out.data(), real);
    if (p == nullptr) return NAN;
    execute(p);
    destroy(p);
    return relative_rms(out, reference(x, n, real));
}

double ours_single(const std::vector<long double>& x, int n, bool real) {
    return error_of<float>(
        x, n, real,
        [](int n, float* in, float* out, bool real) {
            auto* o = reinterpret_cast<qtx_fftf_complex*>(out);
            return real ? qtx_fftf_plan_dft_r2c_1d(n, in, o, QTX_FFT_ESTIMATE)
                        : qtx_fftf_plan_dft_1d(n, reinterpret_cast<qtx_fftf_complex*>(in), o,
                                               QTX_FFT_FORWARD, QTX_FFT_ESTIMATE);
        },
        qtx_fftf_execute, qtx_fftf_destroy_plan);
}

double ours_double(const std::vector<long double>& x, int n, bool real) {
    return error_of<double>(
        x, n, real,
        [](int n, double* in, double* out, bool real) {
            auto* o = reinterpret_cast<qtx_fft_complex*>(out);
            return real ? qtx_fft_plan_dft_r2c_1d(n, in, o, QTX_FFT_ESTIMATE)
                        : qtx_fft_plan_dft_1d(n, reinterpret_cast<qtx_fft_complex*>(in), o,
                                              QTX_FFT_FORWARD, QTX_FFT_ESTIMATE);
        },
        qtx_fft_execute, qtx_fft_destroy_plan);
}

double fftw_single(const std::vector<long double>& x, int n, bool real) {
    return error_of<float>(
        x, n, real,
        [](int n, float* in, float* out, bool real) {
            auto* o = reinterpret_cast<fftwf_complex*>(out);
            return real ? fftwf_plan_dft_r2c_1d(n, in, o, FFTW_ESTIMATE)
                        : fftwf_plan_dft_1d(n, reinterpret_cast<fftwf_complex*>(in), o,
                                            FFTW_FORWARD, FFTW_ESTIMATE);
        },
        fftwf_execute, fftwf_destroy_plan);
}

double fftw_double(const std::vector<long double>& x, int n, bool real) {
    return error_of<double>(
        x, n, real,
        [](int n, double* in, double* out, bool real) {
            auto* o = reinterpret_cast<fftw_complex*>(out);
            return real ? fftw_plan_dft_r2c_1d(n, in, o, FFTW_ESTIMATE)
                        : fftw_plan_dft_1d(n, reinterpret_cast<fftw_complex*>(in), o, FFTW_FORWARD,
                                           FFTW_ESTIMATE);
        },
        fftw_execute, fftw_destroy_plan);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> lengths = {64, 1000, 1009, 4096, 65536, 1 << 20};
    if (argc > 1) {
        lengths.clear();
        for (int i = 1; i < argc; ++i)
            lengths.push_back(std::atoi(argv[i]));
    }
    std::printf("| transform | n | ours single | FFTW single | ours double | FFTW double |\n");
    std::printf("|---|---:|---:|---:|---:|---:|\n");
    for (const bool real : {false, true})
        for (const int n : lengths) {
            const std::vector<long double> x = random_reals(real ? n : 2 * n, 2026);
            std::printf("| %s | %d | %.2e | %.2e | %.2e | %.2e |\n", real ? "r2c" : "c2c", n,
                        ours_single(x, n, real), fftw_single(x, n, real), ours_double(x, n, real),
                        fftw_double(x, n, real));
        }
    return 0;
}
