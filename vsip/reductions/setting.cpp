// The setting every reduction reads once at its start.
#include "vsip/frame.hpp"
#include "vsip/reductions/reductions.hpp"

namespace qvsip::reductions {

reduction_setting current_setting() {
    return {thread_count(), processor_profile()};
}

} // namespace qvsip::reductions
