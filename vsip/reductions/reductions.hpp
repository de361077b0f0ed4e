// Internal entry points of the reductions. The public functions check their arguments, resolve
// the views and pass the thread count and processor profile read at the start of the call; the
// white-box tests call these directly to drive every path under any setting.
#pragma once

#include "qvsip.h"
#include "vsip/support.hpp"

#include <cstdint>

namespace qvsip::reductions {

// The settings that choose a reduction's path.
struct reduction_setting {
    int threads;           // library thread count T
    std::uint64_t profile; // processor profile
};

// The setting of the current call: T and the profile, read once.
reduction_setting current_setting();

// Means of a resolved vector of length at least 1.
float mean(const real_vector& a, reduction_setting setting);
float mean_square(const real_vector& a, reduction_setting setting);

// Number of non-zero elements.
vsip_length count_true(const integer_vector<vsip_scalar_bl>& a, reduction_setting setting);

// Sum of a[i] b[i] (dot) or a[i] conj(b[i]) (conjugate_dot) over the first n elements.
vsip_cscalar_f dot(const complex_vector& a, const complex_vector& b, vsip_length n,
                   reduction_setting setting);
vsip_cscalar_f conjugate_dot(const complex_vector& a, const complex_vector& b, vsip_length n,
                             reduction_setting setting);

// Largest |a[i]| (or ar^2 + ai^2) of a vector of length at least 1, with the lowest index at
// which it occurs stored through index; -1 when every magnitude is NaN (the index then follows
// the path: unwritten serially, the last group's first element in parallel).
float max_magnitude(const real_vector& a, reduction_setting setting, vsip_index* index);
float max_magnitude_squared(const complex_vector& a, reduction_setting setting, vsip_index* index);

} // namespace qvsip::reductions
