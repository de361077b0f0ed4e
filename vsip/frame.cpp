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

constexpr int serial_thread_count = 1;
constexpr char thread_count_variable[] = "OMP_NUM_THREADS";
// OMP_NUM_THREADS values of this length or longer are ignored at load.
constexpr std::size_t ignored_thread_text_length = 10;
// Capacity of the text written back to OMP_NUM_THREADS: a blank and up to 8 digits.
constexpr std::uint64_t thread_text_capacity = 10;
// Plan thread count both FFT engines get at load; FFT objects reset it when they are created.
constexpr int engine_thread_count = 8;

constexpr int control_ok = 0;
constexpr int control_failed = -1;
constexpr int version_record_missing = 1;

constexpr char name_label[] = "Component Name: ";
constexpr char component_name[] = "Vantor-qvsip";
constexpr char version_label[] = "Component Version: ";
constexpr char component_version[] = "1.0.0";

// Read without locks at the start of every operation; atomic so that a count set while another
// thread starts an operation reaches it as either the old or the new value.
std::atomic<int> library_thread_count{serial_thread_count};
std::atomic<std::uint64_t> library_processor_profile{profile_default};
std::atomic<bool> library_initialised{false};

// The engines report failures of their thread set-up; the library carries on without them
// (transforms then run on the calling thread).
void set_up_engine_threads() {
    static_cast<void>(qtx_fftf_init_threads());
    qtx_fftf_plan_with_nthreads(engine_thread_count);
    static_cast<void>(qtx_fft_init_threads());
    qtx_fft_plan_with_nthreads(engine_thread_count);
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
    if (value == nullptr ||
        strnlen(value, ignored_thread_text_length) == ignored_thread_text_length)
        return serial_thread_count;
    // At most 9 characters: the value always fits in 32 bits.
    return static_cast<int>(std::strtol(value, nullptr, 10));
}

void initialise_library() {
    if (library_initialised.load()) return;
    library_processor_profile.store(detect_processor_profile(), std::memory_order_relaxed);
    library_thread_count.store(thread_count_from_environment(std::getenv(thread_count_variable)),
                               std::memory_order_relaxed);
    set_up_engine_threads();
    library_initialised.store(true);
}

} // namespace qvsip

using namespace qvsip;

int QVSIP_SetOmpThreadNum(int threadNum) {
    if (threadNum <= 0) return control_failed;
    char text[thread_text_capacity] = {};
    if (sprintf_s(text, sizeof text, " %d", threadNum) == -1) return control_failed;
    if (setenv(thread_count_variable, text, 1) != 0) return control_failed;
    library_thread_count.store(threadNum, std::memory_order_relaxed);
    return control_ok;
}

int QVSIP_GetOmpThreadNum(void) {
    return thread_count();
}

int QVSIP_GetProductVersion(QvsipVersionInfo* info) {
    if (info == nullptr) return version_record_missing;
    fill_field(info->componentName, name_label, component_name);
    fill_field(info->componentVersion, version_label, component_version);
    return control_ok;
}
