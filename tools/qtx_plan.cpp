// qtx-plan [--double] [--threads T] [--inplace] [--stride IS,OS] N
// Prints the kernel set the engines chose for this processor, then the plan tree of a forward
// one-dimensional complex transform of length N: one node per line, children indented, with the
// execute routine, the solver that made it, the problem, the radices of stage sequences, buffer and
// table sizes and the thread count.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/plan_printer.hpp"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: qtx-plan [--double] [--threads T] [--inplace] [--stride IS,OS] N\n");
    return 2;
}

bool parse_count(const char* text, int64_t* value) {
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || v < 1) return false;
    *value = v;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    plan_request request;
    bool double_precision = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        int64_t threads = 0;
        if (std::strcmp(arg, "--double") == 0) {
            double_precision = true;
        } else if (std::strcmp(arg, "--inplace") == 0) {
            request.in_place = true;
        } else if (std::strcmp(arg, "--threads") == 0 && i + 1 < argc &&
                   parse_count(argv[++i], &threads) && threads <= 512) {
            request.threads = static_cast<int>(threads);
        } else if (std::strcmp(arg, "--stride") == 0 && i + 1 < argc) {
            long long is = 0, os = 0;
            if (std::sscanf(argv[++i], "%lld,%lld", &is, &os) != 2 || is < 1 || os < 1)
                return usage();
            request.in_stride = is;
            request.out_stride = os;
        } else if (request.n == 0 && parse_count(arg, &request.n)) {
        } else {
            return usage();
        }
    }
    if (request.n == 0) return usage();
    std::printf("kernels: %s\n", double_precision ? qtx::engine_f64::kernel_set_name()
                                                  : qtx::engine_f32::kernel_set_name());
    std::printf("%s precision, length %" PRId64 ", %d thread(s)%s\n",
                double_precision ? "double" : "single", request.n, request.threads,
                request.in_place ? ", in place" : "");
    const int status = double_precision ? qtx::engine_f64::print_plan(request, stdout)
                                        : qtx::engine_f32::print_plan(request, stdout);
    if (status != 0) std::printf("no plan\n");
    return status;
}
