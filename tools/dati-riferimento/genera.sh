#!/usr/bin/env bash
# Rebuilds resources/dati-riferimento/T_COMUNI.csv and T_COMUNICF.csv from the npm packages pinned in
# package-lock.json (installed with their registry checksums into a temporary folder, no install
# scripts run). Run by hand when the packages are updated; the build never runs it.
set -euo pipefail
qui=$(cd "$(dirname "$0")" && pwd)
uscita=$(cd "$qui/../../resources/dati-riferimento" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$qui/package.json" "$qui/package-lock.json" "$tmp/"
(cd "$tmp" && npm ci --ignore-scripts --no-audit --no-fund --silent)
TZ=UTC node "$qui/converti.js" "$tmp/node_modules" "$uscita"
