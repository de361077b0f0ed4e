// A window is a new vector view of length N whose element k is value(k), computed in double and
// rounded once. Null for N = 0 or when the view cannot be created; nothing is left allocated.
#pragma once

#include "qvsip.h"
#include "vsip/support.hpp"

#include <cstdint>

namespace qvsip::windows {

template <class Value>
vsip_vview_f* create_window(vsip_length n, vsip_memory_hint hint, Value value) {
    if (n == 0) return nullptr;
    vsip_vview_f* view = vsip_vcreate_f(n, hint);
    if (view == nullptr) return nullptr;
    const real_vector v = resolve(*view);
    for (vsip_length k = 0; k < n; ++k)
        v.start[static_cast<std::ptrdiff_t>(k) * v.stride] = static_cast<float>(value(k));
    return view;
}

} // namespace qvsip::windows
