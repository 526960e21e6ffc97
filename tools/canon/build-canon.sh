#!/usr/bin/env bash
# Builds the element files of the bands of 1801-2400 ("ecad20.PRN",
# "ecad22.PRN", "ecad24.PRN"; the span of the Swiss Ephemeris files of
# swe-basic-data) into a data directory: those that are missing, and those an
# older generator or another magnitude limit made. Each band built here gets a
# stamp beside it, ".BAND.canon", holding the generator's revision
# (vernier-canon --revision) and the magnitude limit; a band without a stamp,
# or with another one, is built again (the old file stays until the new one
# is complete).
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
# VERNIER_CANON_MAG overrides the magnitude limit; VERNIER_CANON_BANDS (names
# separated by blanks), VERNIER_CANON_GENERATOR (a generator already built: no
# build) and VERNIER_CANON_ARGS (more generator options) serve the tests.
set -euo pipefail

CANON_PACKAGES=(libswe-dev swe-basic-data swe-standard-data liberfa-dev stellarium-data libnova-dev)

CANON_MAGNITUDE=${VERNIER_CANON_MAG:-5.0}
read -r -a CANON_BANDS <<< "${VERNIER_CANON_BANDS:-ecad20.PRN ecad22.PRN ecad24.PRN}"
read -r -a CANON_ARGS <<< "${VERNIER_CANON_ARGS:-}"

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

stamp_of() { echo "$data_dir/.$1.canon"; }

# The bands to build, decided once the generator's revision is known (below).
bands=() names=()
plan_bands() {
  local band present stamp wanted=$1
  for band in "${CANON_BANDS[@]}"; do
    present=
    [[ -d $data_dir ]] && present=$(find "$data_dir" -maxdepth 1 -iname "$band" | head -n 1)
    stamp=$(stamp_of "$band")
    if [[ -n $present && -f $stamp && $(<"$stamp") == "$wanted" ]]; then
      echo "canon: $present is present ($wanted)"
      continue
    fi
    if [[ -n $present ]]; then
      echo "canon: $present was made by another generator or magnitude limit" \
        "(${stamp##*/}: $( [[ -f $stamp ]] && cat "$stamp" || echo none)); building it again"
    fi
    bands+=(--band "$band")
    names+=("$band")
  done
}

missing=()
for p in "${CANON_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  # Nothing can be built: bands already present stay as they are.
  for band in "${CANON_BANDS[@]}"; do
    if [[ ! -d $data_dir ]] || ! find "$data_dir" -maxdepth 1 -iname "$band" | grep -q .; then
      echo "canon: missing Debian packages: ${missing[*]}" >&2
      exit 1
    fi
  done
  echo "canon: bands present; not checked for rebuilding (missing Debian packages: ${missing[*]})"
  exit 0
fi

generator=${VERNIER_CANON_GENERATOR:-$build_dir/tools/canon/vernier-canon}
if [[ -z ${VERNIER_CANON_GENERATOR:-} ]]; then
  if [[ ! -f $build_dir/CMakeCache.txt ]]; then
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build "$build_dir" --target vernier-canon -j"$(nproc)"
fi
if [[ ! -x $generator ]]; then
  echo "canon: $generator was not built (see the CMake status lines)" >&2
  exit 1
fi
wanted="revision $("$generator" --revision) mag $CANON_MAGNITUDE"
plan_bands "$wanted"
((${#bands[@]})) || exit 0

fetch_reference "$build_dir"

echo "canon: building ${names[*]} to V $CANON_MAGNITUDE in $data_dir"
mkdir -p "$data_dir"
"$generator" "${bands[@]}" --mag "$CANON_MAGNITUDE" --threads "$(nproc)" \
  --reference "$reference" --out "$data_dir" "${CANON_ARGS[@]}"
for band in "${names[@]}"; do
  echo "$wanted" > "$(stamp_of "$band").tmp" && mv "$(stamp_of "$band").tmp" "$(stamp_of "$band")"
done
