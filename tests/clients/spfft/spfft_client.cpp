// Distributed 3-D transforms through SpFFT as shipped (c2c and r2c, sparse frequency sets split
// over the MPI ranks by z-stick), checked on every rank against a long-double oracle on the
// gathered data. Which FFTW 3 interface served SpFFT is read from the process and must be the
// one expected: --expect-ours (our library preloaded) or --expect-fftw.
#include <spfft/spfft.hpp>
#include <spfft/exceptions.hpp>

#include <fftw3.h>
#include <mpi.h>

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using cd = std::complex<double>;
using cl = std::complex<long double>;

constexpr int kNx = 64, kNy = 48, kNz = 40;
constexpr double kTolerance = 1e-10;
constexpr int kPasses = 5;

int g_rank = 0, g_size = 1;

// A value in [-1, 1) from a frequency triplet: the same on every rank count.
double noise(int x, int y, int z, unsigned salt) {
    std::uint64_t h = (std::uint64_t(unsigned(x + 1000)) << 42) ^
                      (std::uint64_t(unsigned(y + 1000)) << 21) ^ unsigned(z + 1000);
    h = (h ^ salt) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return double(h >> 11) * 0x1p-52 - 1.0;
}

// Coefficients of a real field are hermitian: (0, -y, -z) holds the conjugate of (0, y, z), so
// the x = 0 plane of an r2c set is consistent whichever half SpFFT reads.
cd coefficient(int x, int y, int z, bool real_field) {
    if (real_field && x == 0 && (y < 0 || (y == 0 && z < 0)))
        return std::conj(coefficient(0, -y, -z, true));
    double im = real_field && x == 0 && y == 0 && z == 0 ? 0.0 : noise(x, y, z, 2);
    return {noise(x, y, z, 1), im};
}

// Frequencies inside an ellipsoid of 0.9 of the half lengths (no Nyquist terms), x >= 0 for r2c.
bool in_set(int x, int y, int z, bool real_field) {
    double r = std::pow(2.0 * x / kNx, 2) + std::pow(2.0 * y / kNy, 2) + std::pow(2.0 * z / kNz, 2);
    return r <= 0.81 && (!real_field || x >= 0);
}

// z-sticks go to ranks by a hash of (x, y); xy-planes in uneven contiguous runs.
int stick_owner(int x, int y) {
    return int(((unsigned(x + kNx) * 73856093u) ^ (unsigned(y + kNy) * 19349663u)) % g_size);
}
int plane_start(int r) {
    return kNz * r * (r + g_size) / (2 * g_size * g_size);
}

std::size_t dense_index(int x, int y, int z) {
    auto wrap = [](int i, int n) { return std::size_t((i % n + n) % n); };
    return (wrap(z, kNz) * kNy + wrap(y, kNy)) * kNx + wrap(x, kNx);
}

struct Sums {
    double err2 = 0, ref2 = 0;
    void add(cl got, cl want) {
        err2 += double(std::norm(got - want));
        ref2 += double(std::norm(want));
    }
    double relative_rms() const {
        double v[2] = {err2, ref2}, g[2];
        MPI_Allreduce(v, g, 2, MPI_DOUBLE, MPI_SUM, MPI_COMM_WORLD);
        return std::sqrt(g[0] / g[1]);
    }
};

double max_over_ranks(double t) {
    double m;
    MPI_Allreduce(&t, &m, 1, MPI_DOUBLE, MPI_MAX, MPI_COMM_WORLD);
    return m;
}

// One transform: backward from this rank's sticks, compared with the oracle on its planes, then
// forward back to the sticks, compared with the input times the length (SpFFT does not scale
// unless asked). Returns true when both agree.
bool run(const spfft::Grid& grid, bool real_field) {
    const char* name = real_field ? "r2c" : "c2c";
    std::vector<int> indices;
    std::vector<cd> values;
    for (int x = -kNx / 2; x < kNx / 2; ++x)
        for (int y = -kNy / 2; y < kNy / 2; ++y)
            if (stick_owner(x, y) == g_rank)
                for (int z = -kNz / 2; z < kNz / 2; ++z)
                    if (in_set(x, y, z, real_field)) {
                        indices.insert(indices.end(), {x, y, z});
                        values.push_back(coefficient(x, y, z, real_field));
                    }
    const int count = int(values.size());
    const int z0 = plane_start(g_rank), nz_local = plane_start(g_rank + 1) - z0;

    double t0 = MPI_Wtime();
    spfft::Transform tr =
        grid.create_transform(SPFFT_PU_HOST, real_field ? SPFFT_TRANS_R2C : SPFFT_TRANS_C2C, kNx,
                              kNy, kNz, nz_local, count, SPFFT_INDEX_TRIPLETS, indices.data());
    const double t_create = MPI_Wtime() - t0;
    // Each pass gives the same results; the last is checked, the best times are reported.
    std::vector<double> space;
    std::vector<cd> back(values.size());
    double t_backward = 1e30, t_forward = 1e30;
    for (int pass = 0; pass < kPasses; ++pass) {
        t0 = MPI_Wtime();
        tr.backward(reinterpret_cast<const double*>(values.data()), SPFFT_PU_HOST);
        t_backward = std::min(t_backward, MPI_Wtime() - t0);
        // Copied before forward runs: SpFFT may work in the space domain.
        const double* slice = tr.space_domain_data(SPFFT_PU_HOST);
        space.assign(slice, slice + std::size_t(tr.local_slice_size()) * (real_field ? 1 : 2));
        t0 = MPI_Wtime();
        tr.forward(SPFFT_PU_HOST, reinterpret_cast<double*>(back.data()), SPFFT_NO_SCALING);
        t_forward = std::min(t_forward, MPI_Wtime() - t0);
    }

    bool ok = tr.local_z_offset() == z0 && tr.local_z_length() == nz_local &&
              tr.local_slice_size() == kNx * kNy * nz_local;

    // Every rank gathers all sticks and builds the dense spectrum (conjugates fill x < 0 for r2c).
    std::vector<int> counts(g_size), displs(g_size);
    MPI_Allgather(&count, 1, MPI_INT, counts.data(), 1, MPI_INT, MPI_COMM_WORLD);
    int total = 0;
    for (int r = 0; r < g_size; ++r)
        displs[r] = total, total += counts[r];
    std::vector<int> all_indices(3 * std::size_t(total));
    std::vector<cd> all_values(total);
    std::vector<int> counts3(g_size), displs3(g_size);
    for (int r = 0; r < g_size; ++r)
        counts3[r] = 3 * counts[r], displs3[r] = 3 * displs[r];
    MPI_Allgatherv(indices.data(), 3 * count, MPI_INT, all_indices.data(), counts3.data(),
                   displs3.data(), MPI_INT, MPI_COMM_WORLD);
    MPI_Allgatherv(values.data(), count, MPI_C_DOUBLE_COMPLEX, all_values.data(), counts.data(),
                   displs.data(), MPI_C_DOUBLE_COMPLEX, MPI_COMM_WORLD);

    const std::size_t n = std::size_t(kNx) * kNy * kNz;
    cl* dense = static_cast<cl*>(fftwl_malloc(sizeof(cl) * n));
    std::fill(dense, dense + n, cl(0));
    for (int i = 0; i < total; ++i) {
        const int* t = &all_indices[3 * std::size_t(i)];
        cl v(all_values[i].real(), all_values[i].imag());
        dense[dense_index(t[0], t[1], t[2])] = v;
        if (real_field && t[0] > 0) dense[dense_index(-t[0], -t[1], -t[2])] = std::conj(v);
    }
    auto* p = reinterpret_cast<fftwl_complex*>(dense);
    fftwl_plan plan = fftwl_plan_dft_3d(kNz, kNy, kNx, p, p, FFTW_BACKWARD, FFTW_ESTIMATE);
    fftwl_execute(plan);
    fftwl_destroy_plan(plan);

    // Space domain: planes z0 .. z0 + nz_local, x fastest; real values for r2c.
    Sums space_err, freq_err;
    const std::size_t first = std::size_t(z0) * kNx * kNy;
    for (std::size_t i = 0; i < std::size_t(nz_local) * kNx * kNy; ++i) {
        cl got = real_field ? cl(space[i]) : cl(space[2 * i], space[2 * i + 1]);
        space_err.add(got, real_field ? cl(dense[first + i].real()) : dense[first + i]);
    }
    for (int i = 0; i < count; ++i)
        freq_err.add(cl(back[i].real(), back[i].imag()),
                     cl(values[i].real(), values[i].imag()) * (long double)(n));
    fftwl_free(dense);

    double e_space = space_err.relative_rms(), e_freq = freq_err.relative_rms();
    int bad = !ok || !(e_space < kTolerance) || !(e_freq < kTolerance), any_bad;
    MPI_Allreduce(&bad, &any_bad, 1, MPI_INT, MPI_MAX, MPI_COMM_WORLD);
    if (bad)
        std::printf("rank %d %s: z offset %d length %d slice %d (want %d %d)\n", g_rank, name,
                    tr.local_z_offset(), tr.local_z_length(), tr.local_slice_size(), z0, nz_local);
    double tc = max_over_ranks(t_create), tb = max_over_ranks(t_backward),
           tf = max_over_ranks(t_forward);
    if (g_rank == 0)
        std::printf("%s %dx%dx%d, %d of %zu frequencies on %d ranks: space rel rms %.2e, "
                    "round trip rel rms %.2e %s; create %.3f ms, best of %d backward %.3f ms, "
                    "forward %.3f ms\n",
                    name, kNx, kNy, kNz, total, n, g_size, e_space, e_freq,
                    any_bad ? "FAILED" : "ok", tc * 1e3, kPasses, tb * 1e3, tf * 1e3);
    return !any_bad;
}

// The library whose fftw_version the process resolves, and whether it is the expected one.
bool check_interface(bool expect_ours) {
    const char* version = static_cast<const char*>(dlsym(RTLD_DEFAULT, "fftw_version"));
    void* planner = dlsym(RTLD_DEFAULT, "fftw_plan_many_dft");
    Dl_info vi{}, pi{};
    bool found = version && planner && dladdr(version, &vi) && dladdr(planner, &pi);
    const char* marker = expect_ours ? "qvsip-" : "fftw-3";
    bool ok = found && std::strncmp(version, marker, std::strlen(marker)) == 0 &&
              std::strcmp(vi.dli_fname, pi.dli_fname) == 0;
    std::printf("rank %d: fftw_version \"%s\" from %s, fftw_plan_many_dft from %s: %s\n", g_rank,
                version ? version : "(none)", found ? vi.dli_fname : "?",
                found ? pi.dli_fname : "?", ok ? "as expected" : "NOT AS EXPECTED");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    MPI_Init(&argc, &argv);
    MPI_Comm_rank(MPI_COMM_WORLD, &g_rank);
    MPI_Comm_size(MPI_COMM_WORLD, &g_size);
    const bool expect_ours = argc == 2 && std::strcmp(argv[1], "--expect-ours") == 0;
    if (!expect_ours && !(argc == 2 && std::strcmp(argv[1], "--expect-fftw") == 0)) {
        if (g_rank == 0) std::fprintf(stderr, "usage: %s --expect-ours|--expect-fftw\n", argv[0]);
        MPI_Finalize();
        return 2;
    }

    int ok = check_interface(expect_ours);
    try {
        // One grid serves both transforms: room for the r2c or c2c sticks of this rank (an upper
        // bound: all of its sticks of the box) and the largest run of planes.
        int sticks = 0, max_planes = 0;
        for (int x = -kNx / 2; x < kNx / 2; ++x)
            for (int y = -kNy / 2; y < kNy / 2; ++y)
                sticks += stick_owner(x, y) == g_rank;
        for (int r = 0; r < g_size; ++r)
            max_planes = std::max(max_planes, plane_start(r + 1) - plane_start(r));
        spfft::Grid grid(kNx, kNy, kNz, sticks, max_planes, SPFFT_PU_HOST, 1, MPI_COMM_WORLD,
                         SPFFT_EXCH_DEFAULT);
        ok &= run(grid, false);
        ok &= run(grid, true);
    } catch (const spfft::GenericError& e) {
        std::printf("rank %d: %s (code %d)\n", g_rank, e.what(), int(e.error_code()));
        MPI_Abort(MPI_COMM_WORLD, 1);
    }
    int all_ok;
    MPI_Allreduce(&ok, &all_ok, 1, MPI_INT, MPI_MIN, MPI_COMM_WORLD);
    MPI_Finalize();
    return all_ok ? 0 : 1;
}
