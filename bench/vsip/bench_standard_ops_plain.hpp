// Plain C++ loops for the common element-wise operations' benchmark, compiled with full
// optimisation for the build machine. Complex arrays hold interleaved (re, im) pairs.
#pragma once

#include <cstddef>

namespace plain_standard {

// Real binary and unary loops, chosen by name in the source file.
enum class real_binary { add, sub, mul, div, maxmg, atan2 };
enum class real_unary { mag, sq, copy, exp, log, clip, svsub, svdiv };
void binary(real_binary op, const float* a, const float* b, float* r, std::size_t n);
void unary(real_unary op, const float* a, float* r, std::size_t n);
void sma(const float* a, float beta, const float* c, float* r, std::size_t n);
void ramp(float alpha, float beta, float* r, std::size_t n);
void swap(float* a, float* b, std::size_t n);

enum class complex_form {
    jmul,
    neg,
    sqrt,
    fill,
    rcvmul,
    rcvadd,
    vcmplx,
    real,
    imag,
    arg,
    magsq,
    polar,
    rect,
    mul,
    sub
};
// Inputs and outputs as the form needs them: a and b are interleaved or real arrays, r and t
// outputs; unused ones may be null.
void complex_loop(complex_form form, const float* a, const float* b, float* r, float* t,
                  std::size_t n);

} // namespace plain_standard
