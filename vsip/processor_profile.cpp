#include "vsip/processor_profile.hpp"

#include "vsip/frame.hpp"

#include <array>

#if defined(__aarch64__) && defined(__linux__)
#include <sys/auxv.h>
#endif

namespace qvsip {
namespace {

constexpr unsigned implementer_shift = 24;
constexpr std::uint64_t implementer_mask = 0xff;
constexpr unsigned part_shift = 4;
constexpr std::uint64_t part_mask = 0xfff;
constexpr std::uint64_t arm_limited = 0x41;

struct processor_model {
    std::uint64_t implementer, part;
};

// In-order efficiency cores: a reduction is memory-bound there and forking a team costs more
// than it gains, so the profile-dependent reductions run serially.
constexpr std::array<processor_model, 3> serial_reduction_models{{
    {arm_limited, 0xd03}, // Cortex-A53
    {arm_limited, 0xd05}, // Cortex-A55
    {arm_limited, 0xd46}, // Cortex-A510
}};

#if defined(__aarch64__) && defined(__linux__)
// The kernel emulates reads of the ID registers from user space when it advertises CPUID.
constexpr unsigned long hwcap_cpuid = 1ul << 11;

bool read_main_id(std::uint64_t& main_id) {
    if ((getauxval(AT_HWCAP) & hwcap_cpuid) == 0) return false;
    asm volatile("mrs %0, midr_el1" : "=r"(main_id));
    return true;
}
#else
bool read_main_id(std::uint64_t&) {
    return false;
}
#endif

} // namespace

std::uint64_t profile_for_processor_id(std::uint64_t main_id) {
    const std::uint64_t implementer = (main_id >> implementer_shift) & implementer_mask;
    const std::uint64_t part = (main_id >> part_shift) & part_mask;
    for (const processor_model& model : serial_reduction_models)
        if (model.implementer == implementer && model.part == part)
            return profile_serial_reductions;
    return profile_default;
}

std::uint64_t detect_processor_profile() {
    std::uint64_t main_id = 0;
    return read_main_id(main_id) ? profile_for_processor_id(main_id) : profile_default;
}

} // namespace qvsip
