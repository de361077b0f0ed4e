// The plain loops of the common element-wise operations' benchmark (see the header).
#include "bench_standard_ops_plain.hpp"

#include <cmath>
#include <complex>

namespace plain_standard {

void binary(real_binary op, const float* a, const float* b, float* r, std::size_t n) {
    switch (op) {
    case real_binary::add:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = a[i] + b[i];
        break;
    case real_binary::sub:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = a[i] - b[i];
        break;
    case real_binary::mul:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = a[i] * b[i];
        break;
    case real_binary::div:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = a[i] / b[i];
        break;
    case real_binary::maxmg:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = std::fmax(std::fabs(a[i]), std::fabs(b[i]));
        break;
    case real_binary::atan2:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = std::atan2(a[i], b[i]);
        break;
    }
}

void unary(real_unary op, const float* a, float* r, std::size_t n) {
    switch (op) {
    case real_unary::mag:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = std::fabs(a[i]);
        break;
    case real_unary::sq:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = a[i] * a[i];
        break;
    case real_unary::copy:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = a[i];
        break;
    case real_unary::exp:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = std::exp(a[i]);
        break;
    case real_unary::log:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = std::log(a[i]);
        break;
    case real_unary::clip:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = a[i] <= 0.5f ? 0.0f : (a[i] >= 1.0f ? 1.0f : a[i]);
        break;
    case real_unary::svsub:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = 1.5f - a[i];
        break;
    case real_unary::svdiv:
        for (std::size_t i = 0; i < n; ++i)
            r[i] = 1.5f / a[i];
        break;
    }
}

void sma(const float* a, float beta, const float* c, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = a[i] * beta + c[i];
}

void ramp(float alpha, float beta, float* r, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        r[i] = alpha + float(i) * beta;
}

void swap(float* a, float* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const float x = a[i];
        a[i] = b[i];
        b[i] = x;
    }
}

namespace {
using cf = std::complex<float>;
cf at(const float* p, std::size_t i) {
    return {p[2 * i], p[2 * i + 1]};
}
void put(float* p, std::size_t i, cf v) {
    p[2 * i] = v.real();
    p[2 * i + 1] = v.imag();
}
} // namespace

void complex_loop(complex_form form, const float* a, const float* b, float* r, float* t,
                  std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        switch (form) {
        case complex_form::jmul:
            put(r, i, at(a, i) * std::conj(at(b, i)));
            break;
        case complex_form::mul:
            put(r, i, at(a, i) * at(b, i));
            break;
        case complex_form::sub:
            put(r, i, at(a, i) - at(b, i));
            break;
        case complex_form::neg:
            put(r, i, -at(a, i));
            break;
        case complex_form::sqrt:
            put(r, i, std::sqrt(at(a, i)));
            break;
        case complex_form::fill:
            put(r, i, {1.0f, 2.0f});
            break;
        case complex_form::rcvmul:
            put(r, i, a[i] * at(b, i));
            break;
        case complex_form::rcvadd:
            put(r, i, a[i] + at(b, i));
            break;
        case complex_form::vcmplx:
            put(r, i, {a[i], b[i]});
            break;
        case complex_form::real:
            r[i] = a[2 * i];
            break;
        case complex_form::imag:
            r[i] = a[2 * i + 1];
            break;
        case complex_form::arg:
            r[i] = std::arg(at(a, i));
            break;
        case complex_form::magsq:
            r[i] = a[2 * i] * a[2 * i] + a[2 * i + 1] * a[2 * i + 1];
            break;
        case complex_form::polar:
            r[i] = std::abs(at(a, i));
            t[i] = std::arg(at(a, i));
            break;
        case complex_form::rect:
            put(r, i, std::polar(a[i], b[i]));
            break;
        }
}

} // namespace plain_standard
