#!/usr/bin/env bash
# Builds the element file of the band of today's date ("ecad22.PRN", years
# 1951-2200) into a data directory when it is missing.
#
#   tools/canon/build-canon.sh DATA_DIR [BUILD_DIR]
#
# The set-up installs CANON_PACKAGES first (as root). The star catalogue used
# for the position check comes from kstars-data, downloaded from the Debian
# archive and unpacked into BUILD_DIR/canon-cache without installing it.
# VERNIER_CANON_MAG overrides the magnitude limit.
set -euo pipefail

CANON_PACKAGES=(libswe-dev swe-basic-data swe-standard-data liberfa-dev stellarium-data libnova-dev)

# V 5.0 builds the band in well under two minutes with two cores.
CANON_MAGNITUDE=${VERNIER_CANON_MAG:-5.0}
CANON_BAND=ecad22.PRN

usage() { echo "usage: $0 DATA_DIR [BUILD_DIR]" >&2; exit 2; }
[[ $# -ge 1 && $# -le 2 ]] || usage

source_dir=$(cd "$(dirname "$0")/../.." && pwd)
data_dir=$1
build_dir=${2:-$source_dir/build}

# The program matches file names without regard to case.
if [[ -d $data_dir ]] && find "$data_dir" -maxdepth 1 -iname "$CANON_BAND" | grep -q .; then
  echo "canon: $data_dir/$CANON_BAND is present"
  exit 0
fi

missing=()
for p in "${CANON_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "canon: missing Debian packages: ${missing[*]}" >&2
  exit 1
fi

cache=$build_dir/canon-cache
reference=$cache/stars.dat
if [[ ! -s $reference ]]; then
  echo "canon: fetching kstars-data for its star catalogue (not installed)"
  mkdir -p "$cache/download"
  (cd "$cache/download" && apt-get download -q kstars-data)
  dpkg -x "$cache"/download/kstars-data_*.deb "$cache/unpacked"
  mv "$cache/unpacked/usr/share/kstars/stars.dat" "$reference"
  rm -rf "$cache/download" "$cache/unpacked"
fi

if [[ ! -f $build_dir/CMakeCache.txt ]]; then
  cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build_dir" --target vernier-canon -j"$(nproc)"
generator=$build_dir/tools/canon/vernier-canon
if [[ ! -x $generator ]]; then
  echo "canon: $generator was not built (see the CMake status lines)" >&2
  exit 1
fi

echo "canon: building $CANON_BAND to V $CANON_MAGNITUDE in $data_dir"
mkdir -p "$data_dir"
"$generator" --band "$CANON_BAND" --mag "$CANON_MAGNITUDE" --threads "$(nproc)" \
  --reference "$reference" --out "$data_dir"
