/* A complete standard-style C99 program: vsip.h, vsip_init, created complex vectors, an
 * out-of-place forward FFT, element access, alldestroy and vsip_finalize. The input
 * x[k] = (-1)^k + i [k == 2] has the transform X[j] = 8 [j == 4] + i (-i)^j. */
#include <stdio.h>

#include "vsip.h"

#define N 8

static int close_to(vsip_cscalar_f a, vsip_cscalar_f b) {
    const vsip_scalar_f dr = a.r - b.r, di = a.i - b.i;
    return dr * dr + di * di < 1e-8f;
}

static vsip_cscalar_f expected(vsip_scalar_vi j) {
    static const vsip_cscalar_f i_times_minus_i_power[4] = {
        {0.0f, 1.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {-1.0f, 0.0f}};
    vsip_cscalar_f x = i_times_minus_i_power[j % 4];
    if (j == 4) x.r += 8.0f;
    return x;
}

static int transform_checks(void) {
    vsip_cvview_f* x = vsip_cvcreate_f(N, VSIP_MEM_NONE);
    vsip_cvview_f* y = vsip_cvcreate_f(N, VSIP_MEM_NONE);
    vsip_fft_f* fft = vsip_ccfftop_create_f(N, 1.0f, VSIP_FFT_FWD, 1, VSIP_ALG_TIME);
    vsip_scalar_vi k;
    int ok = x != NULL && y != NULL && fft != NULL;
    for (k = 0; ok && k < N; ++k)
        vsip_cvput_f(x, k, vsip_cmplx_f(k % 2 ? -1.0f : 1.0f, k == 2 ? 1.0f : 0.0f));
    if (ok) vsip_ccfftop_f(fft, x, y);
    for (k = 0; ok && k < N; ++k)
        ok = close_to(vsip_cvget_f(y, k), expected(k));
    vsip_fft_destroy_f(fft);
    vsip_cvalldestroy_f(x);
    vsip_cvalldestroy_f(y);
    return ok;
}

int main(void) {
    int ok = vsip_init(NULL) == 0;
    ok = ok && transform_checks();
    ok = vsip_finalize(NULL) == 0 && ok;
    puts(ok ? "ok" : "failed");
    return ok ? 0 : 1;
}
