#include <stdio.h>

#include <qtx_fft.h>

int main(void) {
    qtx_fftf_version version;
    void* single = qtx_fftf_malloc(64);
    void* twice = qtx_fft_malloc(64);
    int ok = QFFTGetVersion(&version) == 1 && single != NULL && twice != NULL;
    qtx_fftf_free(single);
    qtx_fft_free(twice);
    printf("%s\n", ok ? version.component_name : "failed");
    return ok ? 0 : 1;
}
