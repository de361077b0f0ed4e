// The dedicated stage kernels of radices 16 and 32, every row and direction. The instantiations
// are split over a few files by radix to keep each translation unit's compile time short.
#include "fft/kernels/stage_layouts.hpp"

namespace qtx::QTX_ENGINE {

template struct radix_adapters<16, true>;
template struct radix_adapters<16, false>;
template struct radix_adapters<32, true>;
template struct radix_adapters<32, false>;

} // namespace qtx::QTX_ENGINE
