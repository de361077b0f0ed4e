// A complex sum held in two floats, and its combination into a sum shared by the threads of a
// parallel region: inside libgomp's atomic section, the lock behind "#pragma omp atomic" on
// values it cannot update in one instruction.
#pragma once

extern "C" {
void GOMP_atomic_start(void);
void GOMP_atomic_end(void);
}

namespace qvsip {

struct complex_sum {
    float re = 0, im = 0;
    void add(complex_sum other) {
        re += other.re;
        im += other.im;
    }
};

// Adds one thread's partial to the shared pair, both parts under the one lock.
inline void add_atomically(complex_sum& shared, complex_sum partial) {
    GOMP_atomic_start();
    shared.add(partial);
    GOMP_atomic_end();
}

} // namespace qvsip
