#!/usr/bin/env bash
# check_install.sh <build dir> <work dir>
# Installs the build into a fresh prefix and builds a consumer against it twice: through the
# CMake package and through pkg-config.
set -euo pipefail
build=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in lib/libqvsip_fftf.so lib/libqvsip_fft.so lib/libqvsip.so lib/pkgconfig/qvsip_fftf.pc \
            lib/pkgconfig/qvsip_fft.pc lib/pkgconfig/qvsip.pc lib/cmake/qvsip/qvsipConfig.cmake \
            include/qtx_fft.h include/qvsip.h; do
  [ -e "$prefix/$file" ] || { echo "missing $prefix/$file"; exit 1; }
done

cmake -S "$here/consumer" -B "$work/cmake-consumer" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake-consumer" >/dev/null
"$work/cmake-consumer/consumer"

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
cc -std=c99 -Wall -Werror "$here/consumer/main.c" -o "$work/pkg-consumer" \
   $(pkg-config --cflags --libs qvsip_fftf qvsip_fft qvsip) -Wl,-rpath,"$prefix/lib"
"$work/pkg-consumer"
