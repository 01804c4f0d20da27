#!/usr/bin/env bash
# Builds Fiscolario and runs it: the desktop application when a display is available, otherwise
# the demo main road from the command line into a fresh program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
bin=build/default/app
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/fiscolario/fiscolario" ]; then
  exec "$bin/fiscolario/fiscolario" "$@"
fi
if [ -x scripts/demo.sh ]; then
  exec scripts/demo.sh "$@"
fi
dir=$(mktemp -d)
"$bin/fiscolario-cli/fiscolario-cli" --cartella "$dir" operatori
echo "Cartella del programma: $dir"
