// How the test program was built, for the bounds that depend on it: the address sanitizer, the
// emulator (cross-built tests) and the portable scalar backend (built at -Og in CI) make
// everything several times slower.
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

#if defined(QTX_SIMD_SCALAR)
inline constexpr bool scalar_backend = true;
#else
inline constexpr bool scalar_backend = false;
#endif

} // namespace qtx::test
