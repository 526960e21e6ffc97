#!/usr/bin/env bash
# Builds the five coastline files into DATA_DIR when any of them is missing,
# from the intermediate-resolution GSHHG shorelines Debian ships.
#   tools/coastlines/build-coastlines.sh DATA_DIR
#   tools/coastlines/build-coastlines.sh --packages   (prints the Debian packages needed)
set -euo pipefail

packages=(gmt-gshhg-low libnetcdf-dev g++)
shorelines=/usr/share/gmt-gshhg/binned_GSHHS_i.nc
names=(as_cil.cbd eu_cil.cbd af_cil.cbd na_cil.cbd sa_cil.cbd)

if [[ ${1:-} == --packages ]]; then
  echo "${packages[@]}"
  exit 0
fi
if [[ $# -ne 1 ]]; then
  echo "usage: $0 DATA_DIR | --packages" >&2
  exit 2
fi
data_dir=$1
here=$(cd "$(dirname "$0")" && pwd)

missing=0
for n in "${names[@]}"; do
  [[ -f "$data_dir/$n " || -f "$data_dir/$n" ]] || missing=1
done
if ((missing == 0)); then
  echo "coastline files present in $data_dir"
  exit 0
fi

for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    echo "$0: Debian package $p is needed (apt-get install ${packages[*]})" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
c++ -O2 -std=c++20 -o "$work/vernier-coastlines" "$here/main.cpp" "$here/gshhg_binned.cpp" -lnetcdf
mkdir -p "$data_dir"
"$work/vernier-coastlines" --gshhg "$shorelines" "$data_dir"
