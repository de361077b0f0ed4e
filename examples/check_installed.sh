#!/usr/bin/env bash
# check_installed.sh <build dir> <work dir>
# Installs the build into a fresh prefix, configures examples/ on its own against the installed
# CMake package (so vsip.h and the libraries come from the prefix, never from the source tree),
# builds every example and runs the standard programs, which check their own results.
set -euo pipefail
build=$1 work=$2
here=$(cd "$(dirname "$0")" && pwd)
unset LD_LIBRARY_PATH
rm -rf "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S "$here" -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# The only header directory the programs see is the installed one.
if grep -q -- "-I$here/../include\|-I$(cd "$here/.." && pwd)/include" \
     "$work/build/compile_commands.json"; then
  echo "examples compiled against the source tree's headers"
  exit 1
fi
grep -q -- "$prefix/include" "$work/build/compile_commands.json" || {
  echo "examples not compiled against $prefix/include"
  exit 1
}
cmake --build "$work/build" >/dev/null
# The FFTW program the way its users build it: pkg-config and the compiler, nothing else.
PKG_CONFIG_PATH=$prefix/lib/pkgconfig
export PKG_CONFIG_PATH
# shellcheck disable=SC2046 # pkg-config's flags split into arguments
cc -std=c99 -Wall -Wextra -Werror "$here/fftw_program.c" -o "$work/build/fftw_program_pc" \
   $(pkg-config --cflags --libs qvsip_fftw3f) -Wl,-rpath,"$prefix/lib" -lm
for program in matched_filter beamformer two_tones fftw_program fftw_program_pc; do
  output=$(timeout 60 "$work/build/$program") || { echo "$program failed: $output"; exit 1; }
  echo "$program: ${output##*$'\n'}"
done
