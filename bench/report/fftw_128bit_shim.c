/* Preloaded ahead of FFTW, answers "no" to FFTW's run-time AVX checks so that its planner keeps
 * to the 128-bit SSE2 codelets, the vector width of the Arm target. The installed FFTW has no
 * AVX2 or AVX-512 checks to override (nm -D lists only sse2 and avx). */
#define QTX_SHIM_EXPORT __attribute__((visibility("default")))

QTX_SHIM_EXPORT int fftwf_have_simd_avx(void) {
    return 0;
}
QTX_SHIM_EXPORT int fftw_have_simd_avx(void) {
    return 0;
}
