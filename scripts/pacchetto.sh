#!/usr/bin/env bash
# Builds the Debian package with the "deb" presets (installed under /usr, without the test suites)
# and checks it with lintian: any error or warning fails. Prints the path of the .deb.
# scripts/test.sh runs it, so CI checks the package too.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake --preset deb >/dev/null
cmake --build --preset deb -j "$jobs"
rm -f build/deb/fiscolario_*.deb
cpack --preset deb >/dev/null
deb=$(ls build/deb/fiscolario_*.deb)
# Informational tags are shown too; only errors and warnings fail.
lintian --fail-on error,warning --display-info "$deb"
echo "$deb"
