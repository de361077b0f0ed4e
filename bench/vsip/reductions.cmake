qvsip_add_bench(bench_reductions SOURCES bench_reductions.cpp
                PLAIN_LOOPS bench_reductions_plain.cpp)
