# Wrapper around CMake. `make check` builds and tests every configuration CI runs;
# `make quick` is the native Release build alone, for iterating.
JOBS ?= $(shell nproc)
BUILD_ROOT ?= build

.PHONY: check quick demo deps install clean

deps:
	@bash .ci/install-deps.sh

check: deps
	@bash .ci/check.sh $(BUILD_ROOT) $(JOBS) release asan tsan scalar aarch64

quick: deps
	@bash .ci/check.sh $(BUILD_ROOT) $(JOBS) release

# The first programs a new user runs: a spectrum with the engine, the plan it used, then
# pulse compression of a radar pulse train with the library.
demo: deps
	cmake -S . -B $(BUILD_ROOT)/demo -DCMAKE_BUILD_TYPE=Release -DQTX_BUILD_TESTS=OFF >/dev/null
	cmake --build $(BUILD_ROOT)/demo -j $(JOBS) --target multitone qtx-plan pulse_compression
	$(BUILD_ROOT)/demo/examples/multitone
	$(BUILD_ROOT)/demo/tools/qtx-plan 1000
	$(BUILD_ROOT)/demo/examples/pulse_compression

# make install PREFIX=/opt/qvsip
PREFIX ?= /usr/local
install: deps
	cmake -S . -B $(BUILD_ROOT)/install -DCMAKE_BUILD_TYPE=Release -DQTX_BUILD_TESTS=OFF \
	      -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD_ROOT)/install -j $(JOBS)
	cmake --install $(BUILD_ROOT)/install

clean:
	rm -rf $(BUILD_ROOT)
