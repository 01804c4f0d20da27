#!/usr/bin/env bash
# Builds Fiscolario and runs every test suite twice: the normal build and the build under
# AddressSanitizer and UndefinedBehaviorSanitizer. Between the two, the Debian package is built and
# checked with lintian (scripts/pacchetto.sh). Compilations go through ccache, so the package build
# reuses the objects of the normal one. The tests run beside a throwaway PostgreSQL cluster
# (scripts/con-postgres.sh), so the register's cases run on both engines.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER-ccache}"
export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER-ccache}"
# Paths relative to the clone and no build folder in the key: build/default and build/deb share.
export CCACHE_BASEDIR="${CCACHE_BASEDIR-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR-1}"
jobs=$(nproc)
for preset in default deb asan; do
  echo "== preset $preset" >&2
  if [ "$preset" = deb ]; then
    scripts/pacchetto.sh
    continue
  fi
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  scripts/con-postgres.sh ctest --preset "$preset" -j "$jobs"
done
