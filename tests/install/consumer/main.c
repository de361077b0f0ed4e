#include <stdio.h>

#include <qtx_fft.h>
#include <qvsip.h>

/* The engines' memory and version functions. */
static int check_engines(qtx_fftf_version* version) {
    void* single = qtx_fftf_malloc(64);
    void* twice = qtx_fft_malloc(64);
    int ok = QFFTGetVersion(version) == 1 && single != NULL && twice != NULL;
    qtx_fftf_free(single);
    qtx_fft_free(twice);
    return ok;
}

/* The library's version record and a view over a caller's array, read back. */
static int check_library(QvsipVersionInfo* info) {
    vsip_scalar_f data[3] = {1.0f, 2.0f, 3.0f};
    vsip_vview_f* view = vsip_vbind_f(vsip_blockbind_f(data, 3, VSIP_MEM_NONE), 2, -1, 3);
    int ok = QVSIP_GetProductVersion(info) == 0 && view != NULL && vsip_vget_f(view, 0) == 3.0f &&
             vsip_vget_f(view, 2) == 1.0f;
    vsip_valldestroy_f(view);
    return ok;
}

int main(void) {
    qtx_fftf_version version;
    QvsipVersionInfo info;
    int ok = check_engines(&version) && check_library(&info);
    if (ok)
        printf("%s %s; %s\n", version.component_name, version.product_version,
               info.componentVersion);
    else
        puts("failed");
    return ok ? 0 : 1;
}
