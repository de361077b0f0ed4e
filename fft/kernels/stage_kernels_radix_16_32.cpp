// The dedicated stage kernels of radices 16 and 32 (slice 2 of stage_kernel_slices), every row and
// direction.
#include "fft/kernels/stage_layouts.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

QTX_FOR_SLICE_PLACES(QTX_INSTANTIATE_RADIX_ADAPTERS, 2)

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
