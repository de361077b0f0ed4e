// Every solver family the registry is made of.
#pragma once

#include "fft/solvers/c2c_1d.hpp"
#include "fft/solvers/c2c_1d_prime.hpp"
#include "fft/solvers/dft_direct.hpp"
#include "fft/solvers/dft_small_prime.hpp"
#include "fft/solvers/data_movement.hpp"
#include "fft/solvers/c2c_1d_large.hpp"
#include "fft/solvers/dft_many.hpp"
#include "fft/solvers/r2c_1d.hpp"
#include "fft/solvers/r2c_direct.hpp"
#include "fft/solvers/r2r_1d.hpp"
#include "fft/solvers/multidimension.hpp"
#include "fft/solvers/split.hpp"
