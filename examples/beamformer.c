/*
 * A narrowband FFT beamformer with matrix views and a multiple FFT object, written as a standard
 * VSIPL program.
 *
 * A line of 32 sensors half a wavelength apart records 256 snapshots of two plane waves and
 * noise: one row per sensor, one column per snapshot. An FFT down every column (vsip_ccfftmop_f
 * with VSIP_COL, scaled by 1/32 so that a unit plane wave gives a unit beam) turns each snapshot
 * into 32 beams; beam b looks towards sin(angle) = 2 b / 32 (b taken in -16 .. 15). The mean
 * power of each beam over the snapshots, a row view of the magnitudes, shows the sources. The
 * program prints the two strongest beams against the true arrival angles and exits with status 1
 * unless they are the sources' beams with the expected power ratio.
 */
#include <math.h>
#include <stdio.h>

#include <vsip.h>

#define SENSORS 32
#define SNAPSHOTS 256
#define SOURCES 2

static const int source_beam[SOURCES] = {5, -9}; /* sin(angle) = 2 beam / SENSORS */
static const double source_amplitude[SOURCES] = {1.0, 0.5};
static const double noise_level = 0.5; /* per sensor, per component */

static double degrees_of_beam(int beam) {
    return asin(2.0 * beam / SENSORS) * 180.0 / VSIP_PI;
}

/* Beams above SENSORS / 2 look the other way. */
static int signed_beam(vsip_index row) {
    return row < SENSORS / 2 ? (int)row : (int)row - SENSORS;
}

/* Uniform noise in [-level, level] from a linear congruential generator. */
static double noise(unsigned* state) {
    *state = *state * 1103515245u + 12345u;
    return noise_level * (2.0 * (*state >> 8) / 16777216.0 - 1.0);
}

/* Sensor m sees source s with the phase 2 pi m beam_s / SENSORS plus a random phase per
 * snapshot. */
static void record(vsip_cmview_f* data) {
    unsigned state = 99u;
    vsip_index m, k;
    int s;
    for (k = 0; k < SNAPSHOTS; ++k) {
        double phase[SOURCES];
        for (s = 0; s < SOURCES; ++s)
            phase[s] = VSIP_PI * noise(&state) / noise_level;
        for (m = 0; m < SENSORS; ++m) {
            double re = noise(&state), im = noise(&state);
            for (s = 0; s < SOURCES; ++s) {
                const double angle =
                    2.0 * VSIP_PI * (double)m * source_beam[s] / SENSORS + phase[s];
                re += source_amplitude[s] * cos(angle);
                im += source_amplitude[s] * sin(angle);
            }
            vsip_cmput_f(data, m, k, vsip_cmplx_f((vsip_scalar_f)re, (vsip_scalar_f)im));
        }
    }
}

/* Mean power of each beam over the snapshots into power. */
static void beam_power(const vsip_cmview_f* beams, vsip_mview_f* magnitude, vsip_vview_f* power) {
    vsip_index b;
    vsip_cmmag_f(beams, magnitude);
    for (b = 0; b < SENSORS; ++b) {
        vsip_vview_f* row = vsip_mrowview_f(magnitude, b);
        vsip_vput_f(power, b, vsip_vmeansqval_f(row));
        vsip_vdestroy_f(row);
    }
}

/* Prints the two strongest beams; 1 when they are the sources' beams, in order, with the
 * second's power a quarter of the first's within 1 dB. */
static int report(vsip_vview_f* power) {
    vsip_index strongest, second;
    vsip_scalar_f first_power, second_power;
    double ratio_db;
    first_power = vsip_vmaxmgval_f(power, &strongest);
    vsip_vput_f(power, strongest, 0.0f);
    second_power = vsip_vmaxmgval_f(power, &second);
    vsip_vput_f(power, strongest, first_power);
    ratio_db = 10.0 * log10(second_power / first_power);
    printf("beamformer: %d sensors, %d snapshots, FFT down each column\n", SENSORS, SNAPSHOTS);
    printf("  strongest beam %3d: %+6.1f degrees (true %+6.1f), power %.2f\n",
           signed_beam(strongest), degrees_of_beam(signed_beam(strongest)),
           degrees_of_beam(source_beam[0]), first_power);
    printf("  second beam    %3d: %+6.1f degrees (true %+6.1f), power %.2f, %.1f dB down\n",
           signed_beam(second), degrees_of_beam(signed_beam(second)),
           degrees_of_beam(source_beam[1]), second_power, -ratio_db);
    return signed_beam(strongest) == source_beam[0] && signed_beam(second) == source_beam[1] &&
           fabs(ratio_db - 20.0 * log10(source_amplitude[1] / source_amplitude[0])) < 1.0;
}

int main(void) {
    vsip_cmview_f *data, *beams;
    vsip_mview_f* magnitude;
    vsip_vview_f* power;
    vsip_fftm_f* fft;
    int ok;
    if (vsip_init(NULL) != 0) return 1;
    /* Row-major storage: each column, one snapshot, is strided; the FFT object takes it as is. */
    data = vsip_cmcreate_f(SENSORS, SNAPSHOTS, VSIP_ROW, VSIP_MEM_NONE);
    beams = vsip_cmcreate_f(SENSORS, SNAPSHOTS, VSIP_ROW, VSIP_MEM_NONE);
    magnitude = vsip_mcreate_f(SENSORS, SNAPSHOTS, VSIP_ROW, VSIP_MEM_NONE);
    power = vsip_vcreate_f(SENSORS, VSIP_MEM_NONE);
    fft = vsip_ccfftmop_create_f(SENSORS, SNAPSHOTS, 1.0f / SENSORS, VSIP_FFT_FWD, VSIP_COL, 1,
                                 VSIP_ALG_TIME);
    ok = data && beams && magnitude && power && fft;
    if (ok) {
        record(data);
        vsip_ccfftmop_f(fft, data, beams);
        beam_power(beams, magnitude, power);
        ok = report(power);
    }
    puts(ok ? "self-check passed" : "self-check FAILED");
    vsip_fftm_destroy_f(fft);
    vsip_cmalldestroy_f(data);
    vsip_cmalldestroy_f(beams);
    vsip_malldestroy_f(magnitude);
    vsip_valldestroy_f(power);
    vsip_finalize(NULL);
    return ok ? 0 : 1;
}
