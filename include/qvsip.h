/*
 * qvsip.h - public C interface of the vector and matrix signal-processing library libqvsip.
 */
#ifndef QVSIP_H
#define QVSIP_H

#include <stdarg.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(QVSIP_BUILDING)
#define QVSIP_API __attribute__((visibility("default")))
#else
#define QVSIP_API
#endif

/* ==========================================================================================
 * Bounded string functions
 *
 * Every function takes the destination's capacity (destMax) in characters, including the
 * terminating NUL. A valid capacity is 1 to QVSIP_STRING_MAX_CAPACITY; the functions never
 * write outside [dest, dest + destMax).
 * ========================================================================================== */

#define QVSIP_STRING_MAX_CAPACITY 0x7fffffffu

/* Codes returned by strcpy_s, strcat_s and strcpy_error. QVSIP_STR_RESET is added to a code
 * when the destination's first character was set to NUL. */
#define QVSIP_STR_OK 0
#define QVSIP_STR_EINVAL 22   /* destination null; destination untouched */
#define QVSIP_STR_ERANGE 34   /* capacity 0 or above QVSIP_STRING_MAX_CAPACITY; untouched */
#define QVSIP_STR_EOVERLAP 54 /* source and destination ranges overlap */
#define QVSIP_STR_RESET 128
#define QVSIP_STR_EINVAL_RESET (QVSIP_STR_EINVAL + QVSIP_STR_RESET)     /* 150 */
#define QVSIP_STR_ERANGE_RESET (QVSIP_STR_ERANGE + QVSIP_STR_RESET)     /* 162 */
#define QVSIP_STR_EOVERLAP_RESET (QVSIP_STR_EOVERLAP + QVSIP_STR_RESET) /* 182 */

/* Copies src with its NUL. 150: src null; 162: src does not fit; 182: ranges overlap.
 * dest == src succeeds without copying when the string fits in destMax. */
QVSIP_API int strcpy_s(char* dest, uint64_t destMax, const char* src);

/* Appends src to the NUL-terminated string in dest. 150: src null or dest has no NUL within
 * destMax; 162: the result does not fit; 182: src overlaps the used or the appended part. */
QVSIP_API int strcat_s(char* dest, uint64_t destMax, const char* src);

/* Returns the code strcpy_s(dest, destMax, src) would return and applies its reset, but never
 * copies: 0 means the copy would succeed. */
QVSIP_API int strcpy_error(char* dest, uint64_t destMax, const char* src);

/* printf-style formatting into dest. Returns the number of characters written (without the
 * NUL), or -1 when an argument or the capacity is invalid, the format is malformed or the
 * output does not fit; dest[0] is set to NUL on failure when dest and destMax are valid. */
QVSIP_API int vsprintf_s(char* dest, uint64_t destMax, const char* format, va_list args);
QVSIP_API int sprintf_s(char* dest, uint64_t destMax, const char* format, ...);

/* The formatting engine: writes at most count characters including the NUL. Returns the number
 * of characters written, -1 for a malformed format (dest[0] set to NUL) or -2 when the output
 * was truncated (the first count - 1 characters kept and NUL-terminated). */
QVSIP_API int SecVsnprintfImpl(char* dest, uint64_t count, const char* format, va_list args);

#ifdef __cplusplus
}
#endif

#endif /* QVSIP_H */
