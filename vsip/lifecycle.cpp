// vsip_init and vsip_finalize: a count of open initialisations. The library sets itself up when
// it is loaded, so neither call does more than count; neither can fail.
#include "vsip/lifecycle.hpp"

#include "qvsip.h"

#include <atomic>

namespace qvsip {
namespace {

constexpr int lifecycle_ok = 0;

std::atomic<long> initialisations{0};

// Closes one initialisation; with none open, nothing changes.
void close_initialisation() {
    long open = initialisations.load();
    while (open > 0 && !initialisations.compare_exchange_weak(open, open - 1)) {
    }
}

} // namespace

long open_initialisations() {
    return initialisations.load();
}

} // namespace qvsip

using namespace qvsip;

int vsip_init(void*) {
    initialisations.fetch_add(1);
    return lifecycle_ok;
}

int vsip_finalize(void*) {
    close_initialisation();
    return lifecycle_ok;
}
