// vsip_init and vsip_finalize: counted, always 0, and a finalize with nothing open is harmless.
#include "qvsip.h"
#include "vsip/lifecycle.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

// A call sequence ('i' init, 'f' finalize) and the uses open after it.
struct lifecycle_case {
    std::string calls;
    long open_after;
};

TEST(Lifecycle, CallsAreCountedAndAlwaysSucceed) {
    const lifecycle_case cases[] = {
        {"", 0},   {"i", 1},    {"if", 0}, {"iif", 1},     {"iiff", 0},   {"f", 0},
        {"ff", 0}, {"iffi", 1}, {"fi", 1}, {"iiiffff", 0}, {"iifffi", 1}, {"iiffiiff", 0},
    };
    for (const lifecycle_case& c : cases) {
        const long before = qvsip::open_initialisations();
        ASSERT_EQ(before, 0) << c.calls;
        for (char call : c.calls)
            EXPECT_EQ(call == 'i' ? vsip_init(nullptr) : vsip_finalize(nullptr), 0) << c.calls;
        EXPECT_EQ(qvsip::open_initialisations(), c.open_after) << c.calls;
        while (qvsip::open_initialisations() > 0)
            vsip_finalize(nullptr);
    }
}

TEST(Lifecycle, TheLibraryWorksAfterTheLastFinalize) {
    ASSERT_EQ(vsip_init(nullptr), 0);
    ASSERT_EQ(vsip_finalize(nullptr), 0);
    ASSERT_EQ(vsip_finalize(nullptr), 0);
    float data[2] = {1, 2};
    vsip_vview_f* view = vsip_vbind_f(vsip_blockbind_f(data, 2, VSIP_MEM_NONE), 0, 1, 2);
    EXPECT_EQ(vsip_vget_f(view, 1), 2.0f);
    vsip_valldestroy_f(view);
}

} // namespace
