// Direct kernels of every dedicated radix as one butterfly (slice 0 of direct_kernel_slices), every
// layout and direction.
#include "fft/kernels/direct_layouts.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

QTX_FOR_SLICE_PLACES(QTX_INSTANTIATE_DIRECT_ADAPTERS, 0)

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
