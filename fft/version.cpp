// The version query and the identification text of the engine image. A translation unit of
// its own: both engines define QFFTGetVersion, and a program linking both engines' archives
// must not pull it in twice.
#include <cstring>

#include "fft/api.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// Kept in the image so that the build can be identified from the file alone.
[[gnu::used]] const char identification[] = "fft version: 2.0.2.B001";

constexpr const char* product_name = "Vantor-qtx";
constexpr const char* product_version = "1.7.0";
constexpr const char* component_name = "vantor-qtx-fft";
constexpr const char* component_version = "1.7.0";

template <size_t N> void copy_text(char (&field)[N], const char* text) {
    static_assert(N > 0);
    std::strncpy(field, text, N - 1);
    field[N - 1] = '\0';
}

} // namespace
} // namespace qtx::QTX_ENGINE

using namespace qtx::QTX_ENGINE;

int QFFTGetVersion(qtx_fftf_version* info) {
    if (info == nullptr) return 0;
    copy_text(info->product_name, product_name);
    copy_text(info->product_version, product_version);
    copy_text(info->component_name, component_name);
    copy_text(info->component_version, component_version);
    return 1;
}
