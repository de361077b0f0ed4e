qvsip_add_bench(bench_transcendental
    SOURCES bench_transcendental.cpp
    PLAIN_LOOPS bench_transcendental_plain.cpp)
