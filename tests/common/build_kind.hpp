// How the test program was built, for the bounds that depend on it: the address sanitizer and
// the emulator (cross-built tests) make everything several times slower.
#pragma once

namespace qtx::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool address_sanitized = true;
#else
inline constexpr bool address_sanitized = false;
#endif

#if defined(QTX_TEST_EMULATED)
inline constexpr bool emulated = true;
#else
inline constexpr bool emulated = false;
#endif

} // namespace qtx::test
