/* A C99 caller that includes <complex.h> first: native complex arrays pass without casts. */
#include <complex.h>
#include <stdio.h>

#include "qtx_fft.h"

static int near(double complex got, double complex want, double tolerance) {
    double complex d = got - want;
    return creal(d) * creal(d) + cimag(d) * cimag(d) <= tolerance * tolerance;
}

/* x[j] = i^j is the tone at bin 2 of 8: forward gives 8 there and 0 elsewhere, backward
   brings back 8 x. */
static int check_single(void) {
    enum { n = 8 };
    float complex* x = qtx_fftf_malloc(n * sizeof *x);
    float complex* y = qtx_fftf_malloc(n * sizeof *y);
    qtx_fftf_plan forward, backward;
    float complex tone = 1.0f;
    int ok = x != NULL && y != NULL, j;
    for (j = 0; ok && j < n; ++j, tone *= I)
        x[j] = tone;
    forward = qtx_fftf_plan_dft_1d(n, x, y, QTX_FFT_FORWARD, QTX_FFT_ESTIMATE);
    backward =
        qtx_fftf_plan_dft_1d(n, y, y, QTX_FFT_BACKWARD, QTX_FFT_MEASURE | QTX_FFT_DESTROY_INPUT);
    ok = ok && forward != NULL && backward != NULL;
    if (ok) {
        qtx_fftf_execute(forward);
        for (j = 0; j < n; ++j)
            ok &= near(y[j], j == 2 ? n : 0, 1e-5);
        qtx_fftf_execute(backward);
        for (j = 0; j < n; ++j)
            ok &= near(y[j], n * x[j], 1e-5);
    }
    qtx_fftf_destroy_plan(forward);
    qtx_fftf_destroy_plan(backward);
    qtx_fftf_free(x);
    qtx_fftf_free(y);
    return ok;
}

/* Of four ones, the real-input spectrum is 4 at bin 0 and the cosine type 2 is 8 at 0. */
static int check_double(void) {
    enum { n = 4 };
    double x[n] = {1, 1, 1, 1}, c[n];
    double complex spectrum[n / 2 + 1];
    qtx_fft_plan r2c = qtx_fft_plan_dft_r2c_1d(n, x, spectrum, QTX_FFT_PRESERVE_INPUT);
    qtx_fft_plan r2r = qtx_fft_plan_r2r_1d(n, x, c, QTX_FFT_COSINE_2, QTX_FFT_UNALIGNED);
    int ok = r2c != NULL && r2r != NULL, k;
    if (ok) {
        qtx_fft_execute(r2c);
        qtx_fft_execute(r2r);
        for (k = 0; k <= n / 2; ++k)
            ok &= near(spectrum[k], k == 0 ? n : 0, 1e-12);
        for (k = 0; k < n; ++k)
            ok &= near(c[k], k == 0 ? 2 * n : 0, 1e-12);
    }
    qtx_fft_destroy_plan(r2c);
    qtx_fft_destroy_plan(r2r);
    return ok;
}

int main(void) {
    if (!check_single() || !check_double()) {
        fprintf(stderr, "native complex transforms gave wrong results\n");
        return 1;
    }
    return 0;
}
