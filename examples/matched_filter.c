/*
 * Pulse compression of a real-valued echo with real FFT objects, written as a standard VSIPL
 * program: vsip_init, created views, alldestroy, vsip_finalize.
 *
 * A real linear-FM pulse of 256 samples returns from four targets at known delays, buried in
 * noise. The echo and the Hamming-weighted pulse go through a real-to-complex FFT; the echo's
 * spectrum times the conjugate of the pulse's, transformed back to real with the scale 1/N, is
 * the cross-correlation, which peaks at each target's delay. The program prints the detected
 * delays against the true ones and exits with status 1 unless every target is found within one
 * sample and nothing else is.
 */
#include <math.h>
#include <stdio.h>

#include <vsip.h>

#define N 4096           /* samples per echo and FFT length */
#define PULSE_LENGTH 256 /* samples in the pulse */
#define HALF_WIDTH 24    /* samples around a peak that belong to it */
#define TARGETS 4

static const double sample_rate = 1e6; /* Hz */
static const double start_frequency = 50e3, bandwidth = 200e3;
static const double noise_level = 0.3; /* standard deviation */

static const vsip_index target_delay[TARGETS] = {500, 1210, 2600, 3333};
static const double target_amplitude[TARGETS] = {1.0, 0.5, 0.7, 0.3};

static double pulse(vsip_index t) {
    const double time = (double)t / sample_rate, duration = PULSE_LENGTH / sample_rate;
    const double sweep = bandwidth / duration;
    return cos(2.0 * VSIP_PI * (start_frequency * time + 0.5 * sweep * time * time));
}

/* Deterministic Gaussian noise (Box-Muller on a linear congruential generator). */
static double gaussian(unsigned* state) {
    double u[2];
    int k;
    for (k = 0; k < 2; ++k) {
        *state = *state * 1103515245u + 12345u;
        u[k] = ((*state >> 8) + 1.0) / 16777217.0;
    }
    return sqrt(-2.0 * log(u[0])) * cos(2.0 * VSIP_PI * u[1]);
}

static void make_echo(vsip_vview_f* echo) {
    unsigned state = 7u;
    vsip_index t;
    int k;
    for (t = 0; t < N; ++t)
        vsip_vput_f(echo, t, (vsip_scalar_f)(noise_level * gaussian(&state)));
    for (k = 0; k < TARGETS; ++k)
        for (t = 0; t < PULSE_LENGTH && target_delay[k] + t < N; ++t) {
            const vsip_index at = target_delay[k] + t;
            const double value = vsip_vget_f(echo, at) + target_amplitude[k] * pulse(t);
            vsip_vput_f(echo, at, (vsip_scalar_f)value);
        }
}

/* The pulse with a Hamming taper, zero-padded to N: lower range sidelobes than the bare pulse. */
static void make_reference(vsip_vview_f* reference) {
    vsip_index t;
    vsip_vfill_f(0.0f, reference);
    for (t = 0; t < PULSE_LENGTH; ++t) {
        const double taper = 0.54 - 0.46 * cos(2.0 * VSIP_PI * t / (PULSE_LENGTH - 1));
        vsip_vput_f(reference, t, (vsip_scalar_f)(taper * pulse(t)));
    }
}

/* Whether |y| at t is above the threshold and the largest within HALF_WIDTH samples. */
static int is_peak(const vsip_vview_f* y, vsip_index t, vsip_scalar_f threshold) {
    const vsip_scalar_f here = fabsf(vsip_vget_f(y, t));
    const vsip_index first = t > HALF_WIDTH ? t - HALF_WIDTH : 0;
    const vsip_index last = t + HALF_WIDTH < N ? t + HALF_WIDTH : N - 1;
    vsip_index u;
    if (here <= threshold) return 0;
    for (u = first; u <= last; ++u)
        if (fabsf(vsip_vget_f(y, u)) > here) return 0;
    return 1;
}

/* Prints every peak and returns 1 when the peaks are exactly the targets, each within a sample. */
static int report(const vsip_vview_f* y) {
    vsip_index strongest_at, t;
    const vsip_scalar_f strongest = vsip_vmaxmgval_f(y, &strongest_at);
    const vsip_scalar_f threshold = 0.15f * strongest;
    int found = 0, matched = 0, k;
    for (t = 0; t < N; ++t) {
        if (!is_peak(y, t, threshold)) continue;
        ++found;
        for (k = 0; k < TARGETS; ++k)
            if (t + 1 >= target_delay[k] && t <= target_delay[k] + 1) break;
        if (k < TARGETS) {
            ++matched;
            printf("  peak at %4lu samples   true %4lu   relative height %.2f\n", (unsigned long)t,
                   (unsigned long)target_delay[k], fabsf(vsip_vget_f(y, t)) / strongest);
        } else {
            printf("  peak at %4lu samples   no target\n", (unsigned long)t);
        }
    }
    return found == TARGETS && matched == TARGETS;
}

int main(void) {
    vsip_vview_f *echo, *reference, *y;
    vsip_cvview_f *echo_spectrum, *reference_spectrum;
    vsip_fft_f *forward, *inverse;
    int ok;
    if (vsip_init(NULL) != 0) return 1;
    echo = vsip_vcreate_f(N, VSIP_MEM_NONE);
    reference = vsip_vcreate_f(N, VSIP_MEM_NONE);
    y = vsip_vcreate_f(N, VSIP_MEM_NONE);
    echo_spectrum = vsip_cvcreate_f(N / 2 + 1, VSIP_MEM_NONE);
    reference_spectrum = vsip_cvcreate_f(N / 2 + 1, VSIP_MEM_NONE);
    forward = vsip_rcfftop_create_f(N, 1.0f, 1, VSIP_ALG_TIME);
    inverse = vsip_crfftop_create_f(N, 1.0f / N, 1, VSIP_ALG_TIME);
    ok = echo && reference && y && echo_spectrum && reference_spectrum && forward && inverse;
    if (ok) {
        make_echo(echo);
        make_reference(reference);
        vsip_rcfftop_f(forward, reference, reference_spectrum);
        vsip_rcfftop_f(forward, echo, echo_spectrum);
        /* Correlation: the echo's spectrum times the conjugate of the pulse's. */
        vsip_cvjmul_f(echo_spectrum, reference_spectrum, echo_spectrum);
        vsip_crfftop_f(inverse, echo_spectrum, y);
        printf("matched filter: %d-sample echo, %d-sample real chirp, real FFTs of length %d\n", N,
               PULSE_LENGTH, N);
        ok = report(y);
    }
    puts(ok ? "self-check passed" : "self-check FAILED");
    vsip_fft_destroy_f(forward);
    vsip_fft_destroy_f(inverse);
    vsip_valldestroy_f(echo);
    vsip_valldestroy_f(reference);
    vsip_valldestroy_f(y);
    vsip_cvalldestroy_f(echo_spectrum);
    vsip_cvalldestroy_f(reference_spectrum);
    vsip_finalize(NULL);
    return ok ? 0 : 1;
}
