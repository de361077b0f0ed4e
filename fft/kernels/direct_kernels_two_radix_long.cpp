// Direct kernels of the lengths 120, 128 and 256, every layout and direction. The instantiations
// are split over a few files to keep each translation unit's compile time short.
#include "fft/kernels/direct_layouts.hpp"

namespace qtx::QTX_ENGINE {

template struct direct_adapters<120, true>;
template struct direct_adapters<120, false>;
template struct direct_adapters<128, true>;
template struct direct_adapters<128, false>;
template struct direct_adapters<256, true>;
template struct direct_adapters<256, false>;

} // namespace qtx::QTX_ENGINE
