// Bounded copy, concatenation and formatting entry points of the library's C interface.
#include "qvsip.h"

#include "vsip/boundedstring_format.hpp"

#include <cstdint>
#include <cstring>

namespace {

constexpr int ok = QVSIP_STR_OK;
constexpr int null_dest = QVSIP_STR_EINVAL;
constexpr int bad_capacity = QVSIP_STR_ERANGE;
constexpr int null_source = QVSIP_STR_EINVAL_RESET;
constexpr int unterminated = QVSIP_STR_EINVAL_RESET;
constexpr int too_long = QVSIP_STR_ERANGE_RESET;
constexpr int overlap = QVSIP_STR_EOVERLAP_RESET;
constexpr int format_failed = -1;

bool valid_capacity(std::uint64_t capacity) {
    return capacity != 0 && capacity <= QVSIP_STRING_MAX_CAPACITY;
}

// Codes carrying QVSIP_STR_RESET promise that the destination was emptied.
int finish(char* dest, int code) {
    if ((code & QVSIP_STR_RESET) != 0) dest[0] = '\0';
    return code;
}

// Half-open byte ranges compared as addresses: the pointers need not share an object.
bool overlaps(const char* a, std::size_t a_length, const char* b, std::size_t b_length) {
    const auto a_begin = reinterpret_cast<std::uintptr_t>(a);
    const auto b_begin = reinterpret_cast<std::uintptr_t>(b);
    return a_begin < b_begin + b_length && b_begin < a_begin + a_length;
}

// The outcome of strcpy_s before anything is copied; length receives the source length when
// the code is ok. The source is read at most destMax characters far.
int classify_copy(char* dest, std::uint64_t destMax, const char* src, std::size_t& length) {
    if (!valid_capacity(destMax)) return bad_capacity;
    if (dest == nullptr) return null_dest;
    if (src == nullptr) return null_source;
    length = strnlen(src, destMax);
    if (length >= destMax) return too_long;
    if (dest != src && overlaps(dest, length + 1, src, length + 1)) return overlap;
    return ok;
}

int classify_append(char* dest, std::uint64_t destMax, const char* src, std::size_t& used,
                    std::size_t& length) {
    if (!valid_capacity(destMax)) return bad_capacity;
    if (dest == nullptr) return null_dest;
    if (src == nullptr) return null_source;
    used = strnlen(dest, destMax);
    if (used == destMax) return unterminated;
    const std::size_t room = destMax - used; // characters left including the NUL
    length = strnlen(src, room);
    if (length >= room) return too_long;
    if (overlaps(dest, used + length + 1, src, length + 1)) return overlap;
    return ok;
}

} // namespace

extern "C" {

QVSIP_API int strcpy_error(char* dest, uint64_t destMax, const char* src) {
    std::size_t length = 0;
    return finish(dest, classify_copy(dest, destMax, src, length));
}

QVSIP_API int strcpy_s(char* dest, uint64_t destMax, const char* src) {
    std::size_t length = 0;
    const int code = classify_copy(dest, destMax, src, length);
    if (code == ok && dest != src) std::memcpy(dest, src, length + 1);
    return finish(dest, code);
}

QVSIP_API int strcat_s(char* dest, uint64_t destMax, const char* src) {
    std::size_t used = 0;
    std::size_t length = 0;
    const int code = classify_append(dest, destMax, src, used, length);
    if (code == ok) std::memcpy(dest + used, src, length + 1);
    return finish(dest, code);
}

QVSIP_API int SecVsnprintfImpl(char* dest, uint64_t count, const char* format, va_list args) {
    return qvsip::bounded::format_bounded(dest, count, format, args);
}

QVSIP_API int vsprintf_s(char* dest, uint64_t destMax, const char* format, va_list args) {
    if (dest == nullptr || !valid_capacity(destMax)) return format_failed;
    const int written = qvsip::bounded::format_bounded(dest, destMax, format, args);
    if (written < 0) {
        dest[0] = '\0'; // truncated text is not a result
        return format_failed;
    }
    return written;
}

QVSIP_API int sprintf_s(char* dest, uint64_t destMax, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int written = vsprintf_s(dest, destMax, format, args);
    va_end(args);
    return written;
}

} // extern "C"
