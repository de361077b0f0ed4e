// Chooses the kernel set of the process. On aarch64 the complex-number instructions (FCMLA,
// FCADD) are optional before Armv8.3-A; the kernel reports them in the hardware capabilities.
// Other targets have one set.
#include "fft/kernel_set.hpp"

#if defined(__aarch64__) && !defined(QTX_SIMD_SCALAR)
#include <asm/hwcap.h>
#include <sys/auxv.h>
#endif

namespace qtx::QTX_ENGINE {

#if defined(__aarch64__) && !defined(QTX_SIMD_SCALAR)

namespace isa_armv8 {
extern const kernel_set this_kernel_set;
}
namespace isa_armv8_3 {
extern const kernel_set this_kernel_set;
}

namespace {

const kernel_set& choose_kernel_set() {
    const bool has_complex_instructions = (getauxval(AT_HWCAP) & HWCAP_FCMA) != 0;
    return has_complex_instructions ? isa_armv8_3::this_kernel_set : isa_armv8::this_kernel_set;
}

} // namespace

#else

namespace {

const kernel_set& choose_kernel_set() {
    return this_kernel_set;
}

} // namespace

#endif

const kernel_set& active_kernel_set() {
    static const kernel_set& chosen = choose_kernel_set();
    return chosen;
}

} // namespace qtx::QTX_ENGINE
