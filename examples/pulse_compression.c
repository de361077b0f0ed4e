/*
 * Pulse compression of a simulated radar pulse train with the qvsip library.
 *
 * A linear-FM pulse is sent 64 times; each echo holds delayed, attenuated copies of it from
 * four targets at known ranges, buried in noise. Each echo is matched-filtered in the frequency
 * domain: forward FFT, multiply by the conjugate spectrum of the (windowed) reference pulse,
 * inverse FFT scaled by 1/N, magnitude. The magnitudes are averaged over the train, and the
 * local peaks above a threshold are reported as detections.
 */
#define _POSIX_C_SOURCE 200112L /* clock_gettime */

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <qvsip.h>

enum {
    n = 4096,           /* range samples per echo and FFT length */
    pulse_length = 200, /* samples in the transmitted pulse */
    pulses = 64,
    peak_half_width = 8 /* samples around a peak that belong to it */
};

static const double sample_rate = 20e6; /* Hz */
static const double bandwidth = 10e6;   /* Hz, swept by the chirp */
static const double light_speed = 3e8;  /* m/s */
static const double noise_level = 0.5;  /* standard deviation per component */
static const double two_pi = 6.283185307179586;

struct target {
    double range; /* m */
    double amplitude;
};
static const struct target targets[] = {
    {2000.0, 1.0}, {5250.0, 0.5}, {9600.0, 0.7}, {14400.0, 0.3}};
static const int target_count = sizeof targets / sizeof targets[0];

static double metres_per_sample(void) {
    return light_speed / (2.0 * sample_rate);
}

/* Baseband linear-FM pulse sample t, swept from -B/2 to +B/2. */
static void chirp(int t, double* re, double* im) {
    const double time = t / sample_rate, duration = pulse_length / sample_rate;
    const double phase =
        two_pi * (-0.5 * bandwidth * time + 0.5 * bandwidth / duration * time * time);
    *re = cos(phase);
    *im = sin(phase);
}

/* Deterministic Gaussian noise (Box-Muller on a linear congruential generator). */
static double gaussian(unsigned* state) {
    double u[2];
    for (int k = 0; k < 2; ++k) {
        *state = *state * 1103515245u + 12345u;
        u[k] = ((*state >> 8) + 1.0) / 16777217.0;
    }
    return sqrt(-2.0 * log(u[0])) * cos(two_pi * u[1]);
}

/* One echo: every target's pulse at its delay with a random phase, plus noise. */
static void simulate_echo(float* echo, unsigned* state) {
    for (int t = 0; t < n; ++t) {
        echo[2 * t] = (float)(noise_level * gaussian(state));
        echo[2 * t + 1] = (float)(noise_level * gaussian(state));
    }
    for (int k = 0; k < target_count; ++k) {
        const int delay = (int)lround(targets[k].range / metres_per_sample());
        const double phase = two_pi * (gaussian(state) + 3.0) / 6.0;
        const double c = targets[k].amplitude * cos(phase), s = targets[k].amplitude * sin(phase);
        for (int t = 0; t < pulse_length && delay + t < n; ++t) {
            double re, im;
            chirp(t, &re, &im);
            echo[2 * (delay + t)] += (float)(c * re - s * im);
            echo[2 * (delay + t) + 1] += (float)(c * im + s * re);
        }
    }
}

/* The matched filter: the conjugate spectrum of the Hamming-windowed pulse, which keeps the
 * range sidelobes of one target from reading as another. */
static void make_reference_spectrum(vsip_cvview_f* reference, float* data, vsip_fft_f* forward) {
    for (int t = 0; t < n; ++t) {
        double re = 0.0, im = 0.0;
        if (t < pulse_length) {
            const double window = 0.54 - 0.46 * cos(two_pi * t / (pulse_length - 1));
            chirp(t, &re, &im);
            re *= window;
            im *= window;
        }
        data[2 * t] = (float)re;
        data[2 * t + 1] = (float)im;
    }
    vsip_ccfftip_f(forward, reference);
    vsip_cvconj_f(reference, reference);
}

/* Local maxima of the averaged magnitude above the threshold, in increasing range. */
static void report_detections(const float* magnitude, float threshold) {
    printf("detections (range resolution %.1f m per sample):\n", metres_per_sample());
    for (int t = 0; t < n; ++t) {
        int is_peak = magnitude[t] > threshold;
        for (int d = -peak_half_width; d <= peak_half_width && is_peak; ++d)
            if (d != 0 && t + d >= 0 && t + d < n && magnitude[t + d] > magnitude[t]) is_peak = 0;
        if (!is_peak) continue;
        const double range = t * metres_per_sample();
        const struct target* nearest = &targets[0];
        for (int k = 1; k < target_count; ++k)
            if (fabs(targets[k].range - range) < fabs(nearest->range - range))
                nearest = &targets[k];
        printf("  %8.1f m   true %8.1f m   error %+6.1f m   peak %.1f\n", range, nearest->range,
               range - nearest->range, magnitude[t]);
    }
}

int main(void) {
    float* echo = malloc(sizeof(float) * 2 * n);
    float* reference_data = malloc(sizeof(float) * 2 * n);
    float* magnitude = malloc(sizeof(float) * n);
    float* average = calloc(n, sizeof(float));
    vsip_cblock_f* echo_block = vsip_cblockbind_f(echo, NULL, n, VSIP_MEM_NONE);
    vsip_cblock_f* reference_block = vsip_cblockbind_f(reference_data, NULL, n, VSIP_MEM_NONE);
    vsip_block_f* magnitude_block = vsip_blockbind_f(magnitude, n, VSIP_MEM_NONE);
    vsip_cvview_f* x = vsip_cvbind_f(echo_block, 0, 1, n);
    vsip_cvview_f* reference = vsip_cvbind_f(reference_block, 0, 1, n);
    vsip_vview_f* m = vsip_vbind_f(magnitude_block, 0, 1, n);
    vsip_fft_f* forward = vsip_ccfftip_create_f(n, 1.0f, VSIP_FFT_FWD, 1, VSIP_ALG_TIME);
    vsip_fft_f* inverse = vsip_ccfftip_create_f(n, 1.0f / n, VSIP_FFT_INV, 1, VSIP_ALG_TIME);
    if (!echo || !reference_data || !magnitude || !average || !x || !reference || !m || !forward ||
        !inverse) {
        fprintf(stderr, "set-up failed\n");
        return 1;
    }
    make_reference_spectrum(reference, reference_data, forward);

    unsigned state = 2024u;
    double seconds = 0.0;
    for (int p = 0; p < pulses; ++p) {
        simulate_echo(echo, &state);
        struct timespec start, stop;
        clock_gettime(CLOCK_MONOTONIC, &start);
        vsip_ccfftip_f(forward, x);
        vsip_cvmul_f(x, reference, x);
        vsip_ccfftip_f(inverse, x);
        vsip_cvmag_f(x, m);
        clock_gettime(CLOCK_MONOTONIC, &stop);
        seconds += (stop.tv_sec - start.tv_sec) + 1e-9 * (stop.tv_nsec - start.tv_nsec);
        for (int t = 0; t < n; ++t)
            average[t] += magnitude[t] / pulses;
    }

    /* Targets occupy a few samples, so the mean of the averaged magnitude is the noise floor. */
    double floor_sum = 0.0;
    for (int t = 0; t < n; ++t)
        floor_sum += average[t];
    const float threshold = (float)(3.0 * floor_sum / n);

    printf("pulse compression: %d pulses of %d samples, %d-point FFTs\n", pulses, pulse_length, n);
    report_detections(average, threshold);
    printf("processing time per pulse: %.1f us (threads: %d)\n", 1e6 * seconds / pulses,
           QVSIP_GetOmpThreadNum());

    vsip_fft_destroy_f(forward);
    vsip_fft_destroy_f(inverse);
    vsip_cvalldestroy_f(x);
    vsip_cvalldestroy_f(reference);
    vsip_valldestroy_f(m);
    free(echo);
    free(reference_data);
    free(magnitude);
    free(average);
    return 0;
}
