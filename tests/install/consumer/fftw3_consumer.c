/* A plain C caller of both precisions through <fftw3.h>: an 8-point transform of an impulse
   at 1 and its inverse, wisdom export, and a plan printout. */
#include <fftw3.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

static int check_double(void) {
    enum { n = 8 };
    fftw_complex* x = fftw_alloc_complex(n);
    fftw_plan forward, backward;
    int k, ok = x != NULL;
    char* wisdom;
    if (!ok) return 0;
    for (k = 0; k < n; ++k)
        x[k][0] = x[k][1] = 0;
    x[1][0] = 1;
    forward = fftw_plan_dft_1d(n, x, x, FFTW_FORWARD, FFTW_ESTIMATE);
    backward = fftw_plan_dft_1d(n, x, x, FFTW_BACKWARD, FFTW_ESTIMATE);
    ok = forward && backward;
    if (ok) {
        fftw_execute(forward);
        /* exp(-2 pi i k / 8) at k = 2 is -i. */
        ok = fabs(x[2][0]) < 1e-12 && fabs(x[2][1] + 1) < 1e-12;
        fftw_execute(backward);
        ok = ok && fabs(x[1][0] - n) < 1e-12;
        fftw_print_plan(forward);
        printf("\n");
    }
    fftw_destroy_plan(forward);
    fftw_destroy_plan(backward);
    fftw_free(x);
    wisdom = fftw_export_wisdom_to_string();
    ok = ok && wisdom && fftw_import_wisdom_from_string(wisdom) == 1;
    free(wisdom);
    return ok;
}

static int check_single(void) {
    enum { n = 6 };
    float* r = fftwf_alloc_real(n);
    fftwf_complex* z = fftwf_alloc_complex(n / 2 + 1);
    fftwf_plan plan;
    int k, ok = r && z;
    if (!ok) return 0;
    for (k = 0; k < n; ++k)
        r[k] = 1;
    plan = fftwf_plan_dft_r2c_1d(n, r, z, FFTW_ESTIMATE);
    ok = plan != NULL;
    if (ok) {
        fftwf_execute(plan);
        ok = fabsf(z[0][0] - n) < 1e-5f && fabsf(z[1][0]) < 1e-5f;
    }
    fftwf_destroy_plan(plan);
    fftwf_free(r);
    fftwf_free(z);
    return ok && fftwf_version[0] != '\0';
}

int main(void) {
    if (!check_double() || !check_single()) {
        fprintf(stderr, "fftw3 interface check failed\n");
        return 1;
    }
    printf("fftw3 interface check passed\n");
    return 0;
}
