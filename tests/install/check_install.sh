#!/usr/bin/env bash
# check_install.sh <build dir> <work dir>
# Installs the build into a fresh prefix, builds two programs against it three ways (the CMake
# package, pkg-config, plain -I -L -l) and runs them without LD_LIBRARY_PATH. library_only
# links libqvsip alone: an executable's RUNPATH serves only its own dependencies, so it starts
# only if libqvsip finds the engines itself. consumer links all three libraries.
set -euo pipefail
build=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
unset LD_LIBRARY_PATH
rm -rf "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in lib/libqvsip_fftf.so lib/libqvsip_fft.so lib/libqvsip.so lib/pkgconfig/qvsip_fftf.pc \
            lib/pkgconfig/qvsip_fft.pc lib/pkgconfig/qvsip.pc lib/cmake/qvsip/qvsipConfig.cmake \
            include/qtx_fft.h include/qvsip.h lib/libqvsip_fftw3.so lib/libqvsip_fftw3f.so \
            lib/pkgconfig/qvsip_fftw3.pc lib/pkgconfig/qvsip_fftw3f.pc \
            include/qvsip/fftw3/fftw3.h; do
  [ -e "$prefix/$file" ] || { echo "missing $prefix/$file"; exit 1; }
done
if /sbin/ldconfig -p 2>/dev/null | grep -q 'libqvsip_fftf\.so\.1 '; then
  echo "note: the loader cache has an installed libqvsip_fftf, which can hide a missing RUNPATH"
fi

# The package version (pkg-config; the CMake package must match it exactly) names the
# libraries' files and is the engines' product version, which consumer prints second.
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
version=$(pkg-config --modversion qvsip)
for lib in qvsip_fftf qvsip_fft qvsip; do
  [ -e "$prefix/lib/lib$lib.so.$version" ] || { echo "no lib$lib.so.$version"; exit 1; }
done

# run <program>: runs it, bounded in time, and keeps what it printed in output.
run() {
  output=$(timeout 60 "$1") || { echo "$1 failed: $output"; exit 1; }
  echo "${1##*/}: $output"
}
new_dtags=-Wl,--enable-new-dtags

cmake -S "$here/consumer" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
      -DQVSIP_VERSION="$version" -DCMAKE_EXE_LINKER_FLAGS="$new_dtags" >/dev/null
cmake --build "$work/cmake" >/dev/null
run "$work/cmake/library_only"
run "$work/cmake/fftw3_consumer"
run "$work/cmake/consumer"
product=$(echo "$output" | cut -d ' ' -f 2 | tr -d ';')
[ "$product" = "$version" ] || { echo "engines report $product, package is $version"; exit 1; }

plain="-I$prefix/include -L$prefix/lib"
# program source flags
cases=(
  "pkg-config-consumer main.c $(pkg-config --cflags --libs qvsip_fftf qvsip_fft qvsip)"
  "pkg-config-library_only library_only.c $(pkg-config --cflags --libs qvsip)"
  "plain-consumer main.c $plain -lqvsip_fftf -lqvsip_fft -lqvsip"
  "plain-library_only library_only.c $plain -lqvsip"
  "pkg-config-fftw3_consumer fftw3_consumer.c $(pkg-config --cflags --libs qvsip_fftw3 qvsip_fftw3f) -lm"
)
for case in "${cases[@]}"; do
  read -r program source flags <<<"$case"
  # shellcheck disable=SC2086
  cc -std=c99 -Wall -Werror "$here/consumer/$source" -o "$work/$program" $flags $new_dtags \
     -Wl,-rpath,"$prefix/lib"
  run "$work/$program"
done
