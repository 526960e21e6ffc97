#!/usr/bin/env bash
# Builds the Debian package of Vernier with its shipped data in one go:
#
#   packaging/build-deb.sh [BUILD_DIR]     (default: build-deb)
#
# Configures a release build in BUILD_DIR, builds the coastline files and the
# element file of today's band into data/ when they are missing (the package
# installs what data/ holds), builds the programs and runs CPack. Needs the
# packages that `./setup.sh package` installs (as root); prints the package's
# path and size.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-deb}

for tool in dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null; then
    echo "$0: $tool is needed (apt-get install dpkg-dev file, or ./setup.sh package)" >&2
    exit 1
  fi
done

cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVERNIER_BUILD_TESTS=OFF -DVERNIER_BUILD_BENCH=OFF >/dev/null
tools/coastlines/build-coastlines.sh data
tools/canon/build-canon.sh data "$build_dir"
cmake --build "$build_dir" -j"$(nproc)"
(cd "$build_dir" && cpack -G DEB >/dev/null)

package=$(ls -t "$build_dir"/vernier_*.deb | head -n 1)
echo "package: $package ($(du -h "$package" | cut -f1))"
