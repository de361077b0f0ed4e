qvsip_add_bench(bench_standard_ops
    SOURCES bench_standard_ops.cpp
    PLAIN_LOOPS bench_standard_ops_plain.cpp)
