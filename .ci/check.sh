#!/usr/bin/env bash
# check.sh <build root> <jobs> <config>...
# Configures, builds and tests each configuration in its own build tree, then prints one
# line with the totals over all of them. Configurations:
#   release  native Release (SSE+FMA backend on x86-64)
#   asan     native with AddressSanitizer and UndefinedBehaviorSanitizer
#   tsan     native with ThreadSanitizer, the concurrency tests of the engines and FFTW 3 interface
#   scalar   native with the portable scalar SIMD backend, at -Og
#   aarch64  cross build, tests under qemu-aarch64: the whole suite on a core without the
#            complex-number instructions (Cortex-A72) and on one with them (max), each
#            asserting the kernel set it gets; the shipped programs also on Neoverse N1
set -uo pipefail
root=$1 jobs=$2
shift 2
src=$(cd "$(dirname "$0")/.." && pwd)

# Sets cmake_args for a sanitizer build with the given -fsanitize flags.
sanitized() {
  # -O1 without debug information keeps the instrumented kernels' compile time bearable.
  local flags="-O1 -fno-omit-frame-pointer $1"
  cmake_args=(-DCMAKE_BUILD_TYPE=None "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags"
              "-DCMAKE_EXE_LINKER_FLAGS=$1" "-DCMAKE_SHARED_LINKER_FLAGS=$1")
}
mkdir -p "$root"

# run_tests <config> <build dir> [VARIABLE=value...] [ctest arguments...]: one ctest pass with
# the given environment, added to the totals.
run_tests() {
  local config=$1 dir=$2 env=() args=()
  shift 2
  for word; do
    if [[ $word == *=* && ${#args[@]} -eq 0 ]]; then env+=("$word"); else args+=("$word"); fi
  done
  echo "=== $config: test ${env[*]}"
  local log=$dir/ctest.log
  (cd "$dir" && env "${env[@]}" ctest --output-on-failure -j "$jobs" "${ctest_args[@]}" "${args[@]}") 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  local summary
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [[ $summary =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    failed=$((failed + BASH_REMATCH[1]))
    passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
  else
    status=1
  fi
}

passed=0 failed=0 status=0
for config in "$@"; do
  ctest_args=() build_args=()
  case $config in
    release) cmake_args=(-DCMAKE_BUILD_TYPE=Release) ;;
    asan)    sanitized "-fsanitize=address,undefined -fno-sanitize-recover=all"
             export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ;;
    tsan)    sanitized "-fsanitize=thread"
             ctest_args=(-L threads) build_args=(--target test_threads test_fftw3_interface) ;;
    # -Og: the scalar backend's lane loops took 18 minutes to optimise at -O3 (six times the
    # SIMD build) and about 6 at -Og; -O3 code is covered by the release and aarch64 builds.
    # -Og's flow analysis reports stack buffers passed by address as maybe-uninitialised.
    scalar)  cmake_args=(-DCMAKE_BUILD_TYPE=None -DQTX_SIMD_BACKEND=scalar "-DCMAKE_C_FLAGS=-Og"
                         "-DCMAKE_CXX_FLAGS=-Og -Wno-maybe-uninitialized") ;;
    aarch64) cmake_args=(-DCMAKE_BUILD_TYPE=Release
                         "-DCMAKE_TOOLCHAIN_FILE=$src/cmake/aarch64-linux-gnu.cmake") ;;
    *) echo "unknown configuration $config" >&2; exit 2 ;;
  esac
  dir=$root/$config
  echo "=== $config: configure and build"
  if ! cmake -S "$src" -B "$dir" "${cmake_args[@]}" >"$dir.configure.log" 2>&1; then
    tail -n 40 "$dir.configure.log" >&2
    echo "=== $config: configure FAILED"
    status=1
    continue
  fi
  if ! cmake --build "$dir" -j "$jobs" "${build_args[@]}" >"$dir.build.log" 2>&1; then
    grep -E -A5 'error|Error' "$dir.build.log" | head -n 80 >&2
    echo "=== $config: build FAILED"
    status=1
    continue
  fi
  passes=("")
  [ "$config" = aarch64 ] && passes=(
    "QEMU_CPU=cortex-a72 QTX_EXPECT_KERNEL_SET=armv8-a"
    "QEMU_CPU=max QTX_EXPECT_KERNEL_SET=armv8.3-a"
    "QEMU_CPU=neoverse-n1 QTX_EXPECT_KERNEL_SET=armv8-a -R example|qtx_plan|kernel_set")
  for pass in "${passes[@]}"; do
    run_tests "$config" "$dir" $pass
  done
done
echo
echo "all configurations: $passed passed, $failed failed"
exit $status
