// Plain reference loops for the reduction benchmark, compiled with full optimisation for the
// build machine.
#pragma once

#include <complex>
#include <cstdint>

namespace qvsip::bench {

// Sum of a[i] b[i] over n interleaved complex elements.
std::complex<float> plain_dot(const float* a, const float* b, std::uint64_t n);

// Largest |a[i]| and its first index.
float plain_max_magnitude(const float* a, std::uint64_t n, std::uint64_t* index);

} // namespace qvsip::bench
