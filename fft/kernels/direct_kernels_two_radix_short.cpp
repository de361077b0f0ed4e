// Direct kernels of the lengths 30, 60 and 64, every layout and direction. The instantiations
// are split over a few files to keep each translation unit's compile time short.
#include "fft/kernels/direct_layouts.hpp"

namespace qtx::QTX_ENGINE {

template struct direct_adapters<30, true>;
template struct direct_adapters<30, false>;
template struct direct_adapters<60, true>;
template struct direct_adapters<60, false>;
template struct direct_adapters<64, true>;
template struct direct_adapters<64, false>;

} // namespace qtx::QTX_ENGINE
