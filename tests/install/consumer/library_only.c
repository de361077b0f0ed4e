#include <stdio.h>

#include <qvsip.h>

/* Uses libqvsip alone: the engines are only its own dependencies, which it must find at run
 * time without help from this program. The transform of an impulse runs the single-precision
 * engine: every output is 1. */
int main(void) {
    enum { n = 8 };
    vsip_scalar_f data[2 * n] = {1.0f};
    vsip_cvview_f* x = vsip_cvbind_f(vsip_cblockbind_f(data, NULL, n, VSIP_MEM_NONE), 0, 1, n);
    vsip_fft_f* fft = vsip_ccfftip_create_f(n, 1.0f, VSIP_FFT_FWD, 1, VSIP_ALG_TIME);
    int ok = x != NULL && fft != NULL;
    if (ok) vsip_ccfftip_f(fft, x);
    for (int i = 0; ok && i < n; ++i) {
        vsip_cscalar_f value = vsip_cvget_f(x, i);
        ok = value.r == 1.0f && value.i == 0.0f;
    }
    QvsipVersionInfo info;
    ok = ok && QVSIP_GetProductVersion(&info) == 0;
    vsip_fft_destroy_f(fft);
    vsip_cvalldestroy_f(x);
    puts(ok ? info.componentVersion : "failed");
    return ok ? 0 : 1;
}
