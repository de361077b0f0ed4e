// Real and complex matrix forms of the common element-wise arithmetic.
#include "vsip/elementwise/complex_arith.hpp"
#include "vsip/elementwise/matrix_driver.hpp"
#include "vsip/elementwise/standard_arith.hpp"

#include "qvsip.h"

using namespace qvsip::elementwise;

void vsip_madd_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, addition{}, R, A, B);
}

void vsip_msub_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, subtraction{}, R, A, B);
}

void vsip_mmul_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, multiplication{}, R, A, B);
}

void vsip_mdiv_f(const vsip_mview_f* A, const vsip_mview_f* B, const vsip_mview_f* R) {
    matrix_operation(real_matrix_paths, division{}, R, A, B);
}

void vsip_cmsub_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_subtract{}, R, A, B);
}

void vsip_cmmul_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, complex_multiply{}, R, A, B);
}

void vsip_cmjmul_f(const vsip_cmview_f* A, const vsip_cmview_f* B, const vsip_cmview_f* R) {
    matrix_operation(complex_matrix_paths, conjugate_multiply{}, R, A, B);
}
