#!/usr/bin/env bash
# Set-up on a fresh Debian 12 machine, as root:
#   ./setup.sh run    install what the build needs, build, build the shipped data
#                     (coastlines, the element file of today's band) into data/, and
#                     start the desktop program on it (without a display: write its
#                     start view to a PNG instead)
#   ./setup.sh test   install what the build and tests need, build, run all tests
#   ./setup.sh package  install what the package build needs, build the shipped
#                     data and the Debian package (packaging/build-deb.sh)
set -euo pipefail
cd "$(dirname "$0")"

mode=${1:-run}
build_dir=${VERNIER_BUILD_DIR:-build}

# The program and its fonts.
packages=(g++ cmake make pkg-config qt6-base-dev qt6-l10n-tools fonts-ipafont-mincho fonts-liberation2)
# The data builders: coastlines from GSHHG, element files from the Swiss
# Ephemeris, ERFA and the stellarium star catalogue.
data_packages=(gmt-gshhg-low libnetcdf-dev libswe-dev swe-basic-data swe-standard-data liberfa-dev
               stellarium-data libnova-dev)
# JPL DE405 for the independent check of the element files.
# AppStream for the check of the desktop metainfo; GNU parallel for the test
# of the script that builds one band per job; Python's icalendar reads back
# the exported calendars.
test_packages=(libgtest-dev libgmock-dev libbenchmark-dev libxml2-utils casacore-data-jpl-de405
               appstream parallel python3-icalendar)
# The Debian package: the shared-library dependencies and the file types.
package_packages=(dpkg-dev file)

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

build() {
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build_dir" -j"$(nproc)"
}

case "$mode" in
  run)
    install_missing "${packages[@]}" "${data_packages[@]}" "${test_packages[@]}"
    build
    tools/coastlines/build-coastlines.sh data
    tools/canon/build-canon.sh data "$build_dir"
    "$build_dir/vernier-cli" events --data data --count 5
    if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
      exec "$build_dir/vernier" --data data
    fi
    picture=$PWD/$build_dir/start.png
    "$build_dir/vernier-cli" map --data data --png "$picture"
    echo "No display is available to start the desktop program ($build_dir/vernier)."
    echo "The start view, the path map of the next occultation, is in: $picture"
    ;;
  test)
    install_missing "${packages[@]}" "${data_packages[@]}" "${test_packages[@]}"
    build
    # The check of the star positions is tested against the reference
    # catalogue the data build uses: fetched here too, so that no test skips.
    tools/canon/build-canon.sh --reference-only "$build_dir"
    ctest --test-dir "$build_dir" --output-on-failure -j"$(nproc)"
    ;;
  package)
    install_missing "${packages[@]}" "${data_packages[@]}" "${package_packages[@]}"
    exec packaging/build-deb.sh
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
