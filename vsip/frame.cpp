// Process-wide settings of the library, its load-time set-up and its exported control
// functions.
#include "vsip/frame.hpp"

#include "qtx_fft.h"
#include "qvsip.h"
#include "vsip/processor_profile.hpp"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace qvsip {
namespace {

constexpr int kSerialThreadCount = 1;
constexpr char kThreadVariable[] = "OMP_NUM_THREADS";
// OMP_NUM_THREADS values of this length or longer are ignored at load.
constexpr std::size_t kIgnoredThreadTextLength = 10;
// Capacity of the text written back to OMP_NUM_THREADS: a blank and up to 8 digits.
constexpr std::uint64_t kThreadTextCapacity = 10;
// Plan thread count both FFT engines get at load; FFT objects reset it when they are created.
constexpr int kEngineThreadCount = 8;

constexpr int kControlOk = 0;
constexpr int kControlFailed = -1;
constexpr int kVersionRecordMissing = 1;

constexpr char kNameLabel[] = "Component Name: ";
constexpr char kComponentName[] = "Vantor-qvsip";
constexpr char kVersionLabel[] = "Component Version: ";
constexpr char kComponentVersion[] = "1.0.0";

// Read without locks at the start of every operation; atomic so that a count set while another
// thread starts an operation reaches it as either the old or the new value.
std::atomic<int> library_thread_count{kSerialThreadCount};
std::atomic<std::uint64_t> library_processor_profile{kProfileDefault};
std::atomic<bool> library_initialised{false};

// The engines report failures of their thread set-up; the library carries on without them
// (transforms then run on the calling thread).
void set_up_engine_threads() {
    static_cast<void>(qtx_fftf_init_threads());
    qtx_fftf_plan_with_nthreads(kEngineThreadCount);
    static_cast<void>(qtx_fft_init_threads());
    qtx_fft_plan_with_nthreads(kEngineThreadCount);
}

void fill_field(char* field, const char* label, const char* text) {
    static_cast<void>(strcpy_s(field, QVSIP_VERSION_FIELD_SIZE, label));
    static_cast<void>(strcat_s(field, QVSIP_VERSION_FIELD_SIZE, text));
}

__attribute__((constructor)) void load_time_initialiser() {
    initialise_library();
}

} // namespace

int thread_count() {
    return library_thread_count.load(std::memory_order_relaxed);
}

std::uint64_t processor_profile() {
    return library_processor_profile.load(std::memory_order_relaxed);
}

int thread_count_from_environment(const char* value) {
    if (value == nullptr || strnlen(value, kIgnoredThreadTextLength) == kIgnoredThreadTextLength)
        return kSerialThreadCount;
    // At most 9 characters: the value always fits in 32 bits.
    return static_cast<int>(std::strtol(value, nullptr, 10));
}

void initialise_library() {
    if (library_initialised.load()) return;
    library_processor_profile.store(detect_processor_profile(), std::memory_order_relaxed);
    library_thread_count.store(thread_count_from_environment(std::getenv(kThreadVariable)),
                               std::memory_order_relaxed);
    set_up_engine_threads();
    library_initialised.store(true);
}

} // namespace qvsip

using namespace qvsip;

int QVSIP_SetOmpThreadNum(int threadNum) {
    if (threadNum <= 0) return kControlFailed;
    char text[kThreadTextCapacity] = {};
    if (sprintf_s(text, sizeof text, " %d", threadNum) == -1) return kControlFailed;
    if (setenv(kThreadVariable, text, 1) != 0) return kControlFailed;
    library_thread_count.store(threadNum, std::memory_order_relaxed);
    return kControlOk;
}

int QVSIP_GetOmpThreadNum(void) {
    return thread_count();
}

int QVSIP_GetProductVersion(QvsipVersionInfo* info) {
    if (info == nullptr) return kVersionRecordMissing;
    fill_field(info->componentName, kNameLabel, kComponentName);
    fill_field(info->componentVersion, kVersionLabel, kComponentVersion);
    return kControlOk;
}
