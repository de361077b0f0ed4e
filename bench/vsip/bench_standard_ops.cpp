// The common element-wise operations on dense views timed against plain loops, for several
// lengths and thread counts: median of several timed repetitions. Matrices are 100 rows of n/100.
#include "bench/vsip/compare.hpp"
#include "bench_standard_ops_plain.hpp"

#include "qvsip.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace plain_standard;

constexpr std::size_t kLengths[] = {1000, 100000, 10000000};
constexpr int kThreads[] = {1, 2};
constexpr vsip_length kRows = 100;

// Dense real and interleaved complex views (and 100-row matrices) over owned arrays; inputs in
// (0.25, 2.25) so that logarithms, quotients and roots stay finite.
struct Operands {
    explicit Operands(std::size_t n) : n(n), x(2 * n), y(2 * n), out(2 * n), out2(2 * n) {
        for (std::size_t i = 0; i < 2 * n; ++i) {
            x[i] = 0.25f + float(i % 64) / 32.0f;
            y[i] = 2.25f - float(i % 48) / 24.0f;
        }
        for (std::vector<float>* data : {&x, &y, &out, &out2}) {
            real.push_back(vsip_vbind_f(vsip_blockbind_f(data->data(), n, VSIP_MEM_NONE), 0, 1, n));
            cplx.push_back(
                vsip_cvbind_f(vsip_cblockbind_f(data->data(), nullptr, n, VSIP_MEM_NONE), 0, 1, n));
            const vsip_length cols = n / kRows;
            rmat.push_back(vsip_mbind_f(vsip_blockbind_f(data->data(), n, VSIP_MEM_NONE), 0,
                                        vsip_stride(cols), kRows, 1, cols));
            cmat.push_back(vsip_cmbind_f(vsip_cblockbind_f(data->data(), nullptr, n, VSIP_MEM_NONE),
                                         0, vsip_stride(cols), kRows, 1, cols));
        }
    }
    ~Operands() {
        for (std::size_t k = 0; k < real.size(); ++k) {
            vsip_valldestroy_f(real[k]);
            vsip_cvalldestroy_f(cplx[k]);
            vsip_malldestroy_f(rmat[k]);
            vsip_cmalldestroy_f(cmat[k]);
        }
    }
    std::size_t n;
    std::vector<float> x, y, out, out2;
    // Index 0: x, 1: y, 2: out, 3: out2.
    std::vector<vsip_vview_f*> real;
    std::vector<vsip_cvview_f*> cplx;
    std::vector<vsip_mview_f*> rmat;
    std::vector<vsip_cmview_f*> cmat;
};

struct Benchmark {
    const char* name;
    std::function<void(Operands&)> ours, theirs;
};

// Rows of the same shape built from tables.
Benchmark real_binary_row(const char* name,
                          void (*ours)(const vsip_vview_f*, const vsip_vview_f*,
                                       const vsip_vview_f*),
                          real_binary op) {
    return {name, [=](Operands& o) { ours(o.real[0], o.real[1], o.real[2]); },
            [=](Operands& o) { binary(op, o.x.data(), o.y.data(), o.out.data(), o.n); }};
}
Benchmark matrix_row(const char* name,
                     void (*ours)(const vsip_mview_f*, const vsip_mview_f*, const vsip_mview_f*),
                     real_binary op) {
    return {name, [=](Operands& o) { ours(o.rmat[0], o.rmat[1], o.rmat[2]); },
            [=](Operands& o) { binary(op, o.x.data(), o.y.data(), o.out.data(), o.n); }};
}
Benchmark real_unary_row(const char* name,
                         std::function<void(const vsip_vview_f*, const vsip_vview_f*)> ours,
                         real_unary op) {
    return {name, [=](Operands& o) { ours(o.real[0], o.real[2]); },
            [=](Operands& o) { unary(op, o.x.data(), o.out.data(), o.n); }};
}
Benchmark complex_row(const char* name, std::function<void(Operands&)> ours, complex_form form) {
    return {name, ours, [=](Operands& o) {
                complex_loop(form, o.x.data(), o.y.data(), o.out.data(), o.out2.data(), o.n);
            }};
}

std::vector<Benchmark> benchmarks() {
    return {
        real_binary_row("vsip_vadd_f", vsip_vadd_f, real_binary::add),
        real_binary_row("vsip_vsub_f", vsip_vsub_f, real_binary::sub),
        real_binary_row("vsip_vmul_f", vsip_vmul_f, real_binary::mul),
        real_binary_row("vsip_vdiv_f", vsip_vdiv_f, real_binary::div),
        real_binary_row("vsip_vmaxmg_f", vsip_vmaxmg_f, real_binary::maxmg),
        real_binary_row("vsip_vatan2_f", vsip_vatan2_f, real_binary::atan2),
        matrix_row("vsip_madd_f", vsip_madd_f, real_binary::add),
        matrix_row("vsip_msub_f", vsip_msub_f, real_binary::sub),
        matrix_row("vsip_mmul_f", vsip_mmul_f, real_binary::mul),
        matrix_row("vsip_mdiv_f", vsip_mdiv_f, real_binary::div),
        real_unary_row("vsip_vmag_f", vsip_vmag_f, real_unary::mag),
        real_unary_row("vsip_vsq_f", vsip_vsq_f, real_unary::sq),
        real_unary_row("vsip_vcopy_f_f", vsip_vcopy_f_f, real_unary::copy),
        real_unary_row("vsip_vexp_f", vsip_vexp_f, real_unary::exp),
        real_unary_row("vsip_vlog_f", vsip_vlog_f, real_unary::log),
        real_unary_row(
            "vsip_vclip_f", [](auto* a, auto* r) { vsip_vclip_f(a, 0.5f, 1.0f, 0.0f, 1.0f, r); },
            real_unary::clip),
        real_unary_row(
            "vsip_svsub_f", [](auto* a, auto* r) { vsip_svsub_f(1.5f, a, r); }, real_unary::svsub),
        real_unary_row(
            "vsip_svdiv_f", [](auto* a, auto* r) { vsip_svdiv_f(1.5f, a, r); }, real_unary::svdiv),
        {"vsip_vsma_f", [](Operands& o) { vsip_vsma_f(o.real[0], 1.5f, o.real[1], o.real[2]); },
         [](Operands& o) { sma(o.x.data(), 1.5f, o.y.data(), o.out.data(), o.n); }},
        {"vsip_vramp_f", [](Operands& o) { vsip_vramp_f(1.0f, 0.5f, o.real[2]); },
         [](Operands& o) { ramp(1.0f, 0.5f, o.out.data(), o.n); }},
        {"vsip_vswap_f", [](Operands& o) { vsip_vswap_f(o.real[2], o.real[3]); },
         [](Operands& o) { swap(o.out.data(), o.out2.data(), o.n); }},
        complex_row(
            "vsip_cvjmul_f", [](Operands& o) { vsip_cvjmul_f(o.cplx[0], o.cplx[1], o.cplx[2]); },
            complex_form::jmul),
        complex_row(
            "vsip_cmmul_f", [](Operands& o) { vsip_cmmul_f(o.cmat[0], o.cmat[1], o.cmat[2]); },
            complex_form::mul),
        complex_row(
            "vsip_cmjmul_f", [](Operands& o) { vsip_cmjmul_f(o.cmat[0], o.cmat[1], o.cmat[2]); },
            complex_form::jmul),
        complex_row(
            "vsip_cmsub_f", [](Operands& o) { vsip_cmsub_f(o.cmat[0], o.cmat[1], o.cmat[2]); },
            complex_form::sub),
        complex_row(
            "vsip_cvneg_f", [](Operands& o) { vsip_cvneg_f(o.cplx[0], o.cplx[2]); },
            complex_form::neg),
        complex_row(
            "vsip_cvsqrt_f", [](Operands& o) { vsip_cvsqrt_f(o.cplx[0], o.cplx[2]); },
            complex_form::sqrt),
        complex_row(
            "vsip_cvfill_f",
            [](Operands& o) {
                vsip_cvfill_f({1.0f, 2.0f}, o.cplx[2]);
            },
            complex_form::fill),
        complex_row(
            "vsip_cvmagsq_f", [](Operands& o) { vsip_cvmagsq_f(o.cplx[0], o.real[2]); },
            complex_form::magsq),
        complex_row(
            "vsip_rcvmul_f", [](Operands& o) { vsip_rcvmul_f(o.real[0], o.cplx[1], o.cplx[2]); },
            complex_form::rcvmul),
        complex_row(
            "vsip_rcvadd_f", [](Operands& o) { vsip_rcvadd_f(o.real[0], o.cplx[1], o.cplx[2]); },
            complex_form::rcvadd),
        complex_row(
            "vsip_vcmplx_f", [](Operands& o) { vsip_vcmplx_f(o.real[0], o.real[1], o.cplx[2]); },
            complex_form::vcmplx),
        complex_row(
            "vsip_vreal_f", [](Operands& o) { vsip_vreal_f(o.cplx[0], o.real[2]); },
            complex_form::real),
        complex_row(
            "vsip_vimag_f", [](Operands& o) { vsip_vimag_f(o.cplx[0], o.real[2]); },
            complex_form::imag),
        complex_row(
            "vsip_varg_f", [](Operands& o) { vsip_varg_f(o.cplx[0], o.real[2]); },
            complex_form::arg),
        complex_row(
            "vsip_vpolar_f", [](Operands& o) { vsip_vpolar_f(o.cplx[0], o.real[2], o.real[3]); },
            complex_form::polar),
        complex_row(
            "vsip_vrect_f", [](Operands& o) { vsip_vrect_f(o.real[0], o.real[1], o.cplx[2]); },
            complex_form::rect),
    };
}

} // namespace

int main() {
    qvsip::bench::comparison_table table = qvsip::bench::comparison_table_against("plain");
    for (const Benchmark& b : benchmarks())
        for (const std::size_t n : kLengths) {
            if (!qvsip::bench::within_length_limit(n)) continue;
            Operands o(n);
            for (const int threads : kThreads)
                qvsip::bench::compare(
                    table, b.name, n, threads, [&] { b.ours(o); }, [&] { b.theirs(o); },
                    qvsip::bench::samples_for(n));
        }
    QVSIP_SetOmpThreadNum(1);
    return 0;
}
