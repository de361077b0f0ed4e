// Plan fuzzer: random descriptors over every planning family of the public interface. Each plan
// is either refused (null) or, run on arrays with guard values around and between the elements it
// owns, matches FFTW's long-double transform, writes nothing outside its output and leaves an
// out-of-place input untouched. Descriptors are reproducible from (seed, index):
//   fuzz_plans_f32 [--seed S] [--count K] [--replay INDEX]
#include <fftw3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "common/build_kind.hpp"
#include "common/oracle.hpp"
#include "fft/api.hpp"

#if defined(__SANITIZE_ADDRESS__)
extern "C" void __sanitizer_set_death_callback(void (*callback)(void));
// Huge descriptors may make the engine ask for more memory than exists; it must then refuse,
// as it does when the system allocator returns null.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

namespace {

using namespace qtx::QTX_ENGINE;
using ld = long double;
using i128 = __int128;

constexpr bool sanitized = qtx::test::address_sanitized;
constexpr bool slowed = sanitized || qtx::test::emulated || qtx::test::scalar_backend;
// Guard reals before and after every array; none under the sanitizer, which catches overruns
// of exactly sized arrays itself.
constexpr int64_t guard_reals = sanitized ? 0 : 8;
// Descriptors whose arrays or work exceed these are planned (and destroyed) but not run.
constexpr int64_t max_buffer_reals = int64_t{1} << (sanitized ? 17 : 19);
constexpr int64_t max_work = int64_t{1} << (sanitized ? 16 : 18);
// Planning, even of a refused huge problem, takes at most this long and this much memory, plus
// allowances that grow with one transform's length (tables of 2^24 points are legitimate).
constexpr double planning_seconds = slowed ? 20.0 : 2.0;
constexpr double planning_growth_kb = 512 * 1024;
// A plan may legitimately hold gigabytes: tables of a length the machine can hold, or one child
// per thread chunk of a large batch. Such descriptors are not planned, since they would only
// measure the machine; beyond the second bound no machine holds the plan and the planner must
// refuse it at once, so those are planned again.
constexpr double legitimate_plan_bytes = double{1 << 30};
constexpr double impossible_plan_bytes = 0x1p46;

enum class transform { c2c, r2c, c2r, r2r };
enum class family { basic, ranked, many, guru, guru64 };
enum class placement { out_of_place, in_place, shifted };
const char* const transform_names[] = {"c2c", "r2c", "c2r", "r2r"};
const char* const family_names[] = {"basic", "ranked", "many", "guru", "guru64"};
const char* const placement_names[] = {"out-of-place", "in-place", "shifted-alias"};

struct dim {
    int64_t n, is, os;
};

struct descriptor {
    transform kind = transform::c2c;
    family fam = family::guru;
    bool split = false;
    placement place = placement::out_of_place;
    int sign = -1;
    int rank = 1;
    std::vector<dim> dims; // as passed (guru) or as the many interface lays them out
    int howmany_rank = 0;
    std::vector<dim> batch; // likewise
    std::vector<int> kinds;
    // Arguments of the many (and basic) interfaces.
    std::vector<int> n;
    int howmany = 1, in_stride = 1, out_stride = 1, in_dist = 0, out_dist = 0;
    std::vector<int> in_embed, out_embed; // empty: null
    int threads = 1;
    bool new_arrays = false; // execute on other arrays than the planned ones
    int misalign = 0;        // reals between the allocation's guard and the first element
    int shift = 0;           // reals between input and output of a shifted alias
};

bool complex_input(const descriptor& d) {
    return d.kind == transform::c2c || d.kind == transform::c2r;
}
bool complex_output(const descriptor& d) {
    return d.kind == transform::c2c || d.kind == transform::r2c;
}
bool is_guru(const descriptor& d) {
    return d.fam == family::guru || d.fam == family::guru64;
}

// ---------------------------------------------------------------------------------------------
// Random descriptors.

struct rng {
    std::mt19937_64 engine;
    int64_t below(int64_t n) { return std::uniform_int_distribution<int64_t>(0, n - 1)(engine); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(engine) < p; }
    template <class T, size_t N> T pick(const T (&table)[N]) { return table[below(N)]; }
};

const int64_t small_lengths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 15, 16, 18, 20, 24, 32};
const int64_t prime_lengths[] = {11, 13, 17, 19, 23, 29, 31, 37, 61, 97, 101, 127, 257, 509, 1021};
const int64_t large_primes[] = {4099, 8191, 16411, 65537};
const int64_t composite_lengths[] = {22, 26, 34, 46, 62, 121, 143, 169, 202, 254, 1018, 2046};
const int64_t invalid_lengths[] = {0, -1, -6};
const int64_t huge_lengths[] = {46341, int64_t{1} << 22, (int64_t{1} << 30) + 3, 2147483646,
                                2147483647};
const int64_t huge64_lengths[] = {int64_t{1} << 32, (int64_t{1} << 33) + 1, int64_t{1} << 40,
                                  int64_t{1} << 62};
const int64_t batch_counts[] = {8, 16, 17, 64, 100};
const int thread_counts[] = {1, 1, 1, 1, 2, 2, 2, 3, 4, 8, 0, -1, 48, 64, 600};

int64_t random_length(rng& r, bool only_dimension, bool wide) {
    static const std::vector<uint64_t> smooth = qtx::test::smooth_lengths(1 << 17);
    const int64_t roll = r.below(100);
    if (roll < 3) return r.pick(invalid_lengths);
    if (roll < 6) return wide && r.chance(0.5) ? r.pick(huge64_lengths) : r.pick(huge_lengths);
    if (!only_dimension) return roll < 75 ? r.pick(small_lengths) : r.pick(prime_lengths) % 40;
    if (roll < 25) return r.pick(small_lengths);
    if (roll < 45) return r.pick(prime_lengths);
    if (roll < 52) return r.pick(large_primes);
    if (roll < 62) return r.pick(composite_lengths);
    return static_cast<int64_t>(smooth[r.below(static_cast<int64_t>(smooth.size()))]);
}

// Elements one row of a side occupies along the last transform dimension of a packed layout:
// real rows of an in-place real transform are padded to hold n/2 + 1 complex values.
int64_t packed_length(const descriptor& d, bool input, bool in_place, int64_t n) {
    const int64_t half = n / 2 + 1;
    if (d.kind == transform::r2c) return input ? (in_place ? 2 * half : n) : half;
    if (d.kind == transform::c2r) return input ? half : (in_place ? 2 * half : n);
    return n;
}

// The many interface's layout, as the engine's documentation derives it from its arguments.
void lay_out_many(descriptor& d) {
    d.dims.clear();
    d.batch.clear();
    if (d.rank < 1 || d.rank > static_cast<int>(d.n.size())) return;
    const bool in_place = d.place == placement::in_place;
    auto row = [&](const std::vector<int>& embed, bool input, int j) -> int64_t {
        if (!embed.empty()) return embed[j];
        return j == d.rank - 1 ? packed_length(d, input, in_place, d.n[j]) : d.n[j];
    };
    d.dims.resize(d.rank);
    d.dims[d.rank - 1] = {d.n[d.rank - 1], d.in_stride, d.out_stride};
    for (int j = d.rank - 2; j >= 0; --j)
        d.dims[j] = {d.n[j], d.dims[j + 1].is * row(d.in_embed, true, j + 1),
                     d.dims[j + 1].os * row(d.out_embed, false, j + 1)};
    d.howmany_rank = d.howmany == 1 ? 0 : 1;
    if (d.howmany != 1) d.batch = {{d.howmany, d.in_dist, d.out_dist}};
}

void random_many_arguments(rng& r, descriptor& d) {
    const int ranks[] = {-1, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 4, 5};
    d.rank = d.fam == family::basic ? 1 + static_cast<int>(r.below(3)) : r.pick(ranks);
    d.n.resize(std::max(d.rank, 1));
    for (int& len : d.n)
        len = static_cast<int>(random_length(r, d.rank == 1, false));
    if (d.fam != family::many) return; // the basic forms: one dense transform
    const int howmanys[] = {1, 1, 1, 2, 3, 4, 7, 16, 33, 64, 0, -1};
    const int strides[] = {1, 1, 1, 1, 2, 3, 0, -1};
    d.howmany = r.pick(howmanys);
    d.in_stride = r.pick(strides);
    d.out_stride = d.place == placement::in_place && r.chance(0.7) ? d.in_stride : r.pick(strides);
    const bool in_place = d.place == placement::in_place;
    for (auto* embed : {&d.in_embed, &d.out_embed}) {
        if (!r.chance(0.3)) continue;
        const bool input = embed == &d.in_embed;
        const int pads[] = {0, 0, 1, 3, -1};
        for (int j = 0; j < d.rank; ++j) {
            const int64_t len =
                j == d.rank - 1 ? packed_length(d, input, in_place, d.n[j]) : d.n[j];
            embed->push_back(j == 0 ? r.pick(pads) * 100 : static_cast<int>(len) + r.pick(pads));
        }
    }
    lay_out_many(d);
    if (d.howmany == 1 || d.dims.empty()) return;
    // Distances: the next transform after the last element, interleaved, padded or invalid.
    auto natural = [&](bool input) {
        const dim& outer = d.dims[0];
        const int64_t stride = input ? outer.is : outer.os;
        return static_cast<int>(std::clamp<int64_t>(stride * outer.n, -(1 << 30), 1 << 30));
    };
    const int64_t roll = r.below(20);
    d.in_dist = natural(true), d.out_dist = natural(false);
    if (roll < 3)
        d.in_dist += 1, d.out_dist += 5;
    else if (roll < 6)
        d.in_dist = d.out_dist = 1, d.in_stride = d.out_stride = d.howmany;
    else if (roll < 7)
        d.in_dist = 0;
    else if (roll < 8)
        d.out_dist = -d.out_dist;
    else if (roll < 9)
        d.out_dist /= 2;
    lay_out_many(d);
}

// Strides of a packed layout over lengths in a random order, with an element step and padding.
std::vector<int64_t> packed_strides(rng& r, const std::vector<int64_t>& lengths,
                                    const std::vector<int>& order, int64_t step, int64_t pad) {
    std::vector<int64_t> strides(lengths.size());
    int64_t next = step;
    for (size_t k = order.size(); k-- > 0;) {
        strides[order[k]] = next;
        const i128 grown = static_cast<i128>(next) * std::max<int64_t>(lengths[order[k]], 1) +
                           (r.chance(0.3) ? pad * step : 0);
        next = static_cast<int64_t>(std::min<i128>(grown, int64_t{1} << 40));
    }
    return strides;
}

void random_guru_dimensions(rng& r, descriptor& d) {
    const int ranks[] = {-1, 0, 1, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 4, 5};
    const int batch_ranks[] = {0, 0, 0, 1, 1, 1, 1, 2, 2, 3, -1, 4};
    d.rank = r.pick(ranks);
    d.howmany_rank = r.pick(batch_ranks);
    const bool wide = d.fam == family::guru64;
    const int transforms = std::max(d.rank, 0), batches = std::max(d.howmany_rank, 0);
    std::vector<int64_t> counts;
    for (int j = 0; j < transforms; ++j)
        counts.push_back(random_length(r, d.rank == 1, wide));
    for (int j = 0; j < batches; ++j)
        counts.push_back(r.chance(0.03)  ? r.pick(invalid_lengths)
                         : r.chance(0.2) ? r.pick(batch_counts)
                                         : 1 + r.below(5));
    // Transform axes innermost by default; sometimes permuted, batch interleaved.
    std::vector<int> order(counts.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<int>((k + batches) % order.size());
    if (r.chance(0.25)) std::shuffle(order.begin(), order.end(), r.engine);
    const bool in_place = d.place == placement::in_place;
    auto side = [&](bool input) {
        std::vector<int64_t> lengths(counts);
        if (transforms > 0)
            lengths[transforms - 1] = packed_length(d, input, in_place, counts[transforms - 1]);
        const int64_t steps[] = {1, 1, 1, 1, 2, 3};
        return packed_strides(r, lengths, order, r.pick(steps), r.below(4));
    };
    std::vector<int64_t> in = side(true), out = side(false);
    if (in_place && d.kind != transform::r2c && d.kind != transform::c2r && r.chance(0.7)) out = in;
    std::vector<int64_t>* sides[] = {&in, &out};
    if (!counts.empty() && r.chance(0.15)) { // invalid, overlapping or absurd strides
        auto& s = *sides[r.below(2)];
        int64_t& stride = s[r.below(static_cast<int64_t>(s.size()))];
        const int64_t roll = r.below(4);
        stride = roll == 0   ? -stride
                 : roll == 1 ? 0
                 : roll == 2 ? stride / 2
                             : (wide ? int64_t{1} << 45 : 1 << 30);
    }
    for (int j = 0; j < transforms + batches; ++j)
        (j < transforms ? d.dims : d.batch).push_back({counts[j], in[j], out[j]});
    for (auto& dm : d.dims) // the int interface takes what fits
        if (!wide) dm.is = static_cast<int>(dm.is), dm.os = static_cast<int>(dm.os);
    for (auto& dm : d.batch)
        if (!wide) dm.is = static_cast<int>(dm.is), dm.os = static_cast<int>(dm.os);
}

descriptor random_descriptor(uint64_t seed, uint64_t index) {
    rng r{std::mt19937_64(seed * 0x9E3779B97F4A7C15ull + index)};
    descriptor d;
    d.kind = static_cast<transform>(r.below(4));
    d.fam = static_cast<family>(r.below(5));
    d.split = is_guru(d) && d.kind != transform::r2r && r.chance(0.3);
    const int64_t roll = r.below(20);
    d.place = roll < 12   ? placement::out_of_place
              : roll < 19 ? placement::in_place
                          : placement::shifted;
    d.sign = r.chance(0.95) ? (r.chance(0.5) ? -1 : 1) : (r.chance(0.5) ? 0 : 2);
    d.threads = r.pick(thread_counts);
    d.new_arrays = r.chance(0.35);
    d.misalign = static_cast<int>(r.below(2));
    d.shift = static_cast<int>(r.below(9)) - 3 + (r.chance(0.5) ? 0 : 1);
    if (d.shift == 0) d.shift = 1;
    if (is_guru(d))
        random_guru_dimensions(r, d);
    else
        random_many_arguments(r, d), lay_out_many(d);
    const int kinds[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9,  10, 0,
                         1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, -1};
    for (int j = 0; j < std::max(d.rank, 3); ++j)
        d.kinds.push_back(r.pick(kinds));
    return d;
}

std::string describe_dims(const std::vector<dim>& dims) {
    std::string s = "{";
    for (const dim& x : dims)
        s += " [n " + std::to_string(x.n) + " is " + std::to_string(x.is) + " os " +
             std::to_string(x.os) + "]";
    return s + " }";
}

std::string describe_ints(const std::vector<int>& v) {
    if (v.empty()) return "null";
    std::string s = "{";
    for (int x : v)
        s.append(" ").append(std::to_string(x));
    return s + " }";
}

std::string describe(const descriptor& d) {
    std::string s = std::string(transform_names[int(d.kind)]) + (d.split ? " split" : "") +
                    " via " + family_names[int(d.fam)] + ", " + placement_names[int(d.place)];
    if (d.place == placement::shifted) s += " by " + std::to_string(d.shift) + " reals";
    if (d.kind == transform::c2c) s += ", sign " + std::to_string(d.sign);
    if (d.kind == transform::r2r) s += ", kinds " + describe_ints(d.kinds);
    s += ", threads " + std::to_string(d.threads) + ", rank " + std::to_string(d.rank);
    if (!is_guru(d))
        s += ", n " + describe_ints(d.n) + ", howmany " + std::to_string(d.howmany) +
             ", in_embed " + describe_ints(d.in_embed) + " stride " + std::to_string(d.in_stride) +
             " dist " + std::to_string(d.in_dist) + ", out_embed " + describe_ints(d.out_embed) +
             " stride " + std::to_string(d.out_stride) + " dist " + std::to_string(d.out_dist);
    s += "\n  dims " + describe_dims(d.dims) + ", howmany_rank " + std::to_string(d.howmany_rank) +
         " batch " + describe_dims(d.batch);
    s += ", planned arrays misaligned by " + std::to_string(d.misalign) + " reals, executed on ";
    return s + (d.new_arrays ? "new arrays misaligned by " + std::to_string(1 - d.misalign)
                             : std::string("the planned arrays"));
}

// ---------------------------------------------------------------------------------------------
// The problem a descriptor states: the elements each side reaches and what FFTW makes of it.

struct axis {
    int64_t n, stride;
};

struct problem {
    std::vector<axis> in, out;  // transform axes (each side's element counts), then batch axes
    bool defined = true;        // FFTW gives it a meaning (and so must a plan that accepts it)
    bool values_defined = true; // an accepted plan's values are documented
    bool overflows = false;     // an extent or the element count exceeds 64 bits
    i128 work = 1;
};

bool r2r_length_defined(int kind, int64_t n) {
    return !(kind == FFTW_REDFT00 && n == 1);
}

problem state_problem(const descriptor& d) {
    problem p;
    const int min_rank =
        is_guru(d) && (d.kind == transform::c2c || d.kind == transform::r2r) ? 0 : 1;
    p.defined = d.rank >= min_rank && d.rank <= 5 && d.howmany_rank >= 0 && d.howmany_rank <= 4 &&
                static_cast<int>(d.dims.size()) == d.rank;
    if (d.kind == transform::c2c && d.sign != -1 && d.sign != 1) {
        if (is_guru(d) && !d.split)
            p.values_defined = false;
        else if (!d.split)
            p.defined = false;
    }
    for (size_t j = 0; j < d.dims.size(); ++j) {
        const int64_t n = d.dims[j].n;
        const bool last = j + 1 == d.dims.size();
        const bool real_half = last && (d.kind == transform::r2c || d.kind == transform::c2r);
        const int64_t complex_count = real_half ? n / 2 + 1 : n;
        p.in.push_back({d.kind == transform::c2r ? complex_count : n, d.dims[j].is});
        p.out.push_back({d.kind == transform::r2c ? complex_count : n, d.dims[j].os});
        if (d.kind == transform::r2r &&
            (d.kinds[j] < 0 || d.kinds[j] > 10 || !r2r_length_defined(d.kinds[j], n)))
            p.defined = false;
    }
    for (const dim& b : d.batch)
        p.in.push_back({b.n, b.is}), p.out.push_back({b.n, b.os});
    for (const dim& x : d.dims)
        p.defined = p.defined && x.n >= 1;
    for (const dim& x : d.batch)
        p.defined = p.defined && x.n >= 1;
    // An extent overflows when its bytes do: a stride counts elements of the side's type, a
    // complex value interleaved or one real of a split or real array.
    for (const bool input : {true, false}) {
        i128 reach = 0;
        for (const axis& a : input ? p.in : p.out)
            reach += static_cast<i128>(std::max<int64_t>(a.n - 1, 0)) *
                     (a.stride < 0 ? -static_cast<i128>(a.stride) : a.stride);
        const bool complex_values = input ? complex_input(d) : complex_output(d);
        const int reals = complex_values && !d.split ? 2 : 1;
        if (reach * reals * static_cast<i128>(sizeof(real)) > std::numeric_limits<int64_t>::max())
            p.overflows = true;
    }
    for (const axis& a : p.in)
        p.work = std::min<i128>(p.work * std::max<int64_t>(a.n, 1), i128{1} << 64);
    if (p.work > std::numeric_limits<int64_t>::max()) p.overflows = true;
    return p;
}

template <class F> void for_each_offset(const std::vector<axis>& axes, F&& visit) {
    for (const axis& a : axes)
        if (a.n < 1) return;
    std::vector<int64_t> index(axes.size(), 0);
    int64_t offset = 0;
    for (;;) {
        visit(offset);
        size_t k = axes.size();
        for (; k-- > 0;) {
            if (++index[k] < axes[k].n) {
                offset += axes[k].stride;
                break;
            }
            offset -= (axes[k].n - 1) * axes[k].stride;
            index[k] = 0;
        }
        if (k == static_cast<size_t>(-1)) return;
    }
}

// ---------------------------------------------------------------------------------------------
// Arrays: every side is one real or interleaved plane, or two split planes; planes live in
// buffers, an in-place output in the input's buffers.

struct plane {
    int buffer;
    int64_t shift; // reals from the buffer's anchor to this plane's element 0
    int width;     // reals per element: 2 for interleaved complex
};

struct array_layout {
    std::vector<plane> in, out;
    std::vector<int64_t> size, anchor; // per buffer, in reals
};

std::vector<plane> side_planes(bool complex, bool split, int& next_buffer) {
    if (!complex) return {{next_buffer++, 0, 1}};
    if (!split) return {{next_buffer++, 0, 2}};
    const int first = next_buffer;
    next_buffer += 2;
    return {{first, 0, 1}, {first + 1, 0, 1}};
}

// Reals of component `part` of the element at offset e, relative to the buffer's anchor.
int64_t real_index(const std::vector<plane>& planes, int part, int64_t e, const plane*& where) {
    where = &planes[planes.size() == 2 ? part : 0];
    return where->shift + e * where->width + (planes.size() == 2 ? 0 : part);
}

array_layout lay_out_arrays(const descriptor& d, const problem& p, int misalign) {
    array_layout a;
    int buffers = 0;
    a.in = side_planes(complex_input(d), d.split, buffers);
    a.out = side_planes(complex_output(d), d.split, buffers);
    if (d.place != placement::out_of_place) {
        buffers = static_cast<int>(a.in.size());
        for (size_t k = 0; k < a.out.size(); ++k) {
            if (k < a.in.size())
                a.out[k].buffer = a.in[k].buffer;
            else
                a.out[k].buffer = buffers++;
            if (d.place == placement::shifted) a.out[k].shift = d.shift;
        }
    }
    std::vector<int64_t> lo(buffers, 0), hi(buffers, 0);
    for (auto [planes, axes] : {std::pair{&a.in, &p.in}, std::pair{&a.out, &p.out}}) {
        int64_t first = 0, last = 0;
        for (const axis& x : *axes)
            (x.stride < 0 ? first : last) += (x.n - 1) * x.stride;
        for (const plane& pl : *planes) {
            lo[pl.buffer] = std::min(lo[pl.buffer], pl.shift + first * pl.width);
            hi[pl.buffer] = std::max(hi[pl.buffer], pl.shift + last * pl.width + pl.width - 1);
        }
    }
    for (int b = 0; b < buffers; ++b) {
        a.anchor.push_back(guard_reals + misalign - lo[b]);
        a.size.push_back(guard_reals + misalign + hi[b] - lo[b] + 1 + guard_reals);
    }
    return a;
}

template <class T> struct buffer_set {
    std::vector<std::vector<T>> data;
    const array_layout* layout;
    buffer_set(const array_layout& a) : layout(&a) {
        for (int64_t s : a.size)
            data.emplace_back(static_cast<size_t>(s), T(0));
    }
    T* at(const plane& p) { return data[p.buffer].data() + layout->anchor[p.buffer] + p.shift; }
    T& element(const std::vector<plane>& planes, int part, int64_t e) {
        const plane* where;
        const int64_t i = real_index(planes, part, e, where);
        return data[where->buffer][static_cast<size_t>(layout->anchor[where->buffer] + i)];
    }
};

// ---------------------------------------------------------------------------------------------
// Planning and execution through the engine's public interface.

template <class Dim> struct guru_interface {
    plan_handle (*dft)(int, const Dim*, int, const Dim*, complex_value*, complex_value*, int,
                       unsigned);
    plan_handle (*split_dft)(int, const Dim*, int, const Dim*, real*, real*, real*, real*,
                             unsigned);
    plan_handle (*r2c)(int, const Dim*, int, const Dim*, real*, complex_value*, unsigned);
    plan_handle (*split_r2c)(int, const Dim*, int, const Dim*, real*, real*, real*, unsigned);
    plan_handle (*c2r)(int, const Dim*, int, const Dim*, complex_value*, real*, unsigned);
    plan_handle (*split_c2r)(int, const Dim*, int, const Dim*, real*, real*, real*, unsigned);
    plan_handle (*r2r)(int, const Dim*, int, const Dim*, real*, real*, const int*, unsigned);
};
constexpr guru_interface<guru_dim> guru32 = {
    QTX_PUBLIC(plan_guru_dft),     QTX_PUBLIC(plan_guru_split_dft),
    QTX_PUBLIC(plan_guru_dft_r2c), QTX_PUBLIC(plan_guru_split_dft_r2c),
    QTX_PUBLIC(plan_guru_dft_c2r), QTX_PUBLIC(plan_guru_split_dft_c2r),
    QTX_PUBLIC(plan_guru_r2r)};
constexpr guru_interface<guru_dim64> guru64 = {
    QTX_PUBLIC(plan_guru64_dft),     QTX_PUBLIC(plan_guru64_split_dft),
    QTX_PUBLIC(plan_guru64_dft_r2c), QTX_PUBLIC(plan_guru64_split_dft_r2c),
    QTX_PUBLIC(plan_guru64_dft_c2r), QTX_PUBLIC(plan_guru64_split_dft_c2r),
    QTX_PUBLIC(plan_guru64_r2r)};

// The planes of one side as engine pointers.
struct side_pointers {
    real* p[2];
    complex_value* c() const { return reinterpret_cast<complex_value*>(p[0]); }
};

template <class Dim>
plan_handle plan_guru(const guru_interface<Dim>& g, const descriptor& d, side_pointers i,
                      side_pointers o) {
    auto convert = [](const std::vector<dim>& v) {
        std::vector<Dim> out;
        for (const dim& x : v)
            out.push_back({static_cast<decltype(Dim::n)>(x.n), static_cast<decltype(Dim::n)>(x.is),
                           static_cast<decltype(Dim::n)>(x.os)});
        return out;
    };
    const std::vector<Dim> dims = convert(d.dims), batch = convert(d.batch);
    const Dim* dp = dims.data();
    const Dim* bp = batch.data();
    const int r = d.rank, h = d.howmany_rank;
    switch (d.kind) {
    case transform::c2c:
        return d.split ? g.split_dft(r, dp, h, bp, i.p[0], i.p[1], o.p[0], o.p[1], 0)
                       : g.dft(r, dp, h, bp, i.c(), o.c(), d.sign, 0);
    case transform::r2c:
        return d.split ? g.split_r2c(r, dp, h, bp, i.p[0], o.p[0], o.p[1], 0)
                       : g.r2c(r, dp, h, bp, i.p[0], o.c(), 0);
    case transform::c2r:
        return d.split ? g.split_c2r(r, dp, h, bp, i.p[0], i.p[1], o.p[0], 0)
                       : g.c2r(r, dp, h, bp, i.c(), o.p[0], 0);
    case transform::r2r:
        return g.r2r(r, dp, h, bp, i.p[0], o.p[0], d.kinds.data(), 0);
    }
    return nullptr;
}

plan_handle plan_many(const descriptor& d, side_pointers i, side_pointers o) {
    const int* n = d.n.data();
    const int* ie = d.in_embed.empty() ? nullptr : d.in_embed.data();
    const int* oe = d.out_embed.empty() ? nullptr : d.out_embed.data();
    const int r = d.rank, hm = d.howmany, is = d.in_stride, os = d.out_stride;
    const int id = d.in_dist, od = d.out_dist;
    const int* k = d.kinds.data();
    switch (d.kind) {
    case transform::c2c:
        if (d.fam == family::basic && r == 1)
            return QTX_PUBLIC(plan_dft_1d)(n[0], i.c(), o.c(), d.sign, 0);
        if (d.fam == family::basic && r == 2)
            return QTX_PUBLIC(plan_dft_2d)(n[0], n[1], i.c(), o.c(), d.sign, 0);
        if (d.fam == family::basic)
            return QTX_PUBLIC(plan_dft_3d)(n[0], n[1], n[2], i.c(), o.c(), d.sign, 0);
        if (d.fam == family::ranked) return QTX_PUBLIC(plan_dft)(r, n, i.c(), o.c(), d.sign, 0);
        return QTX_PUBLIC(plan_many_dft)(r, n, hm, i.c(), ie, is, id, o.c(), oe, os, od, d.sign, 0);
    case transform::r2c:
        if (d.fam == family::basic && r == 1)
            return QTX_PUBLIC(plan_dft_r2c_1d)(n[0], i.p[0], o.c(), 0);
        if (d.fam == family::basic && r == 2)
            return QTX_PUBLIC(plan_dft_r2c_2d)(n[0], n[1], i.p[0], o.c(), 0);
        if (d.fam == family::basic)
            return QTX_PUBLIC(plan_dft_r2c_3d)(n[0], n[1], n[2], i.p[0], o.c(), 0);
        if (d.fam == family::ranked) return QTX_PUBLIC(plan_dft_r2c)(r, n, i.p[0], o.c(), 0);
        return QTX_PUBLIC(plan_many_dft_r2c)(r, n, hm, i.p[0], ie, is, id, o.c(), oe, os, od, 0);
    case transform::c2r:
        if (d.fam == family::basic && r == 1)
            return QTX_PUBLIC(plan_dft_c2r_1d)(n[0], i.c(), o.p[0], 0);
        if (d.fam == family::basic && r == 2)
            return QTX_PUBLIC(plan_dft_c2r_2d)(n[0], n[1], i.c(), o.p[0], 0);
        if (d.fam == family::basic)
            return QTX_PUBLIC(plan_dft_c2r_3d)(n[0], n[1], n[2], i.c(), o.p[0], 0);
        if (d.fam == family::ranked) return QTX_PUBLIC(plan_dft_c2r)(r, n, i.c(), o.p[0], 0);
        return QTX_PUBLIC(plan_many_dft_c2r)(r, n, hm, i.c(), ie, is, id, o.p[0], oe, os, od, 0);
    case transform::r2r:
        if (d.fam == family::basic && r == 1)
            return QTX_PUBLIC(plan_r2r_1d)(n[0], i.p[0], o.p[0], k[0], 0);
        if (d.fam == family::basic && r == 2)
            return QTX_PUBLIC(plan_r2r_2d)(n[0], n[1], i.p[0], o.p[0], k[0], k[1], 0);
        if (d.fam == family::basic)
            return QTX_PUBLIC(plan_r2r_3d)(n[0], n[1], n[2], i.p[0], o.p[0], k[0], k[1], k[2], 0);
        if (d.fam == family::ranked) return QTX_PUBLIC(plan_r2r)(r, n, i.p[0], o.p[0], k, 0);
        return QTX_PUBLIC(plan_many_r2r)(r, n, hm, i.p[0], ie, is, id, o.p[0], oe, os, od, k, 0);
    }
    return nullptr;
}

side_pointers pointers(buffer_set<real>& b, const std::vector<plane>& planes) {
    return {{b.at(planes[0]), planes.size() == 2 ? b.at(planes[1]) : b.at(planes[0]) + 1}};
}

plan_handle make_plan(const descriptor& d, buffer_set<real>& b) {
    const side_pointers i = pointers(b, b.layout->in), o = pointers(b, b.layout->out);
    if (d.fam == family::guru) return plan_guru(guru32, d, i, o);
    if (d.fam == family::guru64) return plan_guru(guru64, d, i, o);
    return plan_many(d, i, o);
}

void execute_on(plan_handle plan, const descriptor& d, buffer_set<real>& b) {
    const side_pointers i = pointers(b, b.layout->in), o = pointers(b, b.layout->out);
    switch (d.kind) {
    case transform::c2c:
        return d.split ? QTX_PUBLIC(execute_split_dft)(plan, i.p[0], i.p[1], o.p[0], o.p[1])
                       : QTX_PUBLIC(execute_dft)(plan, i.c(), o.c());
    case transform::r2c:
        return d.split ? QTX_PUBLIC(execute_split_dft_r2c)(plan, i.p[0], o.p[0], o.p[1])
                       : QTX_PUBLIC(execute_dft_r2c)(plan, i.p[0], o.c());
    case transform::c2r:
        return d.split ? QTX_PUBLIC(execute_split_dft_c2r)(plan, i.p[0], i.p[1], o.p[0])
                       : QTX_PUBLIC(execute_dft_c2r)(plan, i.c(), o.p[0]);
    case transform::r2r:
        return QTX_PUBLIC(execute_r2r)(plan, i.p[0], o.p[0]);
    }
}

// ---------------------------------------------------------------------------------------------
// The long-double reference, through FFTW's split interfaces so that interleaved and split
// planes are one case (interleaved: imaginary part one real after the real part).

std::vector<fftwl_iodim64> reference_dims(const std::vector<dim>& dims, int in_width,
                                          int out_width) {
    std::vector<fftwl_iodim64> out;
    for (const dim& x : dims)
        out.push_back({x.n, x.is * in_width, x.os * out_width});
    return out;
}

struct reference_side {
    ld* p[2];
};

reference_side reference_pointers(buffer_set<ld>& b, const std::vector<plane>& planes) {
    return {{b.at(planes[0]), planes.size() == 2 ? b.at(planes[1]) : b.at(planes[0]) + 1}};
}

// Plans FFTW for the descriptor's transform from `in` to `out`; null when FFTW has none.
fftwl_plan reference_plan(const descriptor& d, reference_side in, reference_side out, int in_width,
                          int out_width) {
    const auto dims = reference_dims(d.dims, in_width, out_width);
    const auto batch = reference_dims(d.batch, in_width, out_width);
    const int r = static_cast<int>(dims.size()), h = static_cast<int>(batch.size());
    const int sign = d.split ? -1 : d.sign;
    switch (d.kind) {
    case transform::c2c:
        return sign < 0 ? fftwl_plan_guru64_split_dft(r, dims.data(), h, batch.data(), in.p[0],
                                                      in.p[1], out.p[0], out.p[1], FFTW_ESTIMATE)
                        : fftwl_plan_guru64_split_dft(r, dims.data(), h, batch.data(), in.p[1],
                                                      in.p[0], out.p[1], out.p[0], FFTW_ESTIMATE);
    case transform::r2c:
        return fftwl_plan_guru64_split_dft_r2c(r, dims.data(), h, batch.data(), in.p[0], out.p[0],
                                               out.p[1], FFTW_ESTIMATE);
    case transform::c2r:
        return fftwl_plan_guru64_split_dft_c2r(r, dims.data(), h, batch.data(), in.p[0], in.p[1],
                                               out.p[0], FFTW_ESTIMATE);
    case transform::r2r: {
        std::vector<fftwl_r2r_kind> kinds;
        for (size_t j = 0; j < d.dims.size(); ++j) // kinds past the rank may be invalid
            kinds.push_back(static_cast<fftwl_r2r_kind>(d.kinds[j]));
        return fftwl_plan_guru64_r2r(r, dims.data(), h, batch.data(), in.p[0], out.p[0],
                                     kinds.data(), FFTW_ESTIMATE);
    }
    }
    return nullptr;
}

// A Hermitian-consistent c2r input: the r2c transform of random reals, written by FFTW straight
// into the input planes.
void fill_hermitian(const descriptor& d, buffer_set<ld>& in) {
    descriptor packed = d;
    packed.kind = transform::r2c;
    int64_t reals = 1; // packed row-major, batch outermost
    std::vector<dim*> all;
    for (auto& x : packed.batch)
        all.push_back(&x);
    for (auto& x : packed.dims)
        all.push_back(&x);
    for (size_t k = all.size(); k-- > 0;)
        all[k]->os = all[k]->is, all[k]->is = reals, reals *= all[k]->n;
    std::vector<ld> x(static_cast<size_t>(reals));
    std::mt19937 g(7);
    for (ld& v : x)
        v = std::uniform_real_distribution<double>(-1, 1)(g);
    const int width = d.split ? 1 : 2;
    reference_side src{{x.data(), x.data()}};
    fftwl_plan plan = reference_plan(packed, src, reference_pointers(in, in.layout->in), 1, width);
    if (plan == nullptr) return;
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);
}

// ---------------------------------------------------------------------------------------------
// One descriptor: plan, run, check.

struct verdict {
    enum { refused, correct, guards_only, planned_only, unplanned, wrong } outcome;
    std::string failure; // the class of a wrong outcome
    std::string detail;
};

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long max_rss_kb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

bool same_bits(const std::vector<real>& a, const std::vector<real>& b) {
    return std::memcmp(a.data(), b.data(), a.size() * sizeof(real)) == 0;
}

std::string first_change(const std::vector<std::vector<real>>& before,
                         const buffer_set<real>& after,
                         const std::vector<std::vector<uint8_t>>* writable) {
    for (size_t b = 0; b < before.size(); ++b)
        for (size_t i = 0; i < before[b].size(); ++i)
            if (std::memcmp(&before[b][i], &after.data[b][i], sizeof(real)) != 0 &&
                (writable == nullptr || !(*writable)[b][i]))
                return "buffer " + std::to_string(b) + " real " +
                       std::to_string(static_cast<int64_t>(i) - after.layout->anchor[b]) +
                       " from the anchor (size " + std::to_string(before[b].size()) + ")";
    return "";
}

// Bytes a plan may hold: the tables and buffers of one transform, once per thread chunk.
double plan_bytes(const descriptor& d) {
    double transform = 2.0 * sizeof(real), batch = 1;
    for (const dim& x : d.dims)
        transform *= static_cast<double>(std::max<int64_t>(x.n, 1));
    for (const dim& b : d.batch)
        batch *= static_cast<double>(std::max<int64_t>(b.n, 1));
    const double threads = d.threads < 0 ? 512 : std::min(d.threads, 512);
    return transform * std::clamp(std::min(threads, batch), 1.0, 512.0);
}

// Planning time and memory grow with the values the plan holds tables for: one transform's,
// once per thread chunk, since every chunk plans its own child.
double planning_allowance(const descriptor& d) {
    return std::min(plan_bytes(d) / (2 * sizeof(real)), 1e12) / (1 << 20);
}

verdict run_descriptor(const descriptor& d) {
    const double bytes = plan_bytes(d);
    if (bytes > legitimate_plan_bytes && bytes < impossible_plan_bytes)
        return {verdict::unplanned, "", ""};
    const problem p = state_problem(d);
    const bool runnable = p.defined && !p.overflows && p.work <= max_work;
    array_layout planned_layout, layout; // new arrays differ in alignment from the planned ones
    if (runnable)
        planned_layout = lay_out_arrays(d, p, d.misalign),
        layout = lay_out_arrays(d, p, d.new_arrays ? 1 - d.misalign : d.misalign);
    const bool small = runnable && std::all_of(layout.size.begin(), layout.size.end(),
                                               [](int64_t s) { return s <= max_buffer_reals; });
    if (!small) { // one dummy array per plane; the planner must not touch them
        planned_layout = array_layout{};
        int buffers = 0;
        planned_layout.in = side_planes(complex_input(d), d.split, buffers);
        planned_layout.out = side_planes(complex_output(d), d.split, buffers);
        if (d.place == placement::in_place) planned_layout.out = planned_layout.in;
        planned_layout.size.assign(buffers, 4);
        planned_layout.anchor.assign(buffers, 0);
    }
    buffer_set<real> planned(planned_layout);
    std::mt19937 g(11);
    for (auto& buf : planned.data)
        for (real& v : buf)
            v = static_cast<real>(std::uniform_real_distribution<double>(-1, 1)(g));
    const auto planned_before = planned.data;

    QTX_PUBLIC(plan_with_nthreads)(d.threads);
    const long rss_before = max_rss_kb();
    const auto start = std::chrono::steady_clock::now();
    const plan_handle plan = make_plan(d, planned);
    const double planning = seconds_since(start);
    const long growth = max_rss_kb() - rss_before;
    QTX_PUBLIC(plan_with_nthreads)(1);
    struct destroyer {
        plan_handle p;
        ~destroyer() { QTX_PUBLIC(destroy_plan)(p); }
    } owner{plan};
    auto wrong = [](std::string failure, std::string detail) {
        return verdict{verdict::wrong, std::move(failure), std::move(detail)};
    };
    const double allowance = planning_allowance(d);
    if (planning > planning_seconds * (1 + allowance))
        return wrong("slow planning", std::to_string(planning) + " s");
    if (growth > planning_growth_kb + allowance * 16 * 4096 * sizeof(real))
        return wrong("planning memory", std::to_string(growth / 1024) + " MB resident");
    const std::string touched = first_change(planned_before, planned, nullptr);
    if (!touched.empty()) return wrong("planning touched the arrays", touched);
    if (plan == nullptr) return {verdict::refused, "", ""};
    if (!p.defined) return wrong("accepted an undefined descriptor", "");
    if (p.overflows) return wrong("accepted an overflowing descriptor", "");
    if (!small) return {verdict::planned_only, "", ""};

    // The arrays run on, their long-double copies and the reference output.
    buffer_set<real> run_arrays(layout);
    buffer_set<real>& arrays = d.new_arrays ? run_arrays : planned;
    for (auto& buf : arrays.data)
        for (real& v : buf)
            v = static_cast<real>(std::uniform_real_distribution<double>(-1, 1)(g));
    buffer_set<ld> ref_in(layout), ref_out(layout);
    for (size_t b = 0; b < arrays.data.size(); ++b)
        std::copy(arrays.data[b].begin(), arrays.data[b].end(), ref_in.data[b].begin());
    if (d.kind == transform::c2r) {
        fill_hermitian(d, ref_in);
        for (size_t b = 0; b < arrays.data.size(); ++b)
            for (size_t i = 0; i < arrays.data[b].size(); ++i)
                ref_in.data[b][i] = arrays.data[b][i] = static_cast<real>(ref_in.data[b][i]);
    }
    const auto before = arrays.data;

    // Which reals the plan may write, and which outputs coincide.
    std::vector<std::vector<uint8_t>> writable, hits;
    for (int64_t s : layout.size)
        writable.emplace_back(s, 0), hits.emplace_back(s, 0);
    auto mark = [&](const std::vector<plane>& planes, const std::vector<axis>& axes, bool count) {
        const int parts = planes.size() == 2 || planes[0].width == 2 ? 2 : 1;
        for_each_offset(axes, [&](int64_t e) {
            for (int part = 0; part < parts; ++part) {
                const plane* where;
                const int64_t i = real_index(planes, part, e, where) + layout.anchor[where->buffer];
                writable[where->buffer][i] = 1;
                if (count && hits[where->buffer][i] < 255) ++hits[where->buffer][i];
            }
        });
    };
    mark(layout.out, p.out, true);
    if (d.place != placement::out_of_place) mark(layout.in, p.in, false);
    if (d.kind == transform::c2r && d.rank >= 2 && d.dims.back().os == 1 &&
        d.place == placement::in_place) {
        // In place, the complex intermediate of a multi-dimensional c2r may use each output
        // row's padding: the padded rows belong to the transform.
        std::vector<axis> rows(p.out);
        const int64_t n = d.dims.back().n, pad = (n / 2 + 1) * 2 - n;
        rows[d.rank - 1] = {pad, 1};
        for_each_offset(rows, [&](int64_t e) {
            const int64_t i = layout.anchor[layout.out[0].buffer] + layout.out[0].shift + e + n;
            if (i >= 0 && i < layout.size[layout.out[0].buffer])
                writable[layout.out[0].buffer][i] = 1;
        });
    }

    const int in_width = layout.in[0].width, out_width = layout.out[0].width;
    fftwl_plan reference =
        reference_plan(d, reference_pointers(ref_in, layout.in),
                       reference_pointers(ref_out, layout.out), in_width, out_width);
    if (reference == nullptr) return wrong("accepted what FFTW cannot plan", "");
    fftwl_execute(reference);
    fftwl_destroy_plan(reference);

    for (int repeat = 0; repeat < (d.place == placement::out_of_place ? 2 : 1); ++repeat)
        d.new_arrays ? execute_on(plan, d, arrays) : QTX_PUBLIC(execute)(plan);

    const std::string stray = first_change(before, arrays, &writable);
    if (!stray.empty()) return wrong("wrote outside its output", stray);
    if (d.new_arrays) {
        const std::string moved = first_change(planned_before, planned, nullptr);
        if (!moved.empty()) return wrong("new-array execution touched the planned arrays", moved);
    }
    if (d.place == placement::out_of_place) {
        for (const plane& pl : layout.in)
            if (!same_bits(before[pl.buffer], arrays.data[pl.buffer]))
                return wrong("changed its out-of-place input", "");
    }
    if (d.place == placement::shifted || !p.values_defined) return {verdict::guards_only, "", ""};
    bool coincide = false;
    for (auto& h : hits)
        coincide = coincide || std::any_of(h.begin(), h.end(), [](uint8_t c) { return c > 1; });
    if (d.kind == transform::c2r) { // so may c2r inputs, which breaks the Hermitian input
        for (auto& h : hits)
            std::fill(h.begin(), h.end(), 0);
        mark(layout.in, p.in, true);
        for (auto& h : hits)
            coincide = coincide || std::any_of(h.begin(), h.end(), [](uint8_t c) { return c > 1; });
    }
    if (coincide) return {verdict::guards_only, "", ""};

    ld error = 0, norm = 0;
    const int parts = complex_output(d) ? 2 : 1;
    for_each_offset(p.out, [&](int64_t e) {
        for (int part = 0; part < parts; ++part) {
            const ld want = ref_out.element(layout.out, part, e);
            const ld got = arrays.element(layout.out, part, e);
            error += (got - want) * (got - want) * (std::isfinite(got) ? 1 : 1e30L);
            norm += want * want;
        }
    });
    const double relative = static_cast<double>(std::sqrt(norm > 0 ? error / norm : error));
    int64_t length = 1;
    for (const dim& x : d.dims)
        length *= x.n;
    const double bound =
        qtx::test::transform_error_bound<real>(static_cast<size_t>(4 * length), 6.0);
    if (!(relative <= bound))
        return wrong("wrong values", "relative rms error " + std::to_string(relative) + ", bound " +
                                         std::to_string(bound));
    return {verdict::correct, "", ""};
}

// ---------------------------------------------------------------------------------------------
// Driver.

const char* program = "";
uint64_t current_seed = 0, current_index = 0;

void report(const char* what) {
    char text[200];
    const int n =
        std::snprintf(text, sizeof text, "\n%s on descriptor: %s --seed %llu --replay %llu\n", what,
                      program, static_cast<unsigned long long>(current_seed),
                      static_cast<unsigned long long>(current_index));
    if (write(2, text, static_cast<size_t>(n)) < 0) return;
}

[[maybe_unused]] void report_crash() {
    report("crashed");
}

extern "C" void on_signal(int signal) {
    report(signal == SIGALRM ? "timed out (planning or execution hangs)" : "crashed");
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

struct tally {
    uint64_t run = 0;
    uint64_t outcomes[verdict::wrong + 1] = {};
    std::map<std::string, std::pair<uint64_t, std::string>> classes; // count, first replay
};

void run_one(uint64_t seed, uint64_t index, bool verbose, tally& t) {
    current_seed = seed, current_index = index;
    const descriptor d = random_descriptor(seed, index);
    if (verbose)
        std::printf("descriptor %llu: %s\n", static_cast<unsigned long long>(index),
                    describe(d).c_str()),
            std::fflush(stdout);
    alarm(static_cast<unsigned>(slowed ? 300 : 60));
    const verdict v = run_descriptor(d);
    alarm(0);
    ++t.run;
    ++t.outcomes[v.outcome];
    const char* names[] = {"refused",      "correct",   "guards only",
                           "planned only", "unplanned", "WRONG"};
    if (verbose)
        std::printf("outcome: %s %s %s\n", names[v.outcome], v.failure.c_str(), v.detail.c_str());
    if (v.outcome != verdict::wrong) return;
    const std::string replay = std::string(program) + " --seed " + std::to_string(seed) +
                               " --replay " + std::to_string(index);
    const std::string key = v.failure + ": " + transform_names[int(d.kind)] +
                            (d.split ? " split" : "") + " " + family_names[int(d.fam)] + " " +
                            placement_names[int(d.place)];
    auto& c = t.classes[key];
    if (c.first++ == 0) c.second = replay;
    if (!verbose)
        std::printf("WRONG (%s) %s %s\n  %s\n", key.c_str(), v.detail.c_str(), replay.c_str(),
                    describe(d).c_str());
}

} // namespace

int main(int argc, char** argv) {
    program = argv[0];
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // findings survive a crash
    const uint64_t default_seeds[] = {1, 2, 3, 4};
    std::vector<uint64_t> seeds(std::begin(default_seeds), std::end(default_seeds));
    // Descriptors per seed; QTX_FUZZ_COUNT lowers it where execution is emulated.
    uint64_t count = sanitized ? 150 : 1000;
    if (const char* text = std::getenv("QTX_FUZZ_COUNT")) count = std::strtoull(text, nullptr, 10);
    int64_t replay = -1;
    for (int a = 1; a + 1 < argc; a += 2) {
        const std::string option = argv[a];
        const uint64_t value = std::strtoull(argv[a + 1], nullptr, 10);
        if (option == "--seed")
            seeds = {value};
        else if (option == "--count")
            count = value;
        else if (option == "--replay")
            replay = static_cast<int64_t>(value);
        else
            return std::fprintf(stderr, "usage: %s [--seed S] [--count K] [--replay INDEX]\n",
                                program),
                   2;
    }
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGALRM})
        std::signal(s, on_signal);
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback(report_crash);
#endif
    QTX_PUBLIC(init_threads)();
    tally t;
    const auto start = std::chrono::steady_clock::now();
    for (uint64_t seed : seeds)
        for (uint64_t i = replay >= 0 ? static_cast<uint64_t>(replay) : 0;
             i < (replay >= 0 ? static_cast<uint64_t>(replay) + 1 : count); ++i)
            run_one(seed, i, replay >= 0, t);
    for (const auto& [key, c] : t.classes)
        std::printf("class %-70s %5llu  first: %s\n", key.c_str(),
                    static_cast<unsigned long long>(c.first), c.second.c_str());
    auto count_of = [&t](int outcome) {
        return static_cast<unsigned long long>(t.outcomes[outcome]);
    };
    std::printf("fuzz_plans %s: %llu descriptors, %llu refused, %llu correct, %llu wrong "
                "(%llu checked for stray writes only, %llu planned only, %llu too large to plan "
                "here), %.1f s\n",
                sizeof(real) == 4 ? "f32" : "f64", static_cast<unsigned long long>(t.run),
                count_of(verdict::refused), count_of(verdict::correct), count_of(verdict::wrong),
                count_of(verdict::guards_only), count_of(verdict::planned_only),
                count_of(verdict::unplanned), seconds_since(start));
    return t.outcomes[verdict::wrong] == 0 ? 0 : 1;
}
