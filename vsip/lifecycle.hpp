// The count behind vsip_init and vsip_finalize, for tests.
#pragma once

namespace qvsip {

// vsip_init calls not yet closed by a vsip_finalize.
long open_initialisations();

} // namespace qvsip
