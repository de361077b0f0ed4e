// Shared pieces of the exported C interface of one engine build.
#pragma once

#include "qtx_fft.h"

#include "fft/planner.hpp"
#include "fft/precision.hpp"

namespace qtx::QTX_ENGINE {

using plan_handle = QTX_PUBLIC(plan);
using complex_value = QTX_PUBLIC(complex);
using guru_dim = QTX_PUBLIC(dim);
using guru_dim64 = QTX_PUBLIC(dim64);

inline plan_record* record_of(plan_handle plan) {
    return reinterpret_cast<plan_record*>(plan);
}
inline plan_handle handle_of(plan_record* record) {
    return reinterpret_cast<plan_handle>(record);
}

} // namespace qtx::QTX_ENGINE
