#include "vsip/processor_profile.hpp"

#include "vsip/frame.hpp"

#include <array>

#if defined(__aarch64__) && defined(__linux__)
#include <sys/auxv.h>
#endif

namespace qvsip {
namespace {

constexpr unsigned kImplementerShift = 24;
constexpr std::uint64_t kImplementerMask = 0xff;
constexpr unsigned kPartShift = 4;
constexpr std::uint64_t kPartMask = 0xfff;
constexpr std::uint64_t kArmLimited = 0x41;

struct ProcessorModel {
    std::uint64_t implementer, part;
};

// In-order efficiency cores: a reduction is memory-bound there and forking a team costs more
// than it gains, so the profile-dependent reductions run serially.
constexpr std::array<ProcessorModel, 3> kSerialReductionModels{{
    {kArmLimited, 0xd03}, // Cortex-A53
    {kArmLimited, 0xd05}, // Cortex-A55
    {kArmLimited, 0xd46}, // Cortex-A510
}};

#if defined(__aarch64__) && defined(__linux__)
// The kernel emulates reads of the ID registers from user space when it advertises CPUID.
constexpr unsigned long kHwcapCpuid = 1ul << 11;

bool read_main_id(std::uint64_t& main_id) {
    if ((getauxval(AT_HWCAP) & kHwcapCpuid) == 0) return false;
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
    const std::uint64_t implementer = (main_id >> kImplementerShift) & kImplementerMask;
    const std::uint64_t part = (main_id >> kPartShift) & kPartMask;
    for (const ProcessorModel& model : kSerialReductionModels)
        if (model.implementer == implementer && model.part == part)
            return profile_serial_reductions;
    return kProfileDefault;
}

std::uint64_t detect_processor_profile() {
    std::uint64_t main_id = 0;
    return read_main_id(main_id) ? profile_for_processor_id(main_id) : kProfileDefault;
}

} // namespace qvsip
