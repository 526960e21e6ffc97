#!/usr/bin/env bash
# Builds the element files of the bands of 1801-2400 ("ecad20.PRN",
# "ecad22.PRN", "ecad24.PRN"; the span of the Swiss Ephemeris files of
# swe-basic-data) into a data directory, those that are missing.
#
#   tools/canon/build-canon.sh DATA_DIR [BUILD_DIR]
#   tools/canon/build-canon.sh --reference-only BUILD_DIR
#
# The second form only fetches the reference star catalogue into
# BUILD_DIR/canon-cache (the tests of the position check read it there).
#
# The set-up installs CANON_PACKAGES first (as root). The star catalogue used
# for the position check comes from kstars-data, downloaded from the Debian
# archive and unpacked into BUILD_DIR/canon-cache without installing it.
# VERNIER_CANON_MAG overrides the magnitude limit.
set -euo pipefail

CANON_PACKAGES=(libswe-dev swe-basic-data swe-standard-data liberfa-dev stellarium-data libnova-dev)

CANON_MAGNITUDE=${VERNIER_CANON_MAG:-5.0}
CANON_BANDS=(ecad20.PRN ecad22.PRN ecad24.PRN)

usage() { echo "usage: $0 DATA_DIR [BUILD_DIR] | --reference-only BUILD_DIR" >&2; exit 2; }
[[ $# -ge 1 && $# -le 2 ]] || usage

source_dir=$(cd "$(dirname "$0")/../.." && pwd)

# The reference catalogue: kstars-data's stars.dat, unpacked once into the
# build's canon cache.
fetch_reference() {
  local cache=$1/canon-cache
  reference=$cache/stars.dat
  if [[ ! -s $reference ]]; then
    echo "canon: fetching kstars-data for its star catalogue (not installed)"
    mkdir -p "$cache/download"
    (cd "$cache/download" && apt-get download -q kstars-data)
    dpkg -x "$cache"/download/kstars-data_*.deb "$cache/unpacked"
    mv "$cache/unpacked/usr/share/kstars/stars.dat" "$reference"
    rm -rf "$cache/download" "$cache/unpacked"
  fi
}

if [[ $1 == --reference-only ]]; then
  [[ $# -eq 2 ]] || usage
  fetch_reference "$2"
  echo "canon: reference stars in $reference"
  exit 0
fi

data_dir=$1
build_dir=${2:-$source_dir/build}

# A band present in any letter case (the program matches file names so) is
# kept as it is.
bands=() names=()
for band in "${CANON_BANDS[@]}"; do
  if [[ -d $data_dir ]] && find "$data_dir" -maxdepth 1 -iname "$band" | grep -q .; then
    echo "canon: $data_dir/$band is present"
  else
    bands+=(--band "$band")
    names+=("$band")
  fi
done
((${#bands[@]})) || exit 0

missing=()
for p in "${CANON_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "canon: missing Debian packages: ${missing[*]}" >&2
  exit 1
fi

fetch_reference "$build_dir"

if [[ ! -f $build_dir/CMakeCache.txt ]]; then
  cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target vernier-canon -j"$(nproc)"
generator=$build_dir/tools/canon/vernier-canon
if [[ ! -x $generator ]]; then
  echo "canon: $generator was not built (see the CMake status lines)" >&2
  exit 1
fi

echo "canon: building ${names[*]} to V $CANON_MAGNITUDE in $data_dir"
mkdir -p "$data_dir"
"$generator" "${bands[@]}" --keep-complete --mag "$CANON_MAGNITUDE" --threads "$(nproc)" \
  --reference "$reference" --out "$data_dir"
