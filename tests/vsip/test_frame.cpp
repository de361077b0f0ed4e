// Library control through the public interface: the thread count and its environment variable,
// the version record, and the count the library took from OMP_NUM_THREADS when it was loaded.
#include "qvsip.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr char thread_count_variable[] = "OMP_NUM_THREADS";

std::optional<std::string> thread_variable() {
    const char* value = std::getenv(thread_count_variable);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

// Puts back the thread count and the environment variable a test changed.
class ThreadCount : public ::testing::Test {
  protected:
    void TearDown() override {
        if (saved_count_ > 0) QVSIP_SetOmpThreadNum(saved_count_);
        if (saved_text_)
            setenv(thread_count_variable, saved_text_->c_str(), 1);
        else
            unsetenv(thread_count_variable);
    }
    const int saved_count_ = QVSIP_GetOmpThreadNum();
    const std::optional<std::string> saved_text_ = thread_variable();
};

TEST_F(ThreadCount, RefusedCountsChangeNothing) {
    ASSERT_EQ(setenv(thread_count_variable, "marker", 1), 0);
    for (const int refused : {0, -3, INT_MIN, 100000000, INT_MAX}) {
        SCOPED_TRACE(refused);
        EXPECT_EQ(QVSIP_SetOmpThreadNum(refused), -1);
        EXPECT_EQ(QVSIP_GetOmpThreadNum(), saved_count_);
        EXPECT_EQ(thread_variable(), "marker");
    }
}

TEST_F(ThreadCount, AcceptedCountIsStoredAndWrittenWithABlank) {
    EXPECT_EQ(QVSIP_SetOmpThreadNum(6), 0);
    EXPECT_EQ(QVSIP_GetOmpThreadNum(), 6);
    EXPECT_EQ(thread_variable(), " 6");
    // The widest count whose text (blank, 8 digits, NUL) fits the 10-character buffer.
    EXPECT_EQ(QVSIP_SetOmpThreadNum(99999999), 0);
    EXPECT_EQ(QVSIP_GetOmpThreadNum(), 99999999);
    EXPECT_EQ(thread_variable(), " 99999999");
    EXPECT_EQ(QVSIP_SetOmpThreadNum(1), 0);
    EXPECT_EQ(QVSIP_GetOmpThreadNum(), 1);
}

TEST(ProductVersion, NullRecordIsRefused) {
    EXPECT_EQ(QVSIP_GetProductVersion(nullptr), 1);
}

TEST(ProductVersion, FillsBothFieldsOverStaleContent) {
    static_assert(sizeof(QvsipVersionInfo) == 200);
    static_assert(offsetof(QvsipVersionInfo, componentVersion) == 100);
    QvsipVersionInfo info;
    std::memset(&info, 'x', sizeof info);
    ASSERT_EQ(QVSIP_GetProductVersion(&info), 0);
    EXPECT_STREQ(info.componentName, "Component Name: Vantor-qvsip");
    EXPECT_STREQ(info.componentVersion, "Component Version: 1.0.0");
}

// Run by CTest once per OMP_NUM_THREADS setting, with the count it must produce in
// QVSIP_EXPECT_THREADS.
TEST(LoadTime, ThreadCountComesFromTheEnvironment) {
    const char* expected = std::getenv("QVSIP_EXPECT_THREADS");
    if (expected == nullptr) GTEST_SKIP() << "QVSIP_EXPECT_THREADS not set";
    EXPECT_EQ(QVSIP_GetOmpThreadNum(), std::atoi(expected));
}

} // namespace
