// Choice of the processor profile at load time.
#pragma once

#include <cstdint>

namespace qvsip {

// Profile for a processor identified by its main ID register (implementer in bits 31..24,
// part number in bits 15..4).
std::uint64_t profile_for_processor_id(std::uint64_t main_id);

// Profile of the processor the library runs on; profile_default when it cannot be identified.
std::uint64_t detect_processor_profile();

} // namespace qvsip
