// The buffered form, for layouts the engine refuses (negative or zero strides, rank above 3,
// more than three batch dimensions, rank 0): the input is gathered into a dense row-major
// buffer (batch first), transformed there by engine passes of at most rank 3 and scattered to
// the output. Buffers and passes are made at planning, so
// execution allocates nothing. Reading all input before writing any output also makes every
// in-place layout correct.
#include <limits>

#include "compat/fftw3/plan.hpp"

namespace qtx::QVSIP_FFTW3_NAMESPACE {
namespace {

using engine_dim = E(dim64);
constexpr std::int64_t no_size = -1;

// Product of lengths, or no_size when it overflows.
std::int64_t product(const std::vector<std::int64_t>& lengths, std::size_t from, std::size_t to) {
    std::int64_t total = 1;
    for (std::size_t i = from; i < to; ++i)
        if (__builtin_mul_overflow(total, lengths[i], &total)) return no_size;
    return total;
}

// One engine pass over the buffers: a transform of the given lengths (dense strides inside
// each block), over `count` blocks, optionally repeated over `inner` interleaved positions.
struct pass_shape {
    std::vector<std::int64_t> lengths_in, lengths_out;
    std::int64_t stride_in = 1, stride_out = 1; // of the innermost transformed dimension
    std::int64_t count = 1, dist_in = 0, dist_out = 0;
    std::int64_t inner = 1; // positions at unit stride beside the transformed axis
};

std::vector<engine_dim> dense_dims(const pass_shape& s) {
    std::vector<engine_dim> dims(s.lengths_in.size());
    std::int64_t is = s.stride_in, os = s.stride_out;
    for (std::size_t i = dims.size(); i-- > 0;) {
        dims[i] = {s.lengths_in[i] < s.lengths_out[i] ? s.lengths_out[i] : s.lengths_in[i], is, os};
        is *= s.lengths_in[i];
        os *= s.lengths_out[i];
    }
    return dims;
}

std::vector<engine_dim> batch_dims(const pass_shape& s) {
    std::vector<engine_dim> howmany;
    if (s.count > 1) howmany.push_back({s.count, s.dist_in, s.dist_out});
    if (s.inner > 1) howmany.push_back({s.inner, 1, 1});
    return howmany;
}

// Real lengths of the transform (the real side's last dimension for real-complex problems).
std::vector<std::int64_t> transform_lengths(const problem& p) {
    std::vector<std::int64_t> n;
    for (const dimension& d : p.dims)
        n.push_back(d.n);
    return n;
}

struct planner_context {
    X(plan_s) & plan;
    const problem& p;
    std::vector<std::int64_t> n, m; // real and complex-side lengths
    std::int64_t batch;
};

bool add(buffered& b, engine_plan pass) {
    if (!pass) return false;
    b.passes.push_back(pass);
    return true;
}

// The 1-D complex passes along the leading axes the rank-3 pass leaves (complex side).
bool add_leading_complex_passes(planner_context& c, std::size_t leading, int sign) {
    buffered& b = c.plan.buffered;
    auto* z = reinterpret_cast<engine_complex*>(b.complex_buffer);
    for (std::size_t a = 0; a < leading; ++a) {
        const std::int64_t inner = product(c.m, a + 1, c.m.size());
        const std::int64_t outer = c.batch * product(c.m, 0, a);
        const engine_dim dim{c.m[a], inner, inner};
        std::vector<engine_dim> howmany;
        if (outer > 1) howmany.push_back({outer, c.m[a] * inner, c.m[a] * inner});
        if (inner > 1) howmany.push_back({inner, 1, 1});
        if (c.p.kind == family::r2r) {
            const int kind = c.p.r2r_kinds[a];
            if (!add(b,
                     E(plan_guru64_r2r)(1, &dim, static_cast<int>(howmany.size()), howmany.data(),
                                        b.real_buffer, b.real_buffer, &kind, QTX_FFT_ESTIMATE)))
                return false;
        } else if (!add(b, E(plan_guru64_dft)(1, &dim, static_cast<int>(howmany.size()),
                                              howmany.data(), z, z, sign, QTX_FFT_ESTIMATE))) {
            return false;
        }
    }
    return true;
}

// The pass over the last (up to three) axes, batched over everything before them.
bool add_trailing_pass(planner_context& c, std::size_t leading) {
    buffered& b = c.plan.buffered;
    const problem& p = c.p;
    pass_shape s;
    const bool real_in = p.kind == family::r2c || p.kind == family::r2r;
    const bool real_out = p.kind == family::c2r || p.kind == family::r2r;
    s.lengths_in.assign((real_in ? c.n : c.m).begin() + leading, (real_in ? c.n : c.m).end());
    s.lengths_out.assign((real_out ? c.n : c.m).begin() + leading, (real_out ? c.n : c.m).end());
    s.count = c.batch * product(c.n, 0, leading);
    s.dist_in = product(s.lengths_in, 0, s.lengths_in.size());
    s.dist_out = product(s.lengths_out, 0, s.lengths_out.size());
    auto dims = dense_dims(s);
    // Real-complex engine dimensions carry the real length.
    for (std::size_t i = 0; i < dims.size(); ++i)
        dims[i].n = c.n[leading + i];
    const auto howmany = batch_dims(s);
    const int rank = static_cast<int>(dims.size());
    const int hrank = static_cast<int>(howmany.size());
    auto* z = reinterpret_cast<engine_complex*>(b.complex_buffer);
    real* r = b.real_buffer;
    switch (p.kind) {
    case family::dft:
        return add(b, E(plan_guru64_dft)(rank, dims.data(), hrank, howmany.data(), z, z, p.sign,
                                         QTX_FFT_ESTIMATE));
    case family::r2c:
        return add(b, E(plan_guru64_dft_r2c)(rank, dims.data(), hrank, howmany.data(), r, z,
                                             QTX_FFT_ESTIMATE));
    case family::c2r:
        return add(b, E(plan_guru64_dft_c2r)(rank, dims.data(), hrank, howmany.data(), z, r,
                                             QTX_FFT_ESTIMATE));
    case family::r2r:
        return add(b, E(plan_guru64_r2r)(rank, dims.data(), hrank, howmany.data(), r, r,
                                         p.r2r_kinds.data() + leading, QTX_FFT_ESTIMATE));
    }
    return false;
}

// Whether every offset a side reaches, Σ (n - 1)·|stride| reals, is a 64-bit number of bytes:
// a layout beyond cannot address real arrays, and its offsets would wrap.
bool offsets_fit(const std::vector<std::int64_t>& lengths,
                 const std::vector<std::int64_t>& strides) {
    std::int64_t reach = 0, step = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (lengths[i] == 0) return true;
        if (strides[i] == std::numeric_limits<std::int64_t>::min() ||
            __builtin_mul_overflow(lengths[i] - 1, strides[i] < 0 ? -strides[i] : strides[i],
                                   &step) ||
            __builtin_add_overflow(reach, step, &reach))
            return false;
    }
    return reach <=
           std::numeric_limits<std::int64_t>::max() / static_cast<std::int64_t>(sizeof(real));
}

// Gather and scatter orders: batch dimensions, then transformed ones, strides in reals.
bool describe_sides(buffered& b, const problem& p, const std::vector<std::int64_t>& n,
                    const std::vector<std::int64_t>& m) {
    const bool complex_in = p.kind == family::dft || p.kind == family::c2r;
    const bool complex_out = p.kind == family::dft || p.kind == family::r2c;
    const std::int64_t in_scale = complex_in && !p.split_in ? 2 : 1;
    const std::int64_t out_scale = complex_out && !p.split_out ? 2 : 1;
    bool fits = true;
    auto add_dimension = [&](std::int64_t n_in, std::int64_t is, std::int64_t n_out,
                             std::int64_t os) {
        std::int64_t is_reals = 0, os_reals = 0;
        fits = fits && !__builtin_mul_overflow(is, in_scale, &is_reals) &&
               !__builtin_mul_overflow(os, out_scale, &os_reals);
        b.in_lengths.push_back(n_in);
        b.in_strides.push_back(is_reals);
        b.out_lengths.push_back(n_out);
        b.out_strides.push_back(os_reals);
    };
    for (const dimension& d : p.howmany)
        add_dimension(d.n, d.is, d.n, d.os);
    for (std::size_t i = 0; i < p.dims.size(); ++i)
        add_dimension(complex_in ? m[i] : n[i], p.dims[i].is, complex_out ? m[i] : n[i],
                      p.dims[i].os);
    b.counter.assign(b.in_lengths.size(), 0);
    return fits && offsets_fit(b.in_lengths, b.in_strides) &&
           offsets_fit(b.out_lengths, b.out_strides);
}

} // namespace

bool plan_buffered(X(plan_s) & plan) {
    problem& p = plan.problem;
    buffered& b = plan.buffered;
    const std::vector<std::int64_t> n = transform_lengths(p);
    std::vector<std::int64_t> m = n;
    if ((p.kind == family::r2c || p.kind == family::c2r) && !m.empty()) m.back() = m.back() / 2 + 1;
    std::vector<std::int64_t> batch_lengths;
    for (const dimension& d : p.howmany)
        batch_lengths.push_back(d.n);
    const std::int64_t batch = product(batch_lengths, 0, batch_lengths.size());
    const std::int64_t reals = batch == no_size ? no_size : product(n, 0, n.size());
    const std::int64_t complexes = batch == no_size ? no_size : product(m, 0, m.size());
    if (reals == no_size || complexes == no_size) return false;
    std::int64_t real_count = 0, complex_count = 0;
    if (__builtin_mul_overflow(reals, batch, &real_count) ||
        __builtin_mul_overflow(complexes, batch, &complex_count) ||
        complex_count >
            std::numeric_limits<std::int64_t>::max() / 2 / static_cast<std::int64_t>(sizeof(real)))
        return false;
    if (!describe_sides(b, p, n, m)) return false;
    if (batch == 0) return true;
    const bool needs_real = p.kind != family::dft;
    const bool needs_complex = p.kind != family::r2r;
    if (needs_real && !(b.real_buffer = static_cast<real*>(
                            E(malloc)(static_cast<std::size_t>(real_count) * sizeof(real)))))
        return false;
    if (needs_complex && !(b.complex_buffer = static_cast<real*>(E(malloc)(
                               static_cast<std::size_t>(complex_count) * 2 * sizeof(real)))))
        return false;
    if (p.dims.empty()) return true; // rank 0: gather and scatter are the whole transform
    planner_context c{plan, p, n, m, batch};
    const std::size_t leading = n.size() > 3 ? n.size() - 3 : 0;
    if (p.kind == family::c2r && !add_leading_complex_passes(c, leading, FFTW_BACKWARD))
        return false;
    if (!add_trailing_pass(c, leading)) return false;
    if (p.kind != family::c2r)
        return add_leading_complex_passes(c, leading,
                                          p.kind == family::dft ? p.sign : FFTW_FORWARD);
    return true;
}

} // namespace qtx::QVSIP_FFTW3_NAMESPACE
