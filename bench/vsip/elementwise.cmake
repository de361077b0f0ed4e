qvsip_add_bench(bench_elementwise
    SOURCES bench_elementwise.cpp
    PLAIN_LOOPS_BY_WIDTH bench_elementwise_plain.cpp)
