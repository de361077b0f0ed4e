// The dedicated stage kernels of radices 2 to 6 (slice 0 of stage_kernel_slices), every row and
// direction.
#include "fft/kernels/stage_layouts.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

QTX_FOR_SLICE_PLACES(QTX_INSTANTIATE_RADIX_ADAPTERS, 0)

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
