#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing:
# the native toolchain, GoogleTest and FFTW (the test oracle), and for the aarch64 build the
# cross compiler, qemu-user and the arm64 multiarch GoogleTest and FFTW.
set -euo pipefail

native=(cmake make g++ gcc pkg-config libgtest-dev libfftw3-dev binutils)
cross=(g++-aarch64-linux-gnu binutils-aarch64-linux-gnu qemu-user libgtest-dev:arm64
       libfftw3-dev:arm64 libgomp1:arm64)

missing=()
for pkg in "${native[@]}" "${cross[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  dpkg --add-architecture arm64
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
