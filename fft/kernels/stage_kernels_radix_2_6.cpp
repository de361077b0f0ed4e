// The dedicated stage kernels of radices 2 to 6, every row and direction. The instantiations
// are split over a few files by radix to keep each translation unit's compile time short.
#include "fft/kernels/stage_layouts.hpp"

namespace qtx::QTX_ENGINE {

template struct radix_adapters<2, true>;
template struct radix_adapters<2, false>;
template struct radix_adapters<3, true>;
template struct radix_adapters<3, false>;
template struct radix_adapters<4, true>;
template struct radix_adapters<4, false>;
template struct radix_adapters<5, true>;
template struct radix_adapters<5, false>;
template struct radix_adapters<6, true>;
template struct radix_adapters<6, false>;

} // namespace qtx::QTX_ENGINE
