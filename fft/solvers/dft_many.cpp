// The batch solvers. Each takes the first batch dimension (count H, distances his and hos) of
// a problem and plans children for parts of it: thread chunks, a gathered work buffer, pairs of
// interleaved transforms in single precision, or a loop over single transforms.
#include "fft/solvers/dft_many.hpp"

#include <algorithm>

#include "fft/kernels/transpose.hpp"
#include "fft/threads.hpp"

namespace qtx::QTX_ENGINE {
namespace {

// The first dimension of the transforms and of their batch, the part every batch solver reads.
struct howmany_shape {
    uint64_t n;       // transform length
    int64_t is, os;   // element strides
    uint64_t H;       // transforms in the first batch dimension
    int64_t his, hos; // distances between them
};

uint64_t howmany_count(const plan_record* p) {
    return static_cast<uint64_t>(first_howmany_dim(p).n);
}

howmany_shape shape_of(const plan_record* p) {
    const dim_record batch = first_howmany_dim(p);
    return {.n = static_cast<uint64_t>(p->dims[0].n),
            .is = p->dims[0].is,
            .os = p->dims[0].os,
            .H = static_cast<uint64_t>(batch.n),
            .his = batch.is,
            .hos = batch.os};
}

bool is_complex_kind(const plan_record* p) {
    return p->kind == kind_c2c || p->kind == kind_large_first_pass;
}

bool is_smooth(uint64_t n) {
    return !has_factor_above_7(n);
}

// A pair the one-dimensional solvers take whole, which no batch solver splits up.
bool is_pair_problem(const plan_record* p) {
    return !is_double && is_complex_kind(p) && is_interleaved_pair(p);
}

// The batch shape that single precision runs as pairs of interleaved transforms.
bool runs_in_pairs(const plan_record* p) {
    return is_complex_kind(p) && howmany_count(p) >= 3 &&
           is_smooth(static_cast<uint64_t>(p->dims[0].n)) && is_interleaved_batch(p);
}

// Child `i` of the gathered buffer: in single precision child 0 is two transforms whose
// elements alternate and child 1 the single one after the last pair; in double precision the
// one child is a single transform. Both run in place in the buffer.
void make_buffer_child(plan_record& c, int i, uint64_t n, void* buffer) {
    const bool pair = !is_double && i == 0;
    const int64_t stride = pair ? 2 : 1;
    c.kind = kind_c2c;
    c.rank = 1;
    c.dims[0] = {.n = static_cast<int64_t>(n), .is = stride, .os = stride};
    c.howmany_rank = pair ? 1 : 0;
    c.howmany_dims[0] = pair ? dim_record{.n = 2, .is = 1, .os = 1} : single_transform;
    c.in = c.out = buffer;
}

// Transforms per block of the two-pass transform's passes: each strided access then moves two
// cache lines of consecutive values, and a block of the longest rows stays in the second-level
// cache between its transform and its transposition.
constexpr uint64_t rows_per_block = 128 / complex_bytes;

char* advance(void* base, uint64_t elements, int64_t distance, size_t element_bytes) {
    return static_cast<char*>(base) +
           static_cast<int64_t>(elements) * distance * static_cast<int64_t>(element_bytes);
}

// n·H complex values, or 0 when that many bytes cannot be addressed.
uint64_t batch_buffer_bytes(uint64_t n, uint64_t H) {
    uint64_t bytes = 0;
    if (__builtin_mul_overflow(n, H, &bytes) ||
        __builtin_mul_overflow(bytes, complex_bytes, &bytes))
        return 0;
    return bytes;
}

// The strided side of a batch spans at least gather_span_bytes: n·stride·E.
bool spans_gather_threshold(uint64_t n, int64_t stride) {
    if (stride <= 0) return false;
    uint64_t span = 0;
    if (__builtin_mul_overflow(n, static_cast<uint64_t>(stride), &span) ||
        __builtin_mul_overflow(span, complex_bytes, &span))
        return true;
    return span >= gather_span_bytes;
}

// The children that transform H gathered transforms in the work buffer: single precision, a
// pair child and, for odd H, a single child after it; double precision one single child.
uint32_t plan_buffer_children(plan_record* p, uint64_t n, uint64_t H) {
    const int count = !is_double && H % 2 == 1 ? 2 : 1;
    return plan_children(p, count,
                         [&](plan_record& c, int i) { make_buffer_child(c, i, n, p->buffer); });
}

// Transforms the H gathered transforms in place in the buffer.
void transform_buffer(const plan_record* plan, uint64_t n, uint64_t H) {
    auto* buffer = static_cast<char*>(plan->buffer);
    const size_t bytes = n * complex_bytes;
    if constexpr (is_double) {
        for (uint64_t j = 0; j < H; ++j)
            execute_child(&plan->children[0], buffer + j * bytes, buffer + j * bytes);
    } else {
        for (uint64_t p = 0; p < H / 2; ++p)
            execute_child(&plan->children[0], buffer + 2 * p * bytes, buffer + 2 * p * bytes);
        if (H % 2 == 1) {
            char* last = buffer + (H - 1) * bytes;
            execute_child(&plan->children[1], last, last);
        }
    }
}

// The work buffer of the gathering solvers: one block of transforms.
bool attach_block_buffer(plan_record* p, const howmany_shape& b) {
    return attach_buffer(p, batch_buffer_bytes(b.n, std::min(rows_per_block, b.H)));
}

// Gathers and transforms the batch block by block, handing each block in the buffer to
// write_out(first, count) while it is in cache. Blocks start at even transforms, so only the
// last one can be odd (the pair children's rule).
template <class WriteOut>
void run_gathered_blocks(const plan_record* plan, void* in, const howmany_shape& b,
                         const WriteOut& write_out) {
    const uint64_t block = std::min(rows_per_block, b.H);
    for (uint64_t first = 0; first < b.H; first += block) {
        const uint64_t count = std::min(block, b.H - first);
        gather_batch(advance(in, first, 1, complex_bytes), plan->buffer, b.n, count, b.is);
        transform_buffer(plan, b.n, count);
        write_out(first, count);
    }
}

// ---- Thread chunks --------------------------------------------------------------------------

// a > factor·b, false when factor·b does not fit in 64 bits.
bool exceeds_multiple(uint64_t a, uint64_t factor, uint64_t b) {
    uint64_t product = 0;
    return !__builtin_mul_overflow(factor, b, &product) && a > product;
}

// Elements of the whole problem, saturating at the largest 64-bit value.
uint64_t total_elements(const plan_record* p) {
    uint64_t total = 1;
    auto include = [&total](int64_t n) {
        if (__builtin_mul_overflow(total, static_cast<uint64_t>(n), &total)) total = UINT64_MAX;
    };
    for (int i = 0; i < p->rank && i < max_rank; ++i)
        include(p->dims[i].n);
    for (int i = 0; i < p->howmany_rank && i < max_rank; ++i)
        include(p->howmany_dims[i].n);
    return total;
}

// Chunks of fewer than 257 elements are not worth a thread unless the problem has 1281.
constexpr uint64_t min_chunk_elements = 257;
constexpr uint64_t min_split_elements = 1281;

struct multithread_context {
    char* in;
    char* out;
    int64_t in_distance_bytes;
    int64_t out_distance_bytes;
    const plan_record* children;
    uint64_t child_count;
};

void run_chunk(chunk_args* args) {
    const auto* c = static_cast<const multithread_context*>(args->user_data);
    if (args->chunk_index >= c->child_count) return;
    const int64_t first = static_cast<int64_t>(args->chunk_size * args->chunk_index);
    execute_child(&c->children[args->chunk_index], c->in + first * c->in_distance_bytes,
                  c->out + first * c->out_distance_bytes);
}

// Child i of a chunked batch: chunk transforms from transform chunk·i on.
void make_chunk_child(const plan_record* p, plan_record* c, const chunk_plan& chunks, uint64_t i) {
    const uint64_t H = howmany_count(p);
    if (chunks.size > 1) {
        const bool last = i + 1 == chunks.count;
        c->howmany_dims[0].n = static_cast<int64_t>(last ? H - chunks.size * i : chunks.size);
    } else {
        drop_first_howmany_dim(c);
    }
    // A negative count reads as a huge one: the pool runs at most max_thread_count at once, so
    // that is what the chunks share; more would only multiply the children's own chunks.
    c->thread_count = std::min(p->thread_count, uint64_t{max_thread_count}) / chunks.count;
    // A lent table (the large transform's twiddles) is shared out slice by slice.
    if (p->table != nullptr && p->table_size != 0) {
        c->table = static_cast<char*>(p->table) + p->table_size / H * chunks.size * i;
        c->table_size = 0;
        c->owns_table = 0;
    }
}

// ---- Row transforms and their transposition ---------------------------------------------

struct post_transpose_context {
    const plan_record* plan;
    void* in;
    void* out;
    howmany_shape batch;
};

// One chunk of rows, block by block: each block is transformed in place and, into a separate
// output, transposed while it is still in cache.
void run_post_transpose_rows(chunk_args* args) {
    const auto* c = static_cast<const post_transpose_context*>(args->user_data);
    if (args->chunk_index >= c->plan->child_count) return;
    const howmany_shape& b = c->batch;
    const auto n = static_cast<int64_t>(b.n);
    const uint64_t begin = args->chunk_size * args->chunk_index;
    const uint64_t end = std::min(b.H, begin + args->chunk_size);
    for (uint64_t first = begin; first < end; first += rows_per_block) {
        const uint64_t count = std::min(rows_per_block, end - first);
        for (uint64_t j = first; j < first + count; ++j) {
            char* transform = advance(c->in, j, n, complex_bytes);
            execute_child(&c->plan->children[args->chunk_index], transform, transform);
        }
        if (c->in != c->out)
            transpose_cpx(advance(c->in, first, n, complex_bytes),
                          advance(c->out, first, 1, complex_bytes), count, b.n, n, b.os);
    }
}

} // namespace

uint64_t thread_granule(const plan_record* p) {
    const uint64_t H = howmany_count(p), T = p->thread_count;
    if constexpr (is_double) return exceeds_multiple(H, 8, T) ? 8 : 1;
    if (exceeds_multiple(H, 16, T)) return 16;
    return runs_in_pairs(p) ? 2 : 1;
}

uint32_t solve_problem_dft_many_multithread(plan_record* p) {
    if (p->howmany_rank < 1 || p->thread_count < 2) return solve_declined;
    if (is_pair_problem(p)) return solve_declined;
    const uint64_t H = howmany_count(p);
    if (H == 0) return solve_declined;
    const chunk_plan chunks = plan_chunks(H, p->thread_count, thread_granule(p));
    const uint64_t total = total_elements(p);
    if (total / chunks.count < min_chunk_elements && total < min_split_elements)
        return solve_declined;

    set_execute(p, QTX_ROUTINE(execute_multithread));
    return plan_children(p, static_cast<int>(chunks.count), [&](plan_record& c, int i) {
        make_chunk_child(p, &c, chunks, static_cast<uint64_t>(i));
    });
}

void execute_multithread(const plan_record* plan, void* in, void* out) {
    size_t in_size = 0, out_size = 0;
    element_sizes(plan->kind, &in_size, &out_size);
    const howmany_shape b = shape_of(plan);
    const multithread_context context{static_cast<char*>(in),
                                      static_cast<char*>(out),
                                      b.his * static_cast<int64_t>(in_size),
                                      b.hos * static_cast<int64_t>(out_size),
                                      plan->children,
                                      plan->child_count};
    thread_pool_run(b.H, plan->thread_count, thread_granule(plan), run_chunk,
                    const_cast<multithread_context*>(&context));
}

// ---- Gather, transform, scatter -------------------------------------------------------------

uint32_t solve_problem_dft_many_transpose(plan_record* p) {
    if (p->kind != kind_c2c || p->rank != 1 || p->howmany_rank != 1) return solve_declined;
    const howmany_shape b = shape_of(p);
    if (!is_interleaved_batch(p) || !is_smooth(b.n) || b.H < (is_double ? 2u : 3u))
        return solve_declined;
    if (!spans_gather_threshold(b.n, b.is)) return solve_declined;
    if (!attach_block_buffer(p, b)) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_many_transpose));
    return plan_buffer_children(p, b.n, b.H);
}

void execute_many_transpose(const plan_record* plan, void* in, void* out) {
    const howmany_shape b = shape_of(plan);
    run_gathered_blocks(plan, in, b, [&](uint64_t first, uint64_t count) {
        scatter_batch(plan->buffer, advance(out, first, 1, complex_bytes), b.n, count, b.os);
    });
}

uint32_t solve_problem_dft_many_post_transpose(plan_record* p) {
    if (p->kind != kind_c2c || p->rank != 1 || p->howmany_rank != 1) return solve_declined;
    const howmany_shape b = shape_of(p);
    if (b.is != 1 || b.hos != 1 || p->in == nullptr || p->out != p->in) return solve_declined;
    // The transforms are taken as back-to-back runs of n values: other input distances would
    // be read from the wrong places, so they are left to the later solvers.
    if (b.his != static_cast<int64_t>(b.n)) return solve_declined;
    if (!spans_gather_threshold(b.n, b.os)) return solve_declined;
    if (!attach_buffer(p, batch_buffer_bytes(b.n, b.H))) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_many_post_transpose));
    // The rows are spread over the threads here: one single-thread child per chunk, since a
    // child's work buffer serves one transform at a time.
    const uint64_t chunks = plan_chunks(b.H, p->thread_count, rows_per_block).count;
    return plan_children(p, static_cast<int>(chunks), [](plan_record& c, int) {
        c.howmany_rank = 0;
        c.dims[0].os = 1;
        c.thread_count = 1;
    });
}

void execute_many_post_transpose(const plan_record* plan, void* in, void* out) {
    const howmany_shape b = shape_of(plan);
    const post_transpose_context context{plan, in, out, b};
    thread_pool_run(b.H, plan->thread_count, rows_per_block, run_post_transpose_rows,
                    const_cast<post_transpose_context*>(&context));
    // Transposing in place needs a copy of all the transformed data first.
    if (in == out) {
        copy_block_fp(in, plan->buffer, b.H * b.n, reals_per_complex);
        transpose_cpx(plan->buffer, out, b.H, b.n, static_cast<int64_t>(b.n), b.os);
    }
}

uint32_t solve_problem_dft_many_transpose_rotate(plan_record* p) {
    if (p->kind != kind_large_first_pass || p->rank != 1 || p->howmany_rank > 1)
        return solve_declined;
    if (!is_interleaved_batch(p)) return solve_declined;
    const howmany_shape b = shape_of(p);
    if (!attach_block_buffer(p, b)) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_many_transpose_rotate));
    return plan_buffer_children(p, b.n, b.H);
}

void execute_many_transpose_rotate(const plan_record* plan, void* in, void* out) {
    const howmany_shape b = shape_of(plan);
    // A block starts at an even transform, so its twiddles start at that transform's position
    // in the table's pair layout.
    run_gathered_blocks(plan, in, b, [&](uint64_t first, uint64_t count) {
        transpose_rotate_cpx(plan->buffer, advance(out, first, 1, complex_bytes),
                             advance(plan->table, first, static_cast<int64_t>(b.n), complex_bytes),
                             count, b.n, b.os);
    });
}

// ---- Pairs in the caller's arrays, and the plain loop ---------------------------------------

uint32_t solve_problem_dft_many_parallel(plan_record* p) {
    if constexpr (is_double) return solve_declined;
    if (p->kind != kind_c2c || p->rank != 1 || p->howmany_rank != 1) return solve_declined;
    if (!runs_in_pairs(p)) return solve_declined;
    const uint64_t H = howmany_count(p);
    // Child 0 runs each pair, child 1 the single transform an odd count leaves.
    set_execute(p, QTX_ROUTINE(execute_many_parallel));
    return plan_children(p, H % 2 == 1 ? 2 : 1,
                         [](plan_record& c, int i) { c.howmany_dims[0].n = 2 - i; });
}

void execute_many_parallel(const plan_record* plan, void* in, void* out) {
    const howmany_shape b = shape_of(plan);
    uint64_t j = 0;
    for (; j + 2 <= b.H; j += 2)
        execute_child(&plan->children[0], advance(in, j, b.his, complex_bytes),
                      advance(out, j, b.hos, complex_bytes));
    if (j < b.H)
        execute_child(&plan->children[1], advance(in, j, b.his, complex_bytes),
                      advance(out, j, b.hos, complex_bytes));
}

uint32_t solve_problem_dft_many(plan_record* p) {
    if (p->rank < 1 || p->howmany_rank < 1) return solve_declined;
    if (is_pair_problem(p) || p->kind > kind_r2r) return solve_declined;
    set_execute(p, QTX_ROUTINE(execute_many));
    return plan_children(p, 1, [](plan_record& c, int) { drop_first_howmany_dim(&c); });
}

void execute_many(const plan_record* plan, void* in, void* out) {
    size_t in_size = 0, out_size = 0;
    element_sizes(plan->kind, &in_size, &out_size);
    const howmany_shape b = shape_of(plan);
    for (uint64_t j = 0; j < b.H; ++j)
        execute_child(plan->children, advance(in, j, b.his, in_size),
                      advance(out, j, b.hos, out_size));
}

} // namespace qtx::QTX_ENGINE
