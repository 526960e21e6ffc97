#!/usr/bin/env bash
# Builds bands of element files with GNU parallel, one band per job, on the
# local cores or on the hosts of an ssh login file.
#
#   tools/canon/build-bands-parallel.sh [--jobs N] [--sshloginfile FILE]
#       [--generator PATH] DATA_DIR [BAND ...] [-- GENERATOR_OPTIONS ...]
#
# Without BANDs every band of -3000 ... 4000 is built. Bands already complete
# in DATA_DIR are kept, so an interrupted run resumes. Each job writes its band
# under a temporary name and renames it when complete. Over ssh the generator
# and DATA_DIR must have the same paths on every host (a shared file system).
# GENERATOR_OPTIONS go to every job (e.g. --mag 6.0 --reference FILE).
set -euo pipefail

usage() {
  sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

jobs=$(nproc)
login=()
generator=$(cd "$(dirname "$0")/../.." && pwd)/build/tools/canon/vernier-canon
while [[ $# -gt 0 ]]; do
  case $1 in
    --jobs) jobs=$2; shift 2 ;;
    --sshloginfile) login=(--sshloginfile "$2"); shift 2 ;;
    --generator) generator=$2; shift 2 ;;
    -h|--help) usage ;;
    *) break ;;
  esac
done
[[ $# -ge 1 ]] || usage
data_dir=$1
shift
bands=()
while [[ $# -gt 0 && $1 != -- ]]; do bands+=("$1"); shift; done
[[ ${1:-} == -- ]] && shift
options=("$@")

command -v parallel >/dev/null || { echo "canon: GNU parallel is not installed" >&2; exit 1; }
[[ -x $generator ]] || { echo "canon: no generator at $generator (give --generator PATH)" >&2; exit 1; }
((${#bands[@]})) || mapfile -t bands < <("$generator" --list-bands)

mkdir -p "$data_dir"
data_dir=$(cd "$data_dir" && pwd)
# One thread per job: the jobs themselves fill the cores.
parallel --jobs "$jobs" "${login[@]}" --line-buffer --tag \
  "$generator" --band {} --keep-complete --threads 1 --out "$data_dir" "${options[@]}" ::: "${bands[@]}"
