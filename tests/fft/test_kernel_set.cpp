// The kernel set an engine chose for this processor. CI runs the suite under emulated processors
// with and without the complex-number instructions and names the set each must get in
// QTX_EXPECT_KERNEL_SET; elsewhere the set is only reported.
#include <gtest/gtest.h>

#include <cstdlib>

#include "fft/kernel_set.hpp"

using namespace qtx::QTX_ENGINE;

TEST(KernelSet, IsTheOneThisProcessorShouldGet) {
    const char* expected = std::getenv("QTX_EXPECT_KERNEL_SET");
    if (expected == nullptr) GTEST_SKIP() << "active kernel set: " << active_kernel_set().name;
    EXPECT_STREQ(active_kernel_set().name, expected);
}
