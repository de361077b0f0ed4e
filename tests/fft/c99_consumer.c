/* A plain C99 caller of both engines: the header must compile cleanly under -pedantic. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "qtx_fft.h"

static int check_single(void) {
    enum { n = 8 };
    qtx_fftf_complex* data = qtx_fftf_malloc(n * sizeof(qtx_fftf_complex));
    qtx_fftf_dim dim = {n, 1, 1};
    qtx_fftf_plan plan;
    int ok = data != NULL && (uintptr_t)data % 64 == 0;
    if (!ok) return 0;
    data[1][0] = 1.0f;
    plan = qtx_fftf_plan_guru_dft(1, &dim, 0, NULL, data, data, QTX_FFT_FORWARD, QTX_FFT_ESTIMATE);
    if (plan != NULL) {
        qtx_fftf_execute(plan);
        qtx_fftf_destroy_plan(plan);
    }
    qtx_fftf_free(data);
    return 1;
}

static int check_double(void) {
    enum { n = 8 };
    qtx_fft_complex* data = qtx_fft_malloc(n * sizeof(qtx_fft_complex));
    qtx_fft_dim64 dim = {n, 1, 1};
    qtx_fft_plan plan;
    int ok = data != NULL && (uintptr_t)data % 64 == 0;
    if (!ok) return 0;
    plan =
        qtx_fft_plan_guru64_dft(1, &dim, 0, NULL, data, data, QTX_FFT_BACKWARD, QTX_FFT_ESTIMATE);
    if (plan != NULL) {
        qtx_fft_execute_dft(plan, data, data);
        qtx_fft_destroy_plan(plan);
    }
    qtx_fft_free(data);
    return 1;
}

int main(void) {
    qtx_fftf_version version;
    if (QFFTGetVersion(&version) != 1 || strcmp(version.product_name, "Vantor-qtx") != 0) {
        fprintf(stderr, "version query failed\n");
        return 1;
    }
    if (!check_single() || !check_double()) {
        fprintf(stderr, "engine memory checks failed\n");
        return 1;
    }
    printf("%s %s, %s %s\n", version.product_name, version.product_version,
           version.component_name, version.component_version);
    return 0;
}
