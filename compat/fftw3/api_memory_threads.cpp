// Memory, threads, time limit, cleanup and the identification texts.
#include <atomic>
#include <cstdint>

#include "compat/fftw3/plan.hpp"

namespace qtx::QVSIP_FFTW3_NAMESPACE {
namespace {
// The count plans made now record, as the caller last set it (the engine keeps its own).
std::atomic<int> planner_threads{1};
// The engine kernels are fastest on 64-byte boundaries (qtx malloc's alignment).
constexpr std::uintptr_t preferred_alignment = 64;
} // namespace

int current_nthreads() {
    return planner_threads.load();
}

int alignment_class(const void* p) {
    return static_cast<int>(reinterpret_cast<std::uintptr_t>(p) % preferred_alignment);
}

} // namespace qtx::QVSIP_FFTW3_NAMESPACE

namespace fftw3 = qtx::QVSIP_FFTW3_NAMESPACE;

extern "C" {

// Zero-filled, 64-byte aligned blocks from the engine's allocator.
void* X(malloc)(size_t n) {
    return E(malloc)(n);
}
void X(free)(void* p) {
    E(free)(p);
}
fftw3::real* X(alloc_real)(size_t n) {
    if (n > SIZE_MAX / sizeof(fftw3::real)) return nullptr;
    return static_cast<fftw3::real*>(E(malloc)(n * sizeof(fftw3::real)));
}
X(complex) * X(alloc_complex)(size_t n) {
    if (n > SIZE_MAX / sizeof(X(complex))) return nullptr;
    return static_cast<X(complex)*>(E(malloc)(n * sizeof(X(complex))));
}
// Two arrays with the same value may share a plan made for either: the offset from the
// kernels' preferred 64-byte boundary. Execution accepts any alignment regardless.
int X(alignment_of)(fftw3::real* p) {
    return fftw3::alignment_class(p);
}

int X(init_threads)(void) {
    return E(init_threads)();
}
void X(cleanup_threads)(void) {
    E(cleanup_threads)();
}
void X(plan_with_nthreads)(int nthreads) {
    const int n = nthreads < 1 ? 1 : nthreads;
    fftw3::planner_threads.store(n);
    E(plan_with_nthreads)(n);
}
int X(planner_nthreads)(void) {
    return fftw3::current_nthreads();
}
// The engine's planner is safe to call from several threads at once already.
void X(make_planner_thread_safe)(void) {}
// The engine runs parallel work on its own worker pool and has no hook for a caller's loop:
// the callback is not used, and plans keep running on the engine's threads.
void X(threads_set_callback)(void (*)(void* (*)(char*), char*, size_t, int, void*), void*) {}

// Planning never measures, so there is no planning time to limit.
void X(set_timelimit)(double) {}
// Plans own everything they use; there is no planner state to release.
void X(cleanup)(void) {}

const char X(version)[] = "qvsip-fftw3-" QVSIP_FFTW3_VERSION " (" QVSIP_FFTW3_PRECISION_NAME
                          " precision on the qvsip FFT engine)";
const char X(cc)[] = "g++ " __VERSION__;
const char X(codelet_optim)[] = "";

} // extern "C"
