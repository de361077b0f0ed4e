// The reference loops: glibc's scalar functions, one call per element. Without -ffast-math the
// compiler cannot replace these calls with a vector maths library, so each element really goes
// through libm (sqrtf becomes the square-root instruction, with a call only for negative input).
#include <cstddef>
#include <math.h>

namespace plain {

void vsin(const float* x, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = ::sinf(x[i]);
}

void vcos(const float* x, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = ::cosf(x[i]);
}

// r holds interleaved pairs.
void veuler(const float* x, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        ::sincosf(x[i], &r[2 * i + 1], &r[2 * i]);
}

// a and r hold interleaved pairs.
void cvexp(const float* a, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const float magnitude = ::expf(a[2 * i]);
        float s, c;
        ::sincosf(a[2 * i + 1], &s, &c);
        r[2 * i] = magnitude * c;
        r[2 * i + 1] = magnitude * s;
    }
}

void vexp(const float* x, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = ::expf(x[i]);
}

void vlog10(const float* x, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = ::log10f(x[i]);
}

void vsqrt(const float* x, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = ::sqrtf(x[i]);
}

} // namespace plain
