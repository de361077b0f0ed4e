// The facts the benchmark report opens with: the compiler, the SIMD backend this build uses and
// FFTW's version string. With --codelets, the SIMD codelet families in FFTW_MEASURE plans
// instead, which shows whether the 128-bit shim is in effect.
//   bench_report_info [--codelets]
#include <fftw3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

#include "simd/simd.hpp"

namespace {

#if defined(__clang__)
constexpr const char* compiler = "clang " __clang_version__;
#elif defined(__GNUC__)
constexpr const char* compiler = "GCC " __VERSION__;
#else
constexpr const char* compiler = "unknown";
#endif

// The codelet families named in a printed plan: the word after the last '_' of each
// "n1fv_32_avx"-like quoted codelet name, or "scalar" for one without a vector suffix.
void add_families(const char* plan, std::set<std::string>& families) {
    for (const char* quote = std::strchr(plan, '"'); quote; quote = std::strchr(quote, '"')) {
        const char* end = std::strchr(quote + 1, '"');
        if (!end) break;
        const std::string name(quote + 1, end);
        const std::size_t underscore = name.rfind('_');
        const std::string suffix = name.substr(underscore + 1);
        const bool vector = name.size() > 3 && name.find("v_") != std::string::npos;
        families.insert(vector ? suffix : "scalar");
        quote = end + 1;
    }
}

template <class Plan, class Complex, class PlanDft, class Sprint, class Destroy>
std::string codelet_families(PlanDft plan_dft, Sprint sprint, Destroy destroy) {
    std::set<std::string> families;
    for (int n : {64, 1024, 16384}) {
        auto* in = static_cast<Complex*>(std::calloc(static_cast<std::size_t>(n), sizeof(Complex)));
        auto* out =
            static_cast<Complex*>(std::calloc(static_cast<std::size_t>(n), sizeof(Complex)));
        Plan plan = plan_dft(1, &n, in, out, FFTW_FORWARD, FFTW_MEASURE);
        char* text = sprint(plan);
        add_families(text, families);
        std::free(text);
        destroy(plan);
        std::free(in);
        std::free(out);
    }
    std::string list;
    for (const std::string& family : families)
        list += (list.empty() ? "" : " ") + family;
    return list;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--codelets") == 0) {
        std::printf("single: %s\n", codelet_families<fftwf_plan, fftwf_complex>(
                                        fftwf_plan_dft, fftwf_sprint_plan, fftwf_destroy_plan)
                                        .c_str());
        std::printf("double: %s\n", codelet_families<fftw_plan, fftw_complex>(
                                        fftw_plan_dft, fftw_sprint_plan, fftw_destroy_plan)
                                        .c_str());
        return 0;
    }
    std::printf("compiler: %s\n", compiler);
    std::printf("simd backend: %s (128-bit vectors)\n", qtx::simd::backend_name);
    std::printf("fftw: %s (single: %s)\n", fftw_version, fftwf_version);
    return 0;
}
