/* An ordinary FFTW program, single precision: nothing in it names this library. Built with
 *   cc fftw_program.c $(pkg-config --cflags --libs qvsip_fftw3f) -lm
 * it runs on the engines; built against FFTW it runs there, unchanged.
 *
 * It finds two plane waves in an image with a 2-D real-to-complex transform and brings the
 * image back, transforms a batch of signals with one plan, runs that plan again on new arrays,
 * and saves its wisdom. It checks its own results and says so. */
#include <fftw3.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define ROWS 64
#define COLS 48
#define BATCH 16
#define LENGTH 100

static const double two_pi = 6.283185307179586;

/* Index of the largest magnitude among the half-spectrum bins, skipping the mean. */
static int loudest_bin(fftwf_complex* spectrum, int count, int skip) {
    int best = -1;
    float best_magnitude = -1;
    for (int k = 0; k < count; ++k) {
        const float m = hypotf(spectrum[k][0], spectrum[k][1]);
        if (k != skip && m > best_magnitude) best_magnitude = m, best = k;
    }
    return best;
}

/* An image of two plane waves, transformed and brought back (c2r does not scale: 1/(R*C)). */
static int image_round_trip(void) {
    const int half = COLS / 2 + 1;
    float* image = fftwf_alloc_real(ROWS * COLS);
    float* back = fftwf_alloc_real(ROWS * COLS);
    fftwf_complex* spectrum = fftwf_alloc_complex(ROWS * half);
    fftwf_plan forward = fftwf_plan_dft_r2c_2d(ROWS, COLS, image, spectrum, FFTW_MEASURE);
    fftwf_plan backward = fftwf_plan_dft_c2r_2d(ROWS, COLS, spectrum, back, FFTW_ESTIMATE);
    /* Planning with FFTW_MEASURE may overwrite the arrays: fill them afterwards. */
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c)
            image[r * COLS + c] = (float)(cos(two_pi * (5.0 * r / ROWS + 3.0 * c / COLS)) +
                                          0.5 * cos(two_pi * 11.0 * r / ROWS));
    fftwf_execute(forward);
    const int first = loudest_bin(spectrum, ROWS * half, 0);
    printf("2-D r2c %dx%d: loudest bin row %d, column %d\n", ROWS, COLS, first / half,
           first % half);
    fftwf_execute(backward);
    double worst = 0;
    for (int i = 0; i < ROWS * COLS; ++i) {
        const double error = fabs(back[i] / (ROWS * COLS) - image[i]);
        if (error > worst) worst = error;
    }
    printf("2-D round trip: largest error %.2e\n", worst);
    const int ok = first == 5 * half + 3 && worst < 1e-5;
    fftwf_destroy_plan(forward);
    fftwf_destroy_plan(backward);
    fftwf_free(image);
    fftwf_free(back);
    fftwf_free(spectrum);
    return ok;
}

/* BATCH signals of LENGTH points, each a tone at bin b + 1, with one plan; then the same plan
 * on new arrays, where the tones move up one bin. */
static int batch_and_new_arrays(void) {
    const int n = LENGTH;
    fftwf_complex* in = fftwf_alloc_complex(BATCH * LENGTH);
    fftwf_complex* out = fftwf_alloc_complex(BATCH * LENGTH);
    fftwf_complex* in2 = fftwf_alloc_complex(BATCH * LENGTH);
    fftwf_complex* out2 = fftwf_alloc_complex(BATCH * LENGTH);
    fftwf_plan plan = fftwf_plan_many_dft(1, &n, BATCH, in, NULL, 1, LENGTH, out, NULL, 1, LENGTH,
                                          FFTW_FORWARD, FFTW_ESTIMATE);
    for (int b = 0; b < BATCH; ++b)
        for (int t = 0; t < LENGTH; ++t) {
            const double a = two_pi * (b + 1) * t / LENGTH, a2 = two_pi * (b + 2) * t / LENGTH;
            in[b * LENGTH + t][0] = (float)cos(a);
            in[b * LENGTH + t][1] = (float)sin(a);
            in2[b * LENGTH + t][0] = (float)cos(a2);
            in2[b * LENGTH + t][1] = (float)sin(a2);
        }
    fftwf_execute(plan);
    fftwf_execute_dft(plan, in2, out2);
    int ok = 1;
    for (int b = 0; b < BATCH; ++b) {
        ok &= loudest_bin(out + b * LENGTH, LENGTH, -1) == b + 1;
        ok &= loudest_bin(out2 + b * LENGTH, LENGTH, -1) == b + 2;
        ok &= fabsf(out[b * LENGTH + b + 1][0] - LENGTH) < 1e-3f;
    }
    printf("batch of %d transforms of %d points, planned arrays and new ones: %s\n", BATCH, LENGTH,
           ok ? "every tone in its bin" : "WRONG");
    fftwf_destroy_plan(plan);
    fftwf_free(in);
    fftwf_free(out);
    fftwf_free(in2);
    fftwf_free(out2);
    return ok;
}

/* Wisdom saved as text and read back, as a program keeps it between runs. */
static int wisdom_round_trip(void) {
    char* wisdom = fftwf_export_wisdom_to_string();
    const int ok = wisdom != NULL && fftwf_import_wisdom_from_string(wisdom) == 1;
    printf("wisdom: %zu bytes, read back: %s\n", wisdom ? strlen(wisdom) : 0, ok ? "yes" : "no");
    free(wisdom);
    return ok;
}

int main(void) {
    printf("%s\n", fftwf_version);
    const int ok = image_round_trip() & batch_and_new_arrays() & wisdom_round_trip();
    fftwf_cleanup();
    printf("%s\n", ok ? "self-check passed" : "self-check FAILED");
    return ok ? 0 : 1;
}
