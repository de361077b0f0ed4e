/* Every function of the FFTW 3 interface in one precision (CONFORMANCE_SINGLE selects the
   single one), printing one line per result so that two runs can be compared line by line:
   "name v v ..." numeric lines, "= ..." lines that must match exactly, "# ..." lines that
   may differ between implementations (text between "#begin" and "#end" likewise). */
#define _POSIX_C_SOURCE 200809L
#include <fftw3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#ifdef CONFORMANCE_SINGLE
#define X(name) fftwf_##name
typedef float R;
#define FMT " %.9g"
#else
#define X(name) fftw_##name
typedef double R;
#define FMT " %.17g"
#endif
typedef X(complex) C;
typedef X(r2r_kind) K;

enum { BUF = 4096 };
enum api { BASIC, ND, MANY, GURU, GURU64 };
enum fam { DFT, SDFT, R2C, SR2C, C2R, SC2R, R2R };

/* One problem. BASIC (the rank's own planner), ND and MANY read n and the advanced layout;
   GURU and GURU64 read d and h. Offsets are in reals from the buffer start, of the real and
   the imaginary values; the first `on` reals of the output buffer are printed, in rows of `row` of
   which the first `used` are output (the rest of a padded in-place row is the planner's scratch).
 */
typedef struct {
    const char* name;
    int api, fam, rank, n[6];
    int howmany, is, id, os, od;
    const int *ie, *oe;
    int hrank;
    X(iodim) d[6], h[6];
    int inplace, back, exact, nt;
    /* Planner flags; none means FFTW_ESTIMATE, or FFTW_MEASURE (0) where `measured` is set:
     * the original library's measuring is slow under an emulator, so few cases ask for it. */
    unsigned flags;
    int measured;
    K k[6];
    int io[2], oo[2], on, row, used;
} problem;

static R* buf[5]; /* input, output, the second pair for new-array execution, a copy */

static unsigned long long seed;
static R lcg(void) {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return (R)((double)(seed >> 11) / 9007199254740992.0 * 2 - 1);
}

static X(plan) plan(const problem* c, R* in, R* out) {
    R *a = in + c->io[0], *ai = in + c->io[1], *b = out + c->oo[0], *bi = out + c->oo[1];
    C *ca = (C*)a, *cb = (C*)b;
    const int* n = c->n;
    const int s = c->back ? FFTW_BACKWARD : FFTW_FORWARD, r = c->rank, hr = c->hrank;
    const unsigned f = c->flags || c->measured ? c->flags : FFTW_ESTIMATE;
    X(iodim64) d[6], h[6];
    int i;
    if (c->fam == SDFT && c->back) { /* backward: real and imaginary arrays swap roles */
        R* t = a;
        a = ai, ai = t, t = b, b = bi, bi = t;
    }
    for (i = 0; i < 6; ++i) {
        d[i].n = c->d[i].n, d[i].is = c->d[i].is, d[i].os = c->d[i].os;
        h[i].n = c->h[i].n, h[i].is = c->h[i].is, h[i].os = c->h[i].os;
    }
#define GURU_PLANS(G, D, H)                                                                        \
    switch (c->fam) {                                                                              \
    case DFT:                                                                                      \
        return X(G##_dft)(r, D, hr, H, ca, cb, s, f);                                              \
    case SDFT:                                                                                     \
        return X(G##_split_dft)(r, D, hr, H, a, ai, b, bi, f);                                     \
    case R2C:                                                                                      \
        return X(G##_dft_r2c)(r, D, hr, H, a, cb, f);                                              \
    case SR2C:                                                                                     \
        return X(G##_split_dft_r2c)(r, D, hr, H, a, b, bi, f);                                     \
    case C2R:                                                                                      \
        return X(G##_dft_c2r)(r, D, hr, H, ca, b, f);                                              \
    case SC2R:                                                                                     \
        return X(G##_split_dft_c2r)(r, D, hr, H, a, ai, b, f);                                     \
    default:                                                                                       \
        return X(G##_r2r)(r, D, hr, H, a, b, c->k, f);                                             \
    }
    switch (c->api) {
    case BASIC:
        switch (c->fam * 4 + r) {
        case DFT * 4 + 1:
            return X(plan_dft_1d)(n[0], ca, cb, s, f);
        case DFT * 4 + 2:
            return X(plan_dft_2d)(n[0], n[1], ca, cb, s, f);
        case DFT * 4 + 3:
            return X(plan_dft_3d)(n[0], n[1], n[2], ca, cb, s, f);
        case R2C * 4 + 1:
            return X(plan_dft_r2c_1d)(n[0], a, cb, f);
        case R2C * 4 + 2:
            return X(plan_dft_r2c_2d)(n[0], n[1], a, cb, f);
        case R2C * 4 + 3:
            return X(plan_dft_r2c_3d)(n[0], n[1], n[2], a, cb, f);
        case C2R * 4 + 1:
            return X(plan_dft_c2r_1d)(n[0], ca, b, f);
        case C2R * 4 + 2:
            return X(plan_dft_c2r_2d)(n[0], n[1], ca, b, f);
        case C2R * 4 + 3:
            return X(plan_dft_c2r_3d)(n[0], n[1], n[2], ca, b, f);
        case R2R * 4 + 1:
            return X(plan_r2r_1d)(n[0], a, b, c->k[0], f);
        case R2R * 4 + 2:
            return X(plan_r2r_2d)(n[0], n[1], a, b, c->k[0], c->k[1], f);
        case R2R * 4 + 3:
            return X(plan_r2r_3d)(n[0], n[1], n[2], a, b, c->k[0], c->k[1], c->k[2], f);
        }
        return NULL;
    case ND:
        switch (c->fam) {
        case DFT:
            return X(plan_dft)(r, n, ca, cb, s, f);
        case R2C:
            return X(plan_dft_r2c)(r, n, a, cb, f);
        case C2R:
            return X(plan_dft_c2r)(r, n, ca, b, f);
        default:
            return X(plan_r2r)(r, n, a, b, c->k, f);
        }
    case MANY:
        switch (c->fam) {
        case DFT:
            return X(plan_many_dft)(r, n, c->howmany, ca, c->ie, c->is, c->id, cb, c->oe, c->os,
                                    c->od, s, f);
        case R2C:
            return X(plan_many_dft_r2c)(r, n, c->howmany, a, c->ie, c->is, c->id, cb, c->oe, c->os,
                                        c->od, f);
        case C2R:
            return X(plan_many_dft_c2r)(r, n, c->howmany, ca, c->ie, c->is, c->id, b, c->oe, c->os,
                                        c->od, f);
        default:
            return X(plan_many_r2r)(r, n, c->howmany, a, c->ie, c->is, c->id, b, c->oe, c->os,
                                    c->od, c->k, f);
        }
    case GURU:
        GURU_PLANS(plan_guru, c->d, c->h)
    default:
        GURU_PLANS(plan_guru64, d, h)
    }
}

static void execute_new(const problem* c, X(plan) p, R* in, R* out) {
    R *a = in + c->io[0], *ai = in + c->io[1], *b = out + c->oo[0], *bi = out + c->oo[1];
    switch (c->fam) {
    case DFT:
        X(execute_dft)(p, (C*)a, (C*)b);
        break;
    case SDFT:
        if (c->back)
            X(execute_split_dft)(p, ai, a, bi, b);
        else
            X(execute_split_dft)(p, a, ai, b, bi);
        break;
    case R2C:
        X(execute_dft_r2c)(p, a, (C*)b);
        break;
    case SR2C:
        X(execute_split_dft_r2c)(p, a, b, bi);
        break;
    case C2R:
        X(execute_dft_c2r)(p, (C*)a, b);
        break;
    case SC2R:
        X(execute_split_dft_c2r)(p, a, ai, b);
        break;
    default:
        X(execute_r2r)(p, a, b);
    }
}

/* Random input; a complex-to-real problem gets the transform of a random real array by the
   real-to-complex problem of the same layout read backwards, so that its input is Hermitian. */
static int prepare(const problem* c, R* in, R* out) {
    int i;
    seed = 12345;
    if (c->fam == C2R || c->fam == SC2R) {
        problem t = *c;
        X(plan) p;
        t.fam = c->fam == C2R ? R2C : SR2C;
        t.flags = FFTW_ESTIMATE;
        t.io[0] = c->oo[0], t.io[1] = c->oo[1], t.oo[0] = c->io[0], t.oo[1] = c->io[1];
        t.is = c->os, t.id = c->od, t.ie = c->oe, t.os = c->is, t.od = c->id, t.oe = c->ie;
        for (i = 0; i < 6; ++i) {
            t.d[i].is = c->d[i].os, t.d[i].os = c->d[i].is;
            t.h[i].is = c->h[i].os, t.h[i].os = c->h[i].is;
        }
        for (i = 0; i < BUF; ++i)
            out[i] = lcg(), in[i] = in == out ? in[i] : 0;
        if (!(p = plan(&t, out, in))) return 0;
        X(execute)(p);
        X(destroy_plan)(p);
    } else
        for (i = 0; i < BUF; ++i)
            in[i] = lcg();
    if (in != out) memset(out, 0, BUF * sizeof(R));
    return 1;
}

static void print(const problem* c, const char* suffix, const R* out) {
    int i;
    printf("%s%s%s", c->exact ? "= " : "", c->name, suffix);
    for (i = 0; i < c->on; ++i)
        if (!c->row || i % c->row < c->used) printf(FMT, (double)out[i]);
    printf("\n");
}

static void run(const problem* c) {
    X(plan) p;
    int pass;
    X(plan_with_nthreads)(c->nt ? c->nt : 1);
    p = plan(c, buf[0], c->inplace ? buf[0] : buf[1]);
    /* Without wisdom FFTW makes no wisdom-only plan; ours plans anyway, having no wisdom to
     * require. Either answer is allowed: the verdict is information only. */
    if (c->flags & FFTW_WISDOM_ONLY) {
        printf("# %s %s\n", c->name, p ? "planned" : "null plan");
        X(destroy_plan)(p);
        return;
    }
    if (!p) {
        printf("= %s null plan\n", c->name);
        return;
    }
    for (pass = 0; pass < 2; ++pass) {
        R *in = buf[2 * pass], *out = c->inplace ? in : buf[2 * pass + 1];
        if (!prepare(c, in, out)) {
            printf("= %s input not prepared\n", c->name);
            break;
        }
        memcpy(buf[4], in, BUF * sizeof(R));
        if (pass == 0)
            X(execute)(p);
        else
            execute_new(c, p, in, out);
        print(c, pass ? " new-array" : "", out);
        if ((c->flags & FFTW_PRESERVE_INPUT) && !c->inplace)
            printf("= %s input preserved %s\n", c->name,
                   memcmp(buf[4], in, BUF * sizeof(R)) ? "no" : "yes");
    }
    X(destroy_plan)(p);
}

#define E FFTW_ESTIMATE
#define P(...) ((const int[]){__VA_ARGS__})
/* clang-format off */
static const problem cases[] = {
    /* Basic planners, every rank, both directions, in and out of place. */
    {"dft-1d-16", BASIC, DFT, 1, {16}, .measured = 1, .on = 32},
    {"dft-1d-17-back-inplace", BASIC, DFT, 1, {17}, .back = 1, .inplace = 1, .on = 34},
    {"dft-1d-1", BASIC, DFT, 1, {1}, .on = 2},
    {"dft-2d-6x5-patient", BASIC, DFT, 2, {6, 5}, .flags = FFTW_PATIENT, .on = 60},
    {"dft-3d-3x4x5-back", BASIC, DFT, 3, {3, 4, 5}, .back = 1, .flags = E, .on = 120},
    {"dft-nd-2x3x2x4", ND, DFT, 4, {2, 3, 2, 4}, .on = 96},
    {"dft-nd-1x7x1-inplace", ND, DFT, 3, {1, 7, 1}, .inplace = 1, .on = 14},
    {"r2c-1d-15", BASIC, R2C, 1, {15}, .measured = 1, .on = 16},
    {"r2c-1d-16-inplace", BASIC, R2C, 1, {16}, .inplace = 1, .on = 18},
    {"r2c-2d-5x6-destroy", BASIC, R2C, 2, {5, 6}, .flags = FFTW_DESTROY_INPUT, .on = 40},
    {"r2c-3d-3x4x7-inplace", BASIC, R2C, 3, {3, 4, 7}, .inplace = 1, .on = 96},
    {"r2c-nd-2x3x2x4", ND, R2C, 4, {2, 3, 2, 4}, .on = 72},
    {"c2r-1d-15-preserve", BASIC, C2R, 1, {15}, .flags = FFTW_PRESERVE_INPUT, .on = 15},
    {"c2r-1d-16-inplace", BASIC, C2R, 1, {16}, .inplace = 1, .measured = 1, .on = 16},
    {"c2r-2d-4x6", BASIC, C2R, 2, {4, 6}, .flags = E, .on = 24},
    {"c2r-3d-3x4x5-inplace", BASIC, C2R, 3, {3, 4, 5}, .inplace = 1, .on = 72, .row = 6, .used = 5},
    {"c2r-nd-2x3x2x4", ND, C2R, 4, {2, 3, 2, 4}, .on = 48},
    {"c2r-2d-preserve", BASIC, C2R, 2, {4, 6}, .flags = FFTW_PRESERVE_INPUT, .on = 24},
    {"r2r-r2hc-9", BASIC, R2R, 1, {9}, .k = {FFTW_R2HC}, .on = 9},
    {"r2r-hc2r-8", BASIC, R2R, 1, {8}, .k = {FFTW_HC2R}, .on = 8},
    {"r2r-dht-7-inplace", BASIC, R2R, 1, {7}, .k = {FFTW_DHT}, .inplace = 1, .on = 7},
    {"r2r-redft00-9", BASIC, R2R, 1, {9}, .k = {FFTW_REDFT00}, .on = 9},
    {"r2r-redft01-8", BASIC, R2R, 1, {8}, .k = {FFTW_REDFT01}, .on = 8},
    {"r2r-redft10-6", BASIC, R2R, 1, {6}, .k = {FFTW_REDFT10}, .on = 6},
    {"r2r-redft11-5", BASIC, R2R, 1, {5}, .k = {FFTW_REDFT11}, .on = 5},
    {"r2r-rodft00-7", BASIC, R2R, 1, {7}, .k = {FFTW_RODFT00}, .on = 7},
    {"r2r-rodft01-8", BASIC, R2R, 1, {8}, .k = {FFTW_RODFT01}, .on = 8},
    {"r2r-rodft10-9", BASIC, R2R, 1, {9}, .k = {FFTW_RODFT10}, .on = 9},
    {"r2r-rodft11-12", BASIC, R2R, 1, {12}, .k = {FFTW_RODFT11}, .on = 12},
    {"r2r-2d-5x6", BASIC, R2R, 2, {5, 6}, .k = {FFTW_REDFT10, FFTW_RODFT11}, .on = 30},
    {"r2r-3d-3x4x5-inplace", BASIC, R2R, 3, {3, 4, 5}, .k = {FFTW_DHT, FFTW_R2HC, FFTW_REDFT01},
     .inplace = 1, .on = 60},
    {"r2r-nd-2x3x2x4", ND, R2R, 4, {2, 3, 2, 4},
     .k = {FFTW_HC2R, FFTW_REDFT00, FFTW_RODFT00, FFTW_RODFT10}, .on = 48},
    {"dft-1d-101-prime", BASIC, DFT, 1, {101}, .on = 202},
    {"dft-1d-1000", BASIC, DFT, 1, {1000}, .back = 1, .flags = E, .on = 2000},
    {"r2c-1d-97-prime", BASIC, R2C, 1, {97}, .on = 98},
    {"r2c-2d-5x1", BASIC, R2C, 2, {5, 1}, .on = 10},
    {"c2r-1d-13-inplace", BASIC, C2R, 1, {13}, .inplace = 1, .on = 13},
    {"c2r-1d-12-destroy", BASIC, C2R, 1, {12}, .flags = FFTW_DESTROY_INPUT, .on = 12},
    {"c2r-2d-3x1-inplace", BASIC, C2R, 2, {3, 1}, .inplace = 1, .on = 6, .row = 2, .used = 1},
    {"r2r-redft00-2", BASIC, R2R, 1, {2}, .k = {FFTW_REDFT00}, .on = 2},
    {"r2r-rodft00-1", BASIC, R2R, 1, {1}, .k = {FFTW_RODFT00}, .on = 1},
    {"r2r-hc2r-1", BASIC, R2R, 1, {1}, .k = {FFTW_HC2R}, .on = 1},
    /* The advanced interface: batches, strides, distances and embeddings. */
    {"many-dft-interleaved", MANY, DFT, 1, {8}, 3, 3, 1, 1, 8, .on = 48},
    {"many-dft-embedded", MANY, DFT, 2, {4, 5}, 2, 1, 42, 1, 20, P(6, 7), .on = 80},
    {"many-dft-rank0", MANY, DFT, 0, {0}, 5, 1, 1, 1, 1, .exact = 1, .on = 10},
    {"many-r2c-inplace", MANY, R2C, 2, {4, 6}, 3, 1, 32, 1, 16, .inplace = 1, .on = 96},
    {"many-r2c-strided", MANY, R2C, 1, {10}, 2, 2, 1, 1, 6, .on = 24},
    {"many-c2r", MANY, C2R, 2, {4, 6}, 2, 1, 16, 1, 24, .on = 48},
    {"many-c2r-inplace", MANY, C2R, 2, {4, 6}, 2, 1, 16, 1, 32, .inplace = 1, .on = 64, .row = 8,
     .used = 6},
    {"many-r2r-strided", MANY, R2R, 1, {6}, 4, 4, 1, 1, 6, .k = {FFTW_REDFT10}, .on = 24},
    {"many-r2r-embedded", MANY, R2R, 2, {3, 4}, 2, 1, 30, 2, 1, P(5, 6), P(3, 4),
     .k = {FFTW_DHT, FFTW_RODFT01}, .on = 24},
    {"many-dft-back-howmany0", MANY, DFT, 1, {8}, 0, 1, 8, 1, 8, .back = 1, .on = 16},
    {"many-r2r-hc2r-batch-inplace", MANY, R2R, 1, {7}, 3, 3, 1, 3, 1, .k = {FFTW_HC2R},
     .inplace = 1, .on = 21},
    /* The guru interface (every case also through the 64-bit one). */
    {"guru-dft-batch", GURU, DFT, 1, .d = {{12, 1, 1}}, .hrank = 1, .h = {{3, 12, 12}}, .on = 72},
    {"guru-dft-negative", GURU, DFT, 1, .d = {{8, -1, 1}}, .io = {14, 15}, .on = 16},
    {"guru-dft-4-batch-dims", GURU, DFT, 1, .d = {{3, 1, 1}}, .hrank = 4,
     .h = {{2, 24, 24}, {2, 12, 12}, {2, 6, 6}, {2, 3, 3}}, .on = 96},
    {"guru-dft-4d-transposed", GURU, DFT, 4, .d = {{2, 24, 1}, {3, 8, 2}, {2, 4, 6}, {4, 1, 12}},
     .on = 96},
    {"guru-dft-length-1", GURU, DFT, 3, .d = {{1, 5, 5}, {5, 1, 1}, {1, 1, 1}}, .back = 1,
     .on = 10},
    {"guru-dft-unaligned", GURU, DFT, 1, .d = {{10, 1, 1}}, .io = {2, 3}, .oo = {2, 3},
     .flags = FFTW_UNALIGNED, .on = 22},
    {"guru-dft-rank0", GURU, DFT, 0, .hrank = 1, .h = {{5, 2, 1}}, .exact = 1, .on = 10},
    {"guru-dft-rank0-single", GURU, DFT, 0, .exact = 1, .on = 2},
    {"guru-dft-zero-stride-batch", GURU, DFT, 1, .d = {{4, 1, 1}}, .hrank = 1, .h = {{3, 0, 0}},
     .flags = E, .on = 8},
    {"guru-split-blocks", GURU, SDFT, 1, .d = {{10, 1, 1}}, .io = {0, 10}, .oo = {0, 10}, .on = 20},
    {"guru-split-interleaved-back", GURU, SDFT, 1, .d = {{10, 2, 2}}, .io = {0, 1}, .oo = {0, 1},
     .back = 1, .on = 20},
    {"guru-split-2d-inplace", GURU, SDFT, 2, .d = {{3, 4, 4}, {4, 1, 1}}, .io = {0, 12},
     .oo = {0, 12}, .inplace = 1, .on = 24},
    {"guru-r2c-batch", GURU, R2C, 1, .d = {{9, 2, 1}}, .hrank = 1, .h = {{2, 1, 5}}, .on = 20},
    {"guru-r2c-negative", GURU, R2C, 1, .d = {{8, -1, 1}}, .io = {7}, .on = 10},
    {"guru-r2c-2d-inplace", GURU, R2C, 2, .d = {{4, 8, 4}, {6, 1, 1}}, .inplace = 1, .on = 32},
    {"guru-r2c-unaligned", GURU, R2C, 1, .d = {{11, 1, 1}}, .io = {1}, .flags = FFTW_UNALIGNED,
     .on = 12},
    {"guru-r2c-inplace-gapped", GURU, R2C, 1, .d = {{8, 1, 2}}, .inplace = 1, .on = 18, .row = 4,
     .used = 2},
    {"guru-split-r2c", GURU, SR2C, 1, .d = {{10, 1, 1}}, .hrank = 1, .h = {{2, 10, 12}},
     .oo = {0, 6}, .on = 24},
    {"guru-c2r-batch", GURU, C2R, 1, .d = {{9, 1, 2}}, .hrank = 1, .h = {{2, 5, 1}}, .on = 18},
    {"guru-c2r-2d-inplace", GURU, C2R, 2, .d = {{4, 4, 8}, {6, 1, 1}}, .inplace = 1, .on = 32,
     .row = 8, .used = 6},
    {"guru-c2r-negative", GURU, C2R, 1, .d = {{8, -1, 1}}, .io = {8}, .on = 8},
    {"guru-c2r-2d-preserve", GURU, C2R, 2, .d = {{4, 4, 6}, {6, 1, 1}},
     .flags = FFTW_PRESERVE_INPUT, .on = 24},
    {"guru-split-c2r", GURU, SC2R, 1, .d = {{10, 1, 1}}, .io = {0, 6}, .on = 10},
    {"guru-r2r-2d-transposed", GURU, R2R, 2, .d = {{5, 1, 6}, {6, 5, 1}},
     .k = {FFTW_RODFT00, FFTW_DHT}, .on = 30},
    {"guru-r2r-negative", GURU, R2R, 1, .d = {{7, -1, 1}}, .k = {FFTW_REDFT11}, .io = {6}, .on = 7},
    {"guru-r2r-rank0", GURU, R2R, 0, .hrank = 2, .h = {{2, 3, 1}, {3, 1, 2}}, .exact = 1, .on = 6},
    {"guru-dft-negative-batch", GURU, DFT, 1, .d = {{4, 1, 1}}, .hrank = 1, .h = {{3, -4, 4}},
     .io = {16, 17}, .on = 24},
    {"guru-split-negative", GURU, SDFT, 1, .d = {{6, -1, 1}}, .io = {5, 11}, .oo = {0, 6},
     .on = 12},
    {"guru-r2c-rank0", GURU, R2C, 0, .hrank = 1, .h = {{4, 1, 1}}, .exact = 1, .on = 8},
    {"guru-c2r-rank0", GURU, C2R, 0, .hrank = 1, .h = {{4, 1, 1}}, .exact = 1, .on = 4},
    {"guru-r2r-redft00-batch-inplace", GURU, R2R, 1, .d = {{5, 1, 1}}, .hrank = 1, .h = {{2, 5, 5}},
     .k = {FFTW_REDFT00}, .inplace = 1, .on = 10},
    {"guru-r2r-zero-stride-batch", GURU, R2R, 1, .d = {{6, 1, 1}}, .hrank = 1, .h = {{2, 0, 0}},
     .k = {FFTW_REDFT10}, .flags = E, .on = 6},
    {"guru-dft-2d-mixed-signs", GURU, DFT, 2, .d = {{3, 5, 1}, {5, -1, 3}}, .io = {8, 9},
     .on = 30},
    {"guru-r2c-2d-negative", GURU, R2C, 2, .d = {{4, -6, 4}, {6, 1, 1}}, .io = {18}, .on = 32},
    {"guru-c2r-2d-3-batch-dims", GURU, C2R, 2, .d = {{3, 4, 5}, {5, 1, 1}}, .hrank = 3,
     .h = {{2, 24, 30}, {2, 12, 15}, {1, 0, 0}}, .on = 60},
    {"guru-split-r2c-4d", GURU, SR2C, 4, .d = {{2, 24, 18}, {3, 8, 6}, {2, 4, 3}, {4, 1, 1}},
     .oo = {0, 36}, .on = 72},
    {"guru-split-c2r-4d", GURU, SC2R, 4, .d = {{2, 18, 24}, {3, 6, 8}, {2, 3, 4}, {4, 1, 1}},
     .io = {0, 36}, .on = 48},
    /* Problems without a plan. */
    {"dft-1d-zero-n", BASIC, DFT, 1, {0}, .flags = E, .on = 2},
    {"guru-split-c2r-2d-preserve", GURU, SC2R, 2, .d = {{4, 4, 6}, {6, 1, 1}}, .io = {0, 16},
     .flags = FFTW_PRESERVE_INPUT, .on = 24},
    {"r2r-redft00-1", BASIC, R2R, 1, {1}, .k = {FFTW_REDFT00}, .on = 1},
    {"guru-dft-inplace-strides-differ", GURU, DFT, 1, .d = {{8, 1, 2}}, .inplace = 1, .on = 32},
    {"guru-r2r-inplace-strides-differ", GURU, R2R, 1, .d = {{8, 2, 1}}, .k = {FFTW_R2HC},
     .inplace = 1, .on = 16},
    {"dft-1d-negative-n", BASIC, DFT, 1, {-4}, .flags = E, .on = 2},
    {"guru-dft-negative-rank", GURU, DFT, -1, .flags = E, .on = 2},
    {"many-dft-negative-howmany", MANY, DFT, 1, {4}, -1, 1, 4, 1, 4, .flags = E, .on = 2},
    {"dft-1d-wisdom-only", BASIC, DFT, 1, {64}, .flags = E | FFTW_WISDOM_ONLY, .on = 2},
    /* Threads. */
    {"threads-dft-2d-32x24", BASIC, DFT, 2, {32, 24}, .nt = 3, .on = 1536},
    {"threads-r2c-3d-8x6x10", BASIC, R2C, 3, {8, 6, 10}, .nt = 2, .flags = E, .on = 576},
    {"threads-dft-4d-2x3x2x4", ND, DFT, 4, {2, 3, 2, 4}, .nt = 2, .on = 96},
    {"threads-c2r-3d-16x12x10-inplace", BASIC, C2R, 3, {16, 12, 10}, .nt = 3, .inplace = 1,
     .on = 2304, .row = 12, .used = 10},
};
/* clang-format on */

/* A caller's loop for the planner's parallel work, run serially. */
static int jobs;
static void serial_loop(void* (*work)(char*), char* jobdata, size_t size, int n, void* data) {
    int i;
    (void)data;
    for (i = 0; i < n; ++i, ++jobs)
        work(jobdata + size * i);
}

/* Wisdom through the callbacks. */
static char text[1 << 18];
static size_t length, position;
static void put(char c, void* data) {
    (void)data;
    if (length + 1 < sizeof text) text[length++] = c, text[length] = 0;
}
static int get(void* data) {
    (void)data;
    return text[position] ? (unsigned char)text[position++] : EOF;
}

/* Whether two wisdom documents hold the same lines in any order (the order is the
   implementation's). */
static int cmp(const void* a, const void* b) {
    return strcmp(*(char* const*)a, *(char* const*)b);
}
static int same_lines(const char* a, const char* b) {
    char *t[2], **lines[2];
    size_t count[2], i, k;
    int same;
    for (k = 0; k < 2; ++k) {
        t[k] = strdup(k ? b : a);
        lines[k] = malloc((strlen(t[k]) + 1) * sizeof(char*));
        count[k] = 0;
        for (char* l = strtok(t[k], "\n"); l; l = strtok(NULL, "\n"))
            lines[k][count[k]++] = l;
        qsort(lines[k], count[k], sizeof(char*), cmp);
    }
    same = count[0] == count[1];
    for (i = 0; same && i < count[0]; ++i)
        same = !strcmp(lines[0][i], lines[1][i]);
    for (k = 0; k < 2; ++k)
        free(t[k]), free(lines[k]);
    return same;
}

static void wisdom(void) {
    char *first, *again, name[] = "/tmp/conformance-wisdom-XXXXXX";
    FILE* f = tmpfile();
    int fd = mkstemp(name);
    first = X(export_wisdom_to_string)();
    printf("#begin wisdom\n%s\n#end\n", first ? first : "(none)");
    printf("= wisdom import string %d\n", X(import_wisdom_from_string)(first));
    X(forget_wisdom)();
    printf("= wisdom import after forget %d\n", X(import_wisdom_from_string)(first));
    again = X(export_wisdom_to_string)();
    printf("= wisdom export after import equals %s\n", same_lines(first, again) ? "yes" : "no");
    X(export_wisdom)(put, NULL);
    printf("= wisdom callback export equals %s\n", same_lines(first, text) ? "yes" : "no");
    X(forget_wisdom)();
    printf("= wisdom callback import %d\n", X(import_wisdom)(get, NULL));
    X(export_wisdom_to_file)(f);
    rewind(f);
    X(forget_wisdom)();
    printf("= wisdom file import %d\n", X(import_wisdom_from_file)(f));
    fclose(f);
    if (fd >= 0) close(fd);
    printf("= wisdom filename export %d\n", X(export_wisdom_to_filename)(name));
    X(forget_wisdom)();
    printf("= wisdom filename import %d\n", X(import_wisdom_from_filename)(name));
    free(again);
    again = X(export_wisdom_to_string)();
    printf("= wisdom after all round trips equals %s\n", same_lines(first, again) ? "yes" : "no");
    remove(name);
    printf("= wisdom missing file import %d\n", X(import_wisdom_from_filename)(name));
    printf("= wisdom malformed import %d\n", X(import_wisdom_from_string)("(unterminated"));
    printf("= wisdom garbage import %d\n", X(import_wisdom_from_string)("garbage"));
    printf("= wisdom system import %d\n", X(import_system_wisdom)());
    free(first);
    free(again);
}

static void inspect(void) {
    C* z = X(alloc_complex)(64);
    R* r = X(alloc_real)(64);
    void* m = X(malloc)(100);
    X(plan) p = X(plan_dft_1d)(64, z, z, FFTW_FORWARD, FFTW_MEASURE);
    double add = -1, mul = -1, fma = -1;
    char* s;
    printf("= allocations %s\n", z && r && m ? "non-null" : "null");
    printf("= alignment_of %d %d %d\n", X(alignment_of)((R*)z), X(alignment_of)(r),
           X(alignment_of)(m));
    printf("# version %.11s\n# cc %s\n# codelet_optim %s\n", X(version), X(cc), X(codelet_optim));
    if (p) {
        printf("#begin print_plan\n");
        fflush(stdout);
        X(print_plan)(p);
        printf("\n");
        X(fprint_plan)(p, stdout);
        s = X(sprint_plan)(p);
        printf("\n#end\n= sprint_plan %s\n", s ? "non-null" : "null");
        if (s) printf("#begin sprint_plan\n%s\n#end\n", s);
        free(s);
        X(flops)(p, &add, &mul, &fma);
        printf("# flops %g %g %g\n# estimate_cost %g\n# cost %g\n", add, mul, fma,
               X(estimate_cost)(p), X(cost)(p));
        printf("= flops non-negative %s\n", add >= 0 && mul >= 0 && fma >= 0 ? "yes" : "no");
    }
    X(destroy_plan)(p);
    X(free)(z);
    X(free)(r);
    X(free)(m);
}

int main(void) {
    unsigned i;
    int ok = X(init_threads)();
    printf("= init_threads %s\n", ok ? "non-zero" : "zero");
    X(make_planner_thread_safe)();
    X(plan_with_nthreads)(3);
    printf("= planner_nthreads %d\n", X(planner_nthreads)());
    X(set_timelimit)(10.0);
    X(threads_set_callback)(serial_loop, NULL);
    for (i = 0; i < 5; ++i)
        buf[i] = X(alloc_real)(BUF);
    for (i = 0; i < sizeof cases / sizeof *cases; ++i) {
        run(&cases[i]);
        if (cases[i].api == GURU) {
            problem c = cases[i];
            char name[96];
            snprintf(name, sizeof name, "%s-64", c.name);
            c.name = name, c.api = GURU64;
            run(&c);
        }
    }
    X(plan_with_nthreads)(1);
    printf("# jobs run by the caller's loop %d\n", jobs);
    inspect();
    wisdom();
    for (i = 0; i < 5; ++i)
        X(free)(buf[i]);
    X(cleanup_threads)();
    X(cleanup)();
    return 0;
}
