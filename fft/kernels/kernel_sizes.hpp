// The sizes the engines have kernels for, each stated once: the radices with a dedicated
// butterfly and stage kernel, the lengths the general solver splits by preset, and which of those
// lengths have a direct kernel. The butterflies, the kernel tables, their instantiation files and
// the general solver's factorisation read or derive from these tables.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qtx::kernels {

// A radix with a dedicated butterfly and stage kernel. first_factor is the first-pass radix of a
// butterfly composed of two smaller ones (the second pass has radix / first_factor), 0 where the
// radix has a butterfly of its own.
struct dedicated_radix {
    int radix;
    int first_factor;
};

inline constexpr dedicated_radix dedicated_radices[] = {
    {2, 0}, {3, 0}, {4, 0},  {5, 0},  {6, 2},  {7, 0},
    {8, 2}, {9, 3}, {10, 0}, {12, 3}, {16, 4}, {32, 4},
};

// The entry of radix r, or one with radix 0 when r has no dedicated kernel. Returned by value:
// the undefined-behaviour sanitizer makes pointer comparisons non-constant.
constexpr dedicated_radix find_dedicated_radix(uint64_t r) {
    for (const dedicated_radix& d : dedicated_radices)
        if (static_cast<uint64_t>(d.radix) == r) return d;
    return {0, 0};
}

constexpr bool is_dedicated_radix(uint64_t r) {
    return find_dedicated_radix(r).radix != 0;
}

inline constexpr int largest_dedicated_radix =
    std::ranges::max(dedicated_radices, {}, &dedicated_radix::radix).radix;

// The engines a preset serves: where the best split depends on the vector width, each engine
// has its own row.
enum class preset_engines { both, single_only, double_only };

// A length whose best split differs from the general solver's greedy rule. A length with a direct
// kernel is transformed by that kernel in the same two passes.
struct preset_factorization {
    uint64_t n;
    std::array<uint64_t, 3> radices; // stage order; unused entries 0
    bool has_direct_kernel = false;
    preset_engines engines = preset_engines::both;

    constexpr int count() const {
        return static_cast<int>(std::ranges::count_if(radices, [](uint64_t r) { return r != 0; }));
    }
    constexpr bool serves(bool is_double) const {
        return engines == preset_engines::both ||
               engines == (is_double ? preset_engines::double_only : preset_engines::single_only);
    }
};

inline constexpr bool with_direct_kernel = true;

inline constexpr preset_factorization preset_factorizations[] = {
    {1, {1}},
    {12, {12}},
    {16, {16}},
    {30, {3, 10}, with_direct_kernel},
    {32, {32}},
    {60, {6, 10}, with_direct_kernel},
    {64, {8, 8}, with_direct_kernel},
    {96, {12, 8}},
    {120, {12, 10}, with_direct_kernel},
    {128, {16, 8}, with_direct_kernel},
    {160, {16, 10}},
    {256, {16, 16}, with_direct_kernel},
    {512, {8, 8, 8}, !with_direct_kernel, preset_engines::double_only},
    {512, {32, 16}, !with_direct_kernel, preset_engines::single_only},
    {1024, {16, 8, 8}},
    {32768, {32, 32, 32}},
};

// The preset of n for one engine, or one without radices (count 0) when n has none; by value,
// like find_dedicated_radix.
constexpr preset_factorization find_preset(uint64_t n, bool is_double) {
    for (const preset_factorization& preset : preset_factorizations)
        if (preset.n == n && preset.serves(is_double)) return preset;
    return {n, {}};
}

// A direct kernel runs one butterfly, or two passes of dedicated radices that both engines split
// alike.
constexpr bool is_direct_preset_valid(const preset_factorization& preset) {
    return !preset.has_direct_kernel ||
           (preset.count() == 2 && preset.engines == preset_engines::both &&
            is_dedicated_radix(preset.radices[0]) && is_dedicated_radix(preset.radices[1]));
}
static_assert(std::ranges::all_of(preset_factorizations, is_direct_preset_valid));

// A length with a direct kernel and the radix of its first pass (the length itself for a single
// butterfly).
struct direct_length {
    int n;
    int first_radix;
};

inline constexpr std::size_t direct_length_count =
    std::size(dedicated_radices) +
    std::ranges::count_if(preset_factorizations, &preset_factorization::has_direct_kernel);

// Every dedicated radix as a single butterfly, then the two-pass presets.
constexpr std::array<direct_length, direct_length_count> make_direct_lengths() {
    std::array<direct_length, direct_length_count> lengths{};
    std::size_t i = 0;
    for (const dedicated_radix& d : dedicated_radices)
        lengths[i++] = {d.radix, d.radix};
    for (const preset_factorization& preset : preset_factorizations)
        if (preset.has_direct_kernel)
            lengths[i++] = {static_cast<int>(preset.n), static_cast<int>(preset.radices[0])};
    return lengths;
}

inline constexpr std::array<direct_length, direct_length_count> direct_lengths =
    make_direct_lengths();

constexpr const direct_length* find_direct_length(int n) {
    for (const direct_length& d : direct_lengths)
        if (d.n == n) return &d;
    return nullptr;
}

// The kernels of a table are explicitly instantiated slice by slice, one file per slice, so that
// no file takes long to compile. A slice is a run of table positions [begin, end).
struct table_slice {
    int begin, end;
};

// Positions each instantiation file steps through; a slice may not be wider.
inline constexpr int max_slice_width = 12;

// The slices follow one another from position 0 to the table's end, none wider than the loop.
constexpr bool partitions(std::span<const table_slice> slices, std::size_t table_size) {
    int next = 0;
    for (const table_slice& slice : slices) {
        if (slice.begin != next || slice.end < slice.begin ||
            slice.end - slice.begin > max_slice_width)
            return false;
        next = slice.end;
    }
    return static_cast<std::size_t>(next) == table_size;
}

// The size at place j of slice k, read by size_at(table position); past the slice's end a
// negative placeholder, distinct for every place of every slice, whose adapters are empty.
template <class SizeAt>
constexpr int size_at_place(std::span<const table_slice> slices, int k, int j, SizeAt size_at) {
    const table_slice& slice = slices[static_cast<std::size_t>(k)];
    const int i = slice.begin + j;
    return i < slice.end ? size_at(static_cast<std::size_t>(i)) : -(k * max_slice_width + j + 1);
}

} // namespace qtx::kernels

// M(k, j) for every place j < max_slice_width of slice k: the compile-time loop of an
// instantiation file, which must name a distinct specialisation at every place.
// clang-format off
#define QTX_FOR_SLICE_PLACES(M, k) \
    M(k, 0) M(k, 1) M(k, 2) M(k, 3) M(k, 4)  M(k, 5) \
    M(k, 6) M(k, 7) M(k, 8) M(k, 9) M(k, 10) M(k, 11)
// clang-format on
static_assert(qtx::kernels::max_slice_width == 12, "QTX_FOR_SLICE_PLACES names every place");
