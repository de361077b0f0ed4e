#!/usr/bin/env bash
# install-deps.sh [demo|quick|check|bench]
# Installs the Debian packages a make target needs, when any is missing:
#   demo   the native toolchain: builds and runs the demo programs, and `make install`
#   quick  demo + GoogleTest and FFTW (the test oracle): the native test suite
#   check  quick + the cross compiler, qemu-user and the arm64 multiarch GoogleTest, FFTW and
#          OpenMP runtime: the aarch64 build and its tests; and the programs run on the FFTW 3
#          interface: SpFFT over OpenMPI, and pyFFTW with numpy and scipy
#   bench  demo + FFTW (the rival) and gnuplot (the report's plots)
# As root the missing packages are installed. Otherwise they are listed, and the script fails
# only when what one of them provides is not found elsewhere either.
set -euo pipefail

target=${1:-check}
native=(cmake make g++ gcc pkg-config binutils)
tests=(libgtest-dev libfftw3-dev)
cross=(g++-aarch64-linux-gnu binutils-aarch64-linux-gnu qemu-user libgtest-dev:arm64
       libfftw3-dev:arm64 libgomp1:arm64)
clients=(libspfft-dev openmpi-bin libopenmpi-dev python3-pyfftw python3-numpy python3-scipy)
case $target in
  demo)  wanted=("${native[@]}") ;;
  quick) wanted=("${native[@]}" "${tests[@]}") ;;
  check) wanted=("${native[@]}" "${tests[@]}" "${cross[@]}" "${clients[@]}") ;;
  bench) wanted=("${native[@]}" libfftw3-dev gnuplot-nox) ;;
  *) echo "usage: $0 demo|quick|check|bench" >&2; exit 2 ;;
esac

installed() {
  dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# exists_in <file> <directory>...: whether the file is in one of the directories.
exists_in() {
  local file=$1 dir
  shift
  for dir; do [ -e "$dir/$file" ] && return 0; done
  return 1
}

# Whether what the build uses from a package is there, however it got there.
provided() {
  local include=(/usr/include /usr/local/include) lib=(/usr/local/lib)
  local arm=/usr/lib/aarch64-linux-gnu
  command -v gcc >/dev/null && lib+=("/usr/lib/$(gcc -dumpmachine)")
  case $1 in
    binutils) command -v ld && command -v readelf ;;
    g++-aarch64-linux-gnu) command -v aarch64-linux-gnu-g++ ;;
    binutils-aarch64-linux-gnu) command -v aarch64-linux-gnu-ld ;;
    qemu-user) command -v qemu-aarch64 ;;
    gnuplot-nox) command -v gnuplot ;;
    libgtest-dev) exists_in gtest/gtest.h "${include[@]}" && exists_in libgtest.a "${lib[@]}" ;;
    libfftw3-dev) exists_in fftw3.h "${include[@]}" && exists_in libfftw3l.so "${lib[@]}" ;;
    libgtest-dev:arm64) exists_in libgtest.a "$arm" ;;
    libfftw3-dev:arm64) exists_in libfftw3l.so "$arm" ;;
    libgomp1:arm64) exists_in libgomp.so.1 "$arm" ;;
    libspfft-dev) exists_in spfft/spfft.h "${include[@]}" ;;
    openmpi-bin) command -v mpirun ;;
    libopenmpi-dev) command -v mpicxx ;;
    python3-*) /usr/bin/python3 -c "import ${1#python3-}" ;;
    *) command -v "$1" ;;
  esac >/dev/null
}

missing=()
for pkg in "${wanted[@]}"; do
  installed "$pkg" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  if [[ " ${missing[*]}" == *:arm64* ]] && ! dpkg --print-foreign-architectures | grep -qx arm64; then
    dpkg --add-architecture arm64
  fi
  export DEBIAN_FRONTEND=noninteractive
  if apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"; then
    exit 0
  fi
  echo "apt-get could not install: ${missing[*]}" >&2
fi

echo "make $target: packages not installed: ${missing[*]}" >&2
needed=()
for pkg in "${missing[@]}"; do
  provided "$pkg" || needed+=("$pkg")
done
if [ ${#needed[@]} -eq 0 ]; then
  echo "make $target: what they provide is found elsewhere; carrying on" >&2
  exit 0
fi
echo "make $target: cannot go on without: ${needed[*]}" >&2
echo "run $0 $target as root to install them" >&2
exit 1
