# Wrapper around CMake. `make check` builds and tests every configuration CI runs;
# `make quick` is the native Release build alone, for iterating.
JOBS ?= $(shell nproc)
BUILD_ROOT ?= build

# The Release build of the libraries and the shipped programs without the test suite: `make demo`
# and `make install` share it, so installing after the demo builds nothing again.
TOOLS_DIR = $(BUILD_ROOT)/release-tools
TOOLS_OPTIONS = -DCMAKE_BUILD_TYPE=Release -DQTX_BUILD_TESTS=OFF
# What `cmake --install` copies: the three libraries and qtx-plan.
INSTALLED_TARGETS = qvsip_fftf qvsip_fft qvsip qtx-plan

# The Debian packages each target needs (.ci/install-deps.sh lists the sets).
DEPS_SETS = demo quick check bench
DEPS_TARGETS = $(addprefix deps-,$(DEPS_SETS))

.PHONY: check quick demo deps $(DEPS_TARGETS) tools-tree install clean

deps: deps-check

$(DEPS_TARGETS):
	@bash .ci/install-deps.sh $(@:deps-%=%)

check: deps-check
	@bash .ci/check.sh $(BUILD_ROOT) $(JOBS) release asan tsan scalar aarch64

quick: deps-quick
	@bash .ci/check.sh $(BUILD_ROOT) $(JOBS) release

tools-tree: deps-demo
	cmake -S . -B $(TOOLS_DIR) $(TOOLS_OPTIONS) >/dev/null

# The first programs a new user runs: a spectrum with the engine, the plan it used, then
# pulse compression of a radar pulse train with the library.
demo: tools-tree
	cmake --build $(TOOLS_DIR) -j $(JOBS) --target multitone qtx-plan pulse_compression
	$(TOOLS_DIR)/examples/multitone
	$(TOOLS_DIR)/tools/qtx-plan 1000
	$(TOOLS_DIR)/examples/pulse_compression

# make install PREFIX=/opt/qvsip
PREFIX ?= /usr/local
install: tools-tree
	cmake --build $(TOOLS_DIR) -j $(JOBS) --target $(INSTALLED_TARGETS)
	cmake --install $(TOOLS_DIR) --prefix $(PREFIX)

clean:
	rm -rf $(BUILD_ROOT)

# Benchmarks against FFTW and plain loops in their own Release tree; the report (README.md,
# tables as CSV and Markdown, gnuplot PNGs) lands in $(BUILD_ROOT)/bench/report.
# QUICK=1 runs fewer lengths: one to two minutes instead of four to five.
.PHONY: bench
bench: deps-bench
	cmake -S . -B $(BUILD_ROOT)/bench -DCMAKE_BUILD_TYPE=Release -DQTX_BUILD_TESTS=OFF >/dev/null
	cmake --build $(BUILD_ROOT)/bench -j $(JOBS) --target bench_c2c_1d bench_real bench_accuracy \
	      bench_elementwise bench_standard_ops bench_reductions bench_matrix bench_transcendental \
	      bench_report_info fftw_128bit_shim bench_fftw3_interface
	QUICK=$(QUICK) bash bench/report/run.sh $(BUILD_ROOT)/bench $(BUILD_ROOT)/bench/report
