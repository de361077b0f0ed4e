// Bounded string functions: copy/append error codes and resets, and the formatter checked
// against the C library's snprintf.
#include "qvsip.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr uint64_t max_capacity = 0x7fffffffu;
constexpr uint64_t too_large_capacity = 0x80000000u;
constexpr char untouched = '#';

// A buffer pre-filled with a marker so that untouched, reset and overrun are all visible.
template <std::size_t N> struct guarded_buffer {
    std::array<char, N + 8> bytes;
    guarded_buffer() { bytes.fill(untouched); }
    char* data() { return bytes.data(); }
    bool guard_intact() const {
        for (std::size_t i = N; i < bytes.size(); ++i)
            if (bytes[i] != untouched) return false;
        return true;
    }
};

// ---------------------------------------------------------------------------------------------
// strcpy_s / strcpy_error

struct copy_case {
    const char* name;
    uint64_t capacity;
    const char* source; // nullptr: null source
    int code;
    const char* result; // expected destination text; nullptr: untouched
};

TEST(StrcpyS, CodesAndDestination) {
    const copy_case cases[] = {
        {"fits with NUL", 10, "123456789", 0, "123456789"},
        {"one too long", 9, "123456789", 162, ""},
        {"empty source", 1, "", 0, ""},
        {"capacity 1 too small", 1, "x", 162, ""},
        {"capacity 0", 0, "x", 34, nullptr},
        {"capacity max", max_capacity, "abc", 0, "abc"},
        {"capacity too large", too_large_capacity, "abc", 34, nullptr},
        {"null source", 10, nullptr, 150, ""},
        {"capacity checked before source", 0, nullptr, 34, nullptr},
    };
    for (const copy_case& c : cases) {
        SCOPED_TRACE(c.name);
        for (auto* function : {&strcpy_s, &strcpy_error}) {
            guarded_buffer<16> buf;
            EXPECT_EQ(function(buf.data(), c.capacity, c.source), c.code);
            if (c.result == nullptr)
                EXPECT_EQ(buf.bytes[0], untouched);
            else if (function == &strcpy_s || c.code != 0)
                EXPECT_STREQ(buf.data(), c.result);
            else
                EXPECT_EQ(buf.bytes[0], untouched); // strcpy_error never copies
            EXPECT_TRUE(buf.guard_intact());
        }
    }
}

TEST(StrcpyS, NullDestination) {
    EXPECT_EQ(strcpy_s(nullptr, 10, "x"), 22);
    EXPECT_EQ(strcpy_s(nullptr, 10, nullptr), 22);
    EXPECT_EQ(strcpy_error(nullptr, 10, "x"), 22);
    EXPECT_EQ(strcpy_s(nullptr, 0, "x"), 34);
}

TEST(StrcpyS, SamePointer) {
    char text[] = "abcdef";
    EXPECT_EQ(strcpy_s(text, sizeof text, text), 0);
    EXPECT_STREQ(text, "abcdef");
    // Not terminated within the capacity: the length is measured only up to it.
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(strcpy_s(unterminated, sizeof unterminated, unterminated), 162);
    EXPECT_EQ(unterminated[0], '\0');
    char again[] = "abcdef";
    EXPECT_EQ(strcpy_error(again, 4, again), 162);
    EXPECT_EQ(again[0], '\0');
}

TEST(StrcpyS, OverlappingRanges) {
    struct test_case {
        std::ptrdiff_t dest, src;
        int code;
    };
    // Source "abc" sits at offset 8 of the array; ranges are 4 bytes with the NUL.
    const test_case cases[] = {{6, 8, 182}, {10, 8, 182}, {11, 8, 182},
                               {4, 8, 0},   {12, 8, 0},   {0, 8, 0}};
    for (const test_case& c : cases) {
        SCOPED_TRACE(c.dest);
        char area[24] = {};
        std::memcpy(area + 8, "abc", 4);
        EXPECT_EQ(strcpy_s(area + c.dest, 8, area + c.src), c.code);
        if (c.code == 0)
            EXPECT_STREQ(area + c.dest, "abc");
        else
            EXPECT_EQ(area[c.dest], '\0');
    }
}

// ---------------------------------------------------------------------------------------------
// strcat_s

struct append_case {
    const char* name;
    const char* initial;
    uint64_t capacity;
    const char* source;
    int code;
    const char* result;
};

TEST(StrcatS, CodesAndDestination) {
    const append_case cases[] = {
        {"fits exactly", "12345", 10, "6789", 0, "123456789"},
        {"one too long", "12345", 10, "67890", 162, ""},
        {"empty source", "abc", 4, "", 0, "abc"},
        {"into empty", "", 4, "abc", 0, "abc"},
        {"null source", "abc", 100, nullptr, 150, ""},
        {"capacity 0", "abc", 0, "x", 34, "abc"},
        {"capacity too large", "abc", too_large_capacity, "x", 34, "abc"},
        {"capacity max", "abc", max_capacity, "de", 0, "abcde"},
        {"no NUL within capacity", "abcdef", 3, "x", 150, ""},
        {"NUL at the last place", "ab", 3, "", 0, "ab"},
        {"NUL at the last place, no room", "ab", 3, "x", 162, ""},
    };
    for (const append_case& c : cases) {
        SCOPED_TRACE(c.name);
        char buf[16] = {};
        std::strcpy(buf, c.initial);
        EXPECT_EQ(strcat_s(buf, c.capacity, c.source), c.code);
        EXPECT_STREQ(buf, c.result);
    }
    EXPECT_EQ(strcat_s(nullptr, 10, "x"), 22);
}

TEST(StrcatS, OverlappingRanges) {
    struct test_case {
        const char* name;
        std::ptrdiff_t src;
        int code;
    };
    // The array holds "ab\0xy\0....": the destination is "ab" with capacity 16.
    const test_case cases[] = {
        {"source is destination", 0, 182},
        {"source inside used part", 1, 182},
        {"source inside appended range", 3, 182},
        {"source beyond appended range", 6, 0},
    };
    for (const test_case& c : cases) {
        SCOPED_TRACE(c.name);
        char area[24] = "ab\0xy\0";
        std::memcpy(area + 6, "pq", 3);
        EXPECT_EQ(strcat_s(area, 16, area + c.src), c.code);
        if (c.code == 0)
            EXPECT_STREQ(area, "abpq");
        else
            EXPECT_EQ(area[0], '\0');
    }
}

// ---------------------------------------------------------------------------------------------
// Formatter against snprintf

template <typename... Args> void expect_like_snprintf(const char* format, Args... args) {
    SCOPED_TRACE(format);
    char expected[600];
    char actual[600];
    const int expected_length = std::snprintf(expected, sizeof expected, format, args...);
    ASSERT_GE(expected_length, 0);
    ASSERT_LT(expected_length, static_cast<int>(sizeof expected));
    EXPECT_EQ(sprintf_s(actual, sizeof actual, format, args...), expected_length);
    EXPECT_STREQ(actual, expected);
}

constexpr const char* integer_formats[] = {
    "%d",   "%i",    "%5d",   "%-5d",  "%05d",  "%+d",  "% d",   "%+ d", "%.3d", "%8.3d", "%-+8.3d",
    "%.0d", "%5.0d", "%-05d", "%0+8d", "%u",    "%7u",  "%o",    "%#o",  "%#5o", "%#.0o", "%x",
    "%#x",  "%X",    "%#X",   "%#08x", "%-#8X", "%.0x", "%#.5x", "%+u",  "% x",  "<%d>",
};

TEST(Format, IntegersMatchSnprintf) {
    const int values[] = {0, 1, -1, 42, -42, 255, 0xdead, INT_MAX, INT_MIN};
    for (const char* format : integer_formats)
        for (const int value : values)
            expect_like_snprintf(format, value);
}

TEST(Format, LengthModifiersMatchSnprintf) {
    const long long wide_values[] = {0, -1, LLONG_MIN, LLONG_MAX, 0x123456789abcLL};
    for (const char* format : {"%lld", "%lli", "%llu", "%llx", "%#llo", "%ld", "%lX", "%jd", "%qd",
                               "%Lx", "%zu", "%zx", "%Zd", "%td", "%25lld"})
        for (const long long value : wide_values)
            expect_like_snprintf(format, value);
    // h and hh narrow the promoted argument.
    for (const char* format : {"%hd", "%hu", "%hx", "%hhd", "%hhu", "%hhx"})
        for (const int value : {0, 70000, -129, 255, -1, 0x12345})
            expect_like_snprintf(format, value);
}

TEST(Format, SizedIntegerModifiers) {
    struct test_case {
        const char* format;
        long long value;
        const char* expected;
    };
    const test_case cases[] = {
        {"%I64d", LLONG_MIN, "-9223372036854775808"},
        {"%I64x", -1, "ffffffffffffffff"},
        {"%Id", LLONG_MIN, "-9223372036854775808"},
        {"%I64u", 42, "42"},
        {"%wd", 7, "7"},
        {"%qd", LLONG_MIN, "-9223372036854775808"},
        {"%Lx", -1, "ffffffffffffffff"},
        {"%Zu", 1ll << 40, "1099511627776"},
    };
    for (const test_case& c : cases) {
        char buf[64];
        EXPECT_EQ(sprintf_s(buf, sizeof buf, c.format, c.value),
                  static_cast<int>(std::strlen(c.expected)));
        EXPECT_STREQ(buf, c.expected);
    }
    char buf[64];
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%I32x|%I32d|%I32", -1, INT_MIN), -1); // "%I32" ends early
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%I32x|%I32d", -1, INT_MIN), 20);
    EXPECT_STREQ(buf, "ffffffff|-2147483648");
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%I6d", 5), -1); // I6 is not a size
}

TEST(Format, StarWidthAndPrecision) {
    for (const int width : {0, 1, 8, -8})
        for (const int precision : {-1, 0, 3, 12}) {
            expect_like_snprintf("%*d", width, 1234);
            expect_like_snprintf("%.*d", precision, 1234);
            expect_like_snprintf("%*.*x", width, precision, 0xbeef);
            expect_like_snprintf("%-*.*s", width, precision, "bounded");
            expect_like_snprintf("%*.*f", width, precision, 3.14159);
        }
    char buf[16];
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%*d", INT_MIN, 1), -1);
}

TEST(Format, CharactersStringsPointers) {
    for (const char* format : {"%c", "%3c", "%-3c", "[%c%c]"})
        expect_like_snprintf(format, 'x', 'y');
    for (const char* format : {"%s", "%10s", "%-10s", "%.2s", "%10.2s", "%.0s", "%.20s"})
        expect_like_snprintf(format, "bounded");
    expect_like_snprintf("100%% %s", "sure");
    for (const char* format : {"%p", "%20p", "%-20p"}) {
        expect_like_snprintf(format, reinterpret_cast<void*>(0x12345678));
        expect_like_snprintf(format, static_cast<void*>(nullptr));
    }
    char buf[24];
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%p", static_cast<void*>(nullptr)), 5);
    EXPECT_STREQ(buf, "(nil)");
    // A null string prints "(null)", or nothing when the precision would cut it.
    const char* null_text = nullptr;
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%8s|%.1s|%.6s", null_text, null_text, null_text), 16);
    EXPECT_STREQ(buf, "  (null)||(null)");
    // A string read with a precision stops there even without a NUL.
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%.3s", unterminated), 3);
    EXPECT_STREQ(buf, "abc");
}

TEST(Format, WideCharacters) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    const wchar_t* text = L"h\u00e9llo";
    for (const char* format : {"%ls", "%8ls", "%-8ls", "%.2ls", "%.3ls"})
        expect_like_snprintf(format, text);
    expect_like_snprintf("%lc|%4lc", static_cast<wint_t>(L'\u00e9'), static_cast<wint_t>(L'z'));
    // S and C take wide arguments unless h narrows them; w widens c and s.
    char buf[32];
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%S|%C|%ws|%wc", text, static_cast<wint_t>(L'\u00e9'),
                        text, static_cast<wint_t>(L'a')),
              18);
    EXPECT_STREQ(buf, "h\u00e9llo|\u00e9|h\u00e9llo|a");
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%hS|%hC", "narrow", 'n'), 8);
    EXPECT_STREQ(buf, "narrow|n");
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "%ls", static_cast<const wchar_t*>(nullptr)), 6);
    EXPECT_STREQ(buf, "(null)");
    // Unrepresentable in the C locale: a format failure, not garbage.
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "ab%ls", text), -1);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(sprintf_s(buf, sizeof buf, "ab%lc", static_cast<wint_t>(L'\u00e9')), -1);
}

TEST(Format, FloatingPointMatchesSnprintf) {
    const double values[] = {0.0, -0.0, 1.5, -2.25e10, 1e-300, 1e308, DBL_MAX, INFINITY, -NAN};
    for (const char* format :
         {"%e", "%E", "%f", "%F", "%g", "%G", "%a", "%A", "%10.3f", "%-12.2e", "%+.1f", "% .0e",
          "%010.2f", "%#.0f", "%#g", "%-+015.3g", "%lf", "<%8.1e>"})
        for (const double value : values)
            expect_like_snprintf(format, value);
    const long double long_values[] = {0.0L, 1.0L / 3, -1.25e300L, LDBL_MIN};
    for (const char* format : {"%Lf", "%Le", "%.30Lg", "%20.5LE", "%La"})
        for (const long double value : long_values)
            expect_like_snprintf(format, value);
    expect_like_snprintf("%d %.3f %s %e", 7, 2.5, "mixed", -1.0);
}

// Precisions past the last nonzero digit a double or long double can have: the zeros, the
// padding and the exponent land where the system formatter puts them.
TEST(Format, PrecisionBeyondTheExactDigitsMatchesSnprintf) {
    const struct {
        const char* format;
        int width, precision;
    } cases[] = {{"%.*f", 0, 1100},      {"%*.*e", 0, 1200},     {"%-*.*a", 1300, 1100},
                 {"%0*.*A", 1300, 1100}, {"%+*.*f", 1200, 1100}, {"%#.*g", 0, 1200},
                 {"%.*g", 0, 1200},      {"% .*E", 0, 1100}};
    for (const auto& c : cases)
        for (const double value : {1.5, -2.25e10, 5e-324, DBL_MAX, 0.0, -double{INFINITY}}) {
            SCOPED_TRACE(std::string(c.format) + " " + std::to_string(value));
            std::string expected(4096, '\0'), actual(4096, '#');
            const bool starred = std::strchr(c.format, '*') != std::strrchr(c.format, '*');
            const int length =
                starred
                    ? std::snprintf(expected.data(), 4096, c.format, c.width, c.precision, value)
                    : std::snprintf(expected.data(), 4096, c.format, c.precision, value);
            const int result =
                starred ? sprintf_s(actual.data(), 4096, c.format, c.width, c.precision, value)
                        : sprintf_s(actual.data(), 4096, c.format, c.precision, value);
            EXPECT_EQ(result, length);
            EXPECT_STREQ(actual.c_str(), expected.c_str());
        }
    std::string expected(40000, '\0'), actual(40000, '#');
    for (const char* format : {"%.*Lf", "%.*Le", "%#.*Lg"}) {
        SCOPED_TRACE(format);
        const int length = std::snprintf(expected.data(), 40000, format, 17000, LDBL_MAX);
        EXPECT_EQ(sprintf_s(actual.data(), 40000, format, 17000, LDBL_MAX), length);
        EXPECT_STREQ(actual.c_str(), expected.c_str());
    }
}

// A precision of a billion digits or more does not fit: refused at once, in little memory.
TEST(Format, HugePrecisionFailsAtOnce) {
    const auto start = std::chrono::steady_clock::now();
    for (const int precision : {INT_MAX, 1000000000})
        for (const char* format : {"%.*f", "%.*e", "%.*a", "%#.*g", "%.*d"}) {
            SCOPED_TRACE(format);
            guarded_buffer<64> buf;
            const int result = std::strchr(format, 'd') != nullptr
                                   ? sprintf_s(buf.data(), 64, format, precision, 7)
                                   : sprintf_s(buf.data(), 64, format, precision, 1.5);
            EXPECT_EQ(result, -1);
            EXPECT_EQ(buf.bytes[0], '\0');
            EXPECT_TRUE(buf.guard_intact());
        }
    guarded_buffer<64> buf;
    EXPECT_EQ(sprintf_s(buf.data(), 64, "%.*Lf", INT_MAX, 1.5L), -1);
    EXPECT_EQ(sprintf_s(buf.data(), 64, "%.*g", INT_MAX, 1.5), 3); // %g drops the zeros
    EXPECT_STREQ(buf.data(), "1.5");
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 1.0);
}

// ---------------------------------------------------------------------------------------------
// Errors, capacities and truncation

TEST(Format, MalformedFormatsResetDestination) {
    for (const char* format : {"%y", "abc%", "%5", "%.", "%*5d", "%.*3d", "%-%", "%n", "%hy",
                               "%99999999999d", "%.99999999999d", "%ld%"}) {
        SCOPED_TRACE(format);
        guarded_buffer<32> buf;
        int sink = 0;
        EXPECT_EQ(sprintf_s(buf.data(), 32, format, 1, &sink), -1);
        EXPECT_EQ(buf.bytes[0], '\0');
        EXPECT_EQ(sink, 0);
    }
}

TEST(Format, EdgeCasesOfTheEntryPoints) {
    struct test_case {
        const char* name;
        uint64_t capacity;
        const char* format;
        int result;
        const char* text; // nullptr: untouched
    };
    const test_case cases[] = {
        {"leading space", 10, " %d", 3, " 42"},
        {"does not fit", 2, "%d", -1, ""},
        {"fits exactly", 3, "%s", 2, "42"},
        {"capacity 0", 0, "x", -1, nullptr},
        {"capacity 1, empty output", 1, "", 0, ""},
        {"capacity 1, one character", 1, "x", -1, ""},
        {"capacity max", max_capacity, "%s!", 3, "42!"},
        {"capacity too large", too_large_capacity, "x", -1, nullptr},
        {"null format", 10, nullptr, -1, ""},
    };
    for (const test_case& c : cases) {
        SCOPED_TRACE(c.name);
        guarded_buffer<16> buf;
        const bool string_argument = c.format != nullptr && std::strstr(c.format, "%s") != nullptr;
        const int result = string_argument ? sprintf_s(buf.data(), c.capacity, c.format, "42")
                                           : sprintf_s(buf.data(), c.capacity, c.format, 42);
        EXPECT_EQ(result, c.result);
        if (c.text == nullptr)
            EXPECT_EQ(buf.bytes[0], untouched);
        else
            EXPECT_STREQ(buf.data(), c.text);
        EXPECT_TRUE(buf.guard_intact());
    }
    EXPECT_EQ(sprintf_s(nullptr, 10, "x"), -1);
}

int engine(char* dest, uint64_t count, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = SecVsnprintfImpl(dest, count, format, args);
    va_end(args);
    return result;
}

TEST(Engine, TruncationKeepsTheBoundedPrefix) {
    struct test_case {
        const char* name;
        uint64_t count;
        const char* format;
        int result;
        const char* text;
    };
    // Every format consumes (int 42, double 2.5, const char* "str").
    const test_case cases[] = {
        {"literal", 5, "hello world", -2, "hell"},
        {"exact fit", 13, "%d|%.3f|%s", 12, "42|2.500|str"},
        {"inside digits", 2, "%d|%.3f|%s", -2, "4"},
        {"inside a float", 6, "%d|%.3f|%s", -2, "42|2."},
        {"inside a string", 12, "%d|%.3f|%s", -2, "42|2.500|st"},
        {"inside padding", 4, "%10d|%.3f|%s", -2, "   "},
        {"capacity 1", 1, "%d", -2, ""},
        {"count beyond the valid capacity", too_large_capacity, "%d|%.3f|%s", 12, "42|2.500|str"},
    };
    for (const test_case& c : cases) {
        SCOPED_TRACE(c.name);
        guarded_buffer<16> buf;
        EXPECT_EQ(engine(buf.data(), c.count, c.format, 42, 2.5, "str"), c.result);
        EXPECT_STREQ(buf.data(), c.text);
        EXPECT_TRUE(buf.guard_intact());
    }
}

TEST(Engine, InvalidArguments) {
    guarded_buffer<8> buf;
    EXPECT_EQ(engine(nullptr, 8, "x"), -1);
    EXPECT_EQ(engine(buf.data(), 0, "x"), -2);
    EXPECT_EQ(engine(buf.data(), 0, "%y"), -2);
    EXPECT_EQ(buf.bytes[0], untouched); // count 0 gives no place to write even a NUL
    EXPECT_EQ(engine(buf.data(), 8, "%y"), -1);
    EXPECT_EQ(buf.bytes[0], '\0');
}

TEST(Engine, LongFloatOutputStaysWithinTheBound) {
    // Longer than the local formatting buffer: formatted in place under the remaining room.
    std::string expected(700, ' ');
    std::snprintf(expected.data(), expected.size() + 1, "ab%.600f", 1.0);
    expected.resize(std::strlen(expected.c_str()));
    std::array<char, 1024> big;
    EXPECT_EQ(engine(big.data(), big.size(), "ab%.600f", 1.0), static_cast<int>(expected.size()));
    EXPECT_EQ(std::string(big.data()), expected);
    guarded_buffer<100> small;
    EXPECT_EQ(engine(small.data(), 100, "ab%.600f", 1.0), -2);
    EXPECT_EQ(std::string(small.data()), expected.substr(0, 99));
    EXPECT_TRUE(small.guard_intact());
    guarded_buffer<64> wide;
    EXPECT_EQ(engine(wide.data(), 64, "%2000000000f", 1.0), -2);
    EXPECT_TRUE(wide.guard_intact());
    guarded_buffer<16> digits;
    EXPECT_EQ(engine(digits.data(), 16, "%.*f", INT_MAX, -1.5), -2);
    EXPECT_STREQ(digits.data(), "-1.500000000000");
    EXPECT_TRUE(digits.guard_intact());
}

} // namespace
