// Bounded printf-style formatting engine behind sprintf_s, vsprintf_s and SecVsnprintfImpl.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace qvsip::bounded {

inline constexpr int format_error = -1;
inline constexpr int format_truncated = -2;

// Formats into dest, storing at most count characters including the NUL. Returns the number
// of characters written, format_error for a malformed format (dest[0] set to NUL when count is
// positive) or format_truncated when the output did not fit (the first count - 1 characters kept
// and terminated). Nothing is written when dest is null or count is 0.
int format_bounded(char* dest, std::uint64_t count, const char* format, va_list args);

} // namespace qvsip::bounded
