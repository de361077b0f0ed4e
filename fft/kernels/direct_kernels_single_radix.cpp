// Direct kernels of the lengths 2 to 10, 12, 16 and 32, every layout and direction. The
// instantiations are split over a few files to keep each translation unit's compile time short.
#include "fft/kernels/direct_layouts.hpp"

namespace qtx::QTX_ENGINE {

template struct direct_adapters<2, true>;
template struct direct_adapters<2, false>;
template struct direct_adapters<3, true>;
template struct direct_adapters<3, false>;
template struct direct_adapters<4, true>;
template struct direct_adapters<4, false>;
template struct direct_adapters<5, true>;
template struct direct_adapters<5, false>;
template struct direct_adapters<6, true>;
template struct direct_adapters<6, false>;
template struct direct_adapters<7, true>;
template struct direct_adapters<7, false>;
template struct direct_adapters<8, true>;
template struct direct_adapters<8, false>;
template struct direct_adapters<9, true>;
template struct direct_adapters<9, false>;
template struct direct_adapters<10, true>;
template struct direct_adapters<10, false>;
template struct direct_adapters<12, true>;
template struct direct_adapters<12, false>;
template struct direct_adapters<16, true>;
template struct direct_adapters<16, false>;
template struct direct_adapters<32, true>;
template struct direct_adapters<32, false>;

} // namespace qtx::QTX_ENGINE
