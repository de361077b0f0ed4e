#!/usr/bin/env bash
# Installs the Debian packages `make bench` needs, when any is missing: the toolchain, FFTW
# (the rival), ccache for the benchmark build and gnuplot for the report's plots.
set -euo pipefail

packages=(cmake make g++ gcc libfftw3-dev binutils ccache gnuplot-nox)

missing=()
for pkg in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
