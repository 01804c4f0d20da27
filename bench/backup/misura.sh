#!/usr/bin/env bash
# Peak memory and time of `fiscolario-cli ripristina` on hostile backup files, by hand:
#
#   bench/backup/misura.sh [FISCOLARIO-CLI]      (default build/default/app/fiscolario-cli/...)
#
# Makes in a scratch folder a 100 MB file of many short lines, a 100 MB file of one line, and the
# largest file a backup may be (just under 4 MB of code-table lines), restores each into a fresh
# program folder under /usr/bin/time -v and prints exit code, wall time and peak RSS.
set -euo pipefail
radice="$(cd "$(dirname "$0")/../.." && pwd)"
cli="${1:-$radice/build/default/app/fiscolario-cli/fiscolario-cli}"
lavoro="$(mktemp -d)"
trap 'rm -rf "$lavoro"' EXIT
python3 - "$lavoro" <<'PY'
import sys, os
d = sys.argv[1]
cope = b"\xa6COPE\xa6RSSMRA80A01H501U\xa6\xa6ROSSI\xa6MARIO\xa6M\xa601/01/1980\xa6ROMA\xa6RM\r\n"
riga = b"\xa6CTAB\xa6ITT\xa6RSSMRA80A01H501U\xa6" + b"X" * 60 + b"\r\n"
with open(os.path.join(d, "molte-righe.FCL"), "wb") as f:
    f.write(cope + riga * ((100 << 20) // len(riga)))
with open(os.path.join(d, "riga-lunga.FCL"), "wb") as f:
    f.write(cope + b"\xa6CTAB\xa6ITT\xa6RSSMRA80A01H501U\xa6" + b"X" * (100 << 20) + b"\r\n")
with open(os.path.join(d, "massimo.FCL"), "wb") as f:
    f.write(cope + riga * (((4 << 20) - len(cope)) // len(riga)))
PY
printf '%-18s %6s %10s %12s\n' file esito secondi "picco KB"
for f in molte-righe riga-lunga massimo; do
  mkdir -p "$lavoro/prog-$f"
  esito=0
  /usr/bin/time -v "$cli" --cartella "$lavoro/prog-$f" ripristina "$lavoro/$f.FCL" \
    >"$lavoro/$f.out" 2>&1 || esito=$?
  secondi=$(grep -o 'Elapsed (wall clock) time.*: .*' "$lavoro/$f.out" | sed 's/.*: //')
  picco=$(grep -o 'Maximum resident set size (kbytes): [0-9]*' "$lavoro/$f.out" | grep -o '[0-9]*$')
  printf '%-18s %6s %10s %12s\n' "$f" "$esito" "$secondi" "$picco"
done
