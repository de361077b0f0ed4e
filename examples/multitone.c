/*
 * Spectrum of a multi-tone signal with the single-precision engine.
 *
 * Generates a sum of tones at known frequencies with a little noise, transforms it forward,
 * lists the spectral peaks above a threshold, then transforms back and reports how closely
 * the round trip (divided by n) reproduces the signal.
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <qtx_fft.h>

enum { n = 1000 };

static const double sample_rate = 8000.0; /* Hz */

struct tone {
    double frequency; /* Hz */
    double amplitude;
};

static const struct tone tones[] = {{440.0, 1.0}, {1248.0, 0.5}, {2000.0, 0.25}, {3104.0, 0.8}};
static const int tone_count = sizeof tones / sizeof tones[0];

/* Small deterministic noise so the example prints the same on every run. */
static double noise(unsigned* state) {
    *state = *state * 1103515245u + 12345u;
    return ((double)(*state >> 8) / (double)(1u << 24) - 0.5) * 0.02;
}

static void make_signal(qtx_fftf_complex* x) {
    const double two_pi = 6.283185307179586;
    unsigned state = 1;
    for (int t = 0; t < n; ++t) {
        double re = 0.0, im = 0.0;
        for (int k = 0; k < tone_count; ++k) {
            const double phase = two_pi * tones[k].frequency * t / sample_rate;
            re += tones[k].amplitude * cos(phase);
            im += tones[k].amplitude * sin(phase);
        }
        x[t][0] = (float)(re + noise(&state));
        x[t][1] = (float)(im + noise(&state));
    }
}

static void print_peaks(const qtx_fftf_complex* spectrum) {
    printf("tones found (bin width %.1f Hz):\n", sample_rate / n);
    for (int f = 0; f < n; ++f) {
        const double magnitude = hypot(spectrum[f][0], spectrum[f][1]) / n;
        if (magnitude > 0.1) printf("  %7.1f Hz  amplitude %.3f\n", f * sample_rate / n, magnitude);
    }
}

static double round_trip_error(const qtx_fftf_complex* a, const qtx_fftf_complex* b) {
    double error = 0.0, norm = 0.0;
    for (int t = 0; t < n; ++t) {
        const double dr = b[t][0] / n - a[t][0], di = b[t][1] / n - a[t][1];
        error += dr * dr + di * di;
        norm += (double)a[t][0] * a[t][0] + (double)a[t][1] * a[t][1];
    }
    return sqrt(error / norm);
}

int main(void) {
    qtx_fftf_complex* signal = qtx_fftf_malloc(n * sizeof(qtx_fftf_complex));
    qtx_fftf_complex* spectrum = qtx_fftf_malloc(n * sizeof(qtx_fftf_complex));
    qtx_fftf_complex* back = qtx_fftf_malloc(n * sizeof(qtx_fftf_complex));
    qtx_fftf_plan forward, backward;
    if (!signal || !spectrum || !back) return 1;

    forward = qtx_fftf_plan_dft_1d(n, signal, spectrum, -1, 0);
    backward = qtx_fftf_plan_dft_1d(n, spectrum, back, +1, 0);
    if (!forward || !backward) {
        fprintf(stderr, "planning failed\n");
        return 1;
    }
    make_signal(signal);
    qtx_fftf_execute(forward);
    print_peaks(spectrum);
    qtx_fftf_execute(backward);
    printf("round-trip relative rms error: %.2e\n", round_trip_error(signal, back));

    qtx_fftf_destroy_plan(forward);
    qtx_fftf_destroy_plan(backward);
    qtx_fftf_free(signal);
    qtx_fftf_free(spectrum);
    qtx_fftf_free(back);
    return 0;
}
