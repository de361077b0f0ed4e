// Memory, threads, time limit, cleanup and the identification texts.
#include <atomic>
#include <cstdint>

#include "compat/fftw3/plan.hpp"

namespace qtx::QVSIP_FFTW3_NAMESPACE {

// The texts are arrays of the sizes Debian's FFTW gives them on each architecture. A program
// linked against FFTW holds copies of them of those sizes, which the loader fills from ours when
// ours is preloaded: with other sizes it warns, and a longer text would be cut short of its
// terminating zero. So our texts fit the smallest, 12 bytes, and their arrays are padded out.
#if defined(__x86_64__)
constexpr std::size_t version_bytes = 21, cc_bytes = 96, codelet_optim_bytes = 1;
#elif defined(__aarch64__) && defined(QVSIP_FFTW3_DOUBLE)
constexpr std::size_t version_bytes = 12, cc_bytes = 81, codelet_optim_bytes = 1;
#elif defined(__aarch64__)
constexpr std::size_t version_bytes = 17, cc_bytes = 81, codelet_optim_bytes = 1;
#else
constexpr std::size_t version_bytes = 12, cc_bytes = 81, codelet_optim_bytes = 1;
#endif
static_assert(sizeof("qvsip-" QVSIP_FFTW3_VERSION) <= 12, "the version text outgrows 12 bytes");
static_assert(sizeof("g++ " __VERSION__) <= 81, "the compiler text outgrows 81 bytes");

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

const char X(version)[fftw3::version_bytes] = "qvsip-" QVSIP_FFTW3_VERSION;
const char X(cc)[fftw3::cc_bytes] = "g++ " __VERSION__;
const char X(codelet_optim)[fftw3::codelet_optim_bytes] = "";

} // extern "C"
