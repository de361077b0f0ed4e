// The dedicated stage kernels of radices 7 to 10 and 12 (slice 1 of stage_kernel_slices), every row
// and direction.
#include "fft/kernels/stage_layouts.hpp"

namespace qtx::QTX_ENGINE::inline QTX_ISA {

QTX_FOR_SLICE_PLACES(QTX_INSTANTIATE_RADIX_ADAPTERS, 1)

} // namespace qtx::QTX_ENGINE::inline QTX_ISA
