# Complex matrix product and transpose against plain loops.
qvsip_add_bench(bench_matrix SOURCES bench_matrix.cpp PLAIN_LOOPS bench_matrix_plain.cpp)
