// The dedicated stage kernels of radices 7 to 10 and 12, every row and direction. The
// instantiations are split over a few files by radix to keep each translation unit's compile time
// short.
#include "fft/kernels/stage_layouts.hpp"

namespace qtx::QTX_ENGINE {

template struct radix_adapters<7, true>;
template struct radix_adapters<7, false>;
template struct radix_adapters<8, true>;
template struct radix_adapters<8, false>;
template struct radix_adapters<9, true>;
template struct radix_adapters<9, false>;
template struct radix_adapters<10, true>;
template struct radix_adapters<10, false>;
template struct radix_adapters<12, true>;
template struct radix_adapters<12, false>;

} // namespace qtx::QTX_ENGINE
