#include "tools/plan_arguments.hpp"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* usage_text =
    "usage: qtx-plan [options] N | N1xN2 | N1xN2xN3\n"
    "Prints the kernel set the engine chose for this processor, then the plan tree it builds\n"
    "for one transform, or why it makes none (exit status 1).\n"
    "  --r2c             real to complex (forward)\n"
    "  --c2r             complex to real (backward)\n"
    "  --r2r K[,K,K]     real to real, one kind per dimension or one for all: a code 0..10\n"
    "                    or r2hc hc2r dht redft00 redft01 redft10 redft11\n"
    "                    rodft00 rodft01 rodft10 rodft11\n"
    "  --backward        complex transform with sign +1 (default: forward, -1)\n"
    "  --double          the double-precision engine (default: single)\n"
    "  --threads T       plan for T threads, 1..512 (default 1)\n"
    "  --inplace         the output array is the input array\n"
    "  --split           real and imaginary parts in separate arrays (forward c2c, r2c, c2r)\n"
    "  --stride IS,OS    input and output strides of the last dimension (default 1,1);\n"
    "                    outer dimensions are packed\n"
    "  --howmany H       a batch of H transforms\n"
    "  --dist ID,OD      input and output distances of the batch (default: packed)\n"
    "  --many            plan through plan_many_* instead of plan_guru64_*\n"
    "  --help            print this text\n";

bool parse_int64(const char* text, int64_t* value) {
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0') return false;
    *value = v;
    return true;
}

// "A<sep>B<sep>..." into at most max values; the count parsed, or 0 on a malformed list.
template <class Parse, class T>
int parse_list(const char* text, char sep, int max, T* values, Parse parse) {
    char item[64];
    int count = 0;
    for (const char* at = text;; ++count) {
        const char* end = std::strchr(at, sep);
        const size_t length = end ? static_cast<size_t>(end - at) : std::strlen(at);
        if (count == max || length == 0 || length >= sizeof item) return 0;
        std::memcpy(item, at, length);
        item[length] = '\0';
        if (!parse(item, &values[count])) return 0;
        if (end == nullptr) return count + 1;
        at = end + 1;
    }
}

bool parse_pair(const char* text, int64_t* first, int64_t* second) {
    int64_t values[2];
    if (parse_list(text, ',', 2, values, parse_int64) != 2) return false;
    *first = values[0], *second = values[1];
    return true;
}

// One kind stands for every dimension.
bool parse_kinds(const char* text, plan_request* r, int* count) {
    *count = parse_list(text, ',', max_request_rank, r->kinds, parse_r2r_kind);
    if (*count == 1) r->kinds[1] = r->kinds[2] = r->kinds[0];
    r->family = transform_family::r2r;
    return *count > 0;
}

// Lengths may be 0 or negative: the planner's rules judge them.
bool parse_lengths(const char* text, plan_request* r) {
    if (r->rank != 0) return false;
    r->rank = parse_list(text, 'x', max_request_rank, r->n, parse_int64);
    return r->rank > 0;
}

bool fits_int(int64_t v) {
    return v >= INT_MIN && v <= INT_MAX;
}

// The many planner takes int arguments; a split or backward split transform has no planner.
const char* inconsistency(const plan_request& r, int kind_count) {
    if (r.rank == 0) return "no lengths given";
    if (kind_count > 1 && kind_count != r.rank) return "give one r2r kind or one per dimension";
    if (r.sign == +1 && r.family != transform_family::c2c) return "--backward applies to c2c only";
    if (r.split && r.family == transform_family::r2r) return "r2r has no split planner";
    if (r.split && r.sign == +1) return "split c2c planners are forward only";
    if (r.split && r.many) return "--many has no split planner";
    if (!r.many) return nullptr;
    bool fits = fits_int(r.howmany) && fits_int(r.in_stride) && fits_int(r.out_stride) &&
                fits_int(r.in_dist) && fits_int(r.out_dist);
    for (int d = 0; d < r.rank; ++d)
        fits = fits && fits_int(r.n[d]);
    return fits ? nullptr : "--many takes lengths, strides and distances that fit an int";
}

parse_result bad(const char* why, const char* arg = "") {
    std::fprintf(stderr, "qtx-plan: %s%s\n", why, arg);
    print_usage(stderr);
    return parse_result::bad_usage;
}

} // namespace

void print_usage(std::FILE* out) {
    std::fputs(usage_text, out);
}

parse_result parse_arguments(int argc, char** argv, plan_request* r) {
    int kind_count = 0;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const bool takes_value = value != nullptr && arg[0] == '-' && arg[1] == '-';
        int64_t threads = 0;
        if (std::strcmp(arg, "--help") == 0) return parse_result::help;
        if (std::strcmp(arg, "--r2c") == 0) {
            r->family = transform_family::r2c;
        } else if (std::strcmp(arg, "--c2r") == 0) {
            r->family = transform_family::c2r;
        } else if (std::strcmp(arg, "--backward") == 0) {
            r->sign = +1;
        } else if (std::strcmp(arg, "--double") == 0) {
            r->double_precision = true;
        } else if (std::strcmp(arg, "--inplace") == 0) {
            r->in_place = true;
        } else if (std::strcmp(arg, "--split") == 0) {
            r->split = true;
        } else if (std::strcmp(arg, "--many") == 0) {
            r->many = true;
        } else if (takes_value && std::strcmp(arg, "--r2r") == 0 &&
                   parse_kinds(value, r, &kind_count)) {
            ++i;
        } else if (takes_value && std::strcmp(arg, "--threads") == 0 &&
                   parse_int64(value, &threads) && threads >= 1 && threads <= 512) {
            r->threads = static_cast<int>(threads), ++i;
        } else if (takes_value && std::strcmp(arg, "--stride") == 0 &&
                   parse_pair(value, &r->in_stride, &r->out_stride)) {
            ++i;
        } else if (takes_value && std::strcmp(arg, "--howmany") == 0 &&
                   parse_int64(value, &r->howmany)) {
            r->batched = true, ++i;
        } else if (takes_value && std::strcmp(arg, "--dist") == 0 &&
                   parse_pair(value, &r->in_dist, &r->out_dist)) {
            r->dist_given = true, ++i;
        } else if (arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9')) {
            return bad("unknown option or bad value: ", arg);
        } else if (!parse_lengths(arg, r)) {
            return bad("lengths are N, N1xN2 or N1xN2xN3, given once: ", arg);
        }
    }
    if (const char* why = inconsistency(*r, kind_count)) return bad(why);
    return parse_result::plan;
}
