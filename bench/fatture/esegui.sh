#!/usr/bin/env bash
# Benchmark of the invoice source, run by hand (never in CI):
#   bench/fatture/esegui.sh BUILD-DIR [WORK-DIR] [N]
# BUILD-DIR holds app/fiscolario-cli/fiscolario-cli, bench/fatture/genera-fatture and programma/
# (build the targets fiscolario-cli, genera-fatture and modelli-stampa). WORK-DIR (default
# /tmp/fcl-bench-fatture) receives N invoices (default 100000) in a folder, in a zip and as plain
# XML, a program folder with the example operator and the files each run writes. Side by side in
# one run: `crea` from the folder and from the zip, `fatture` to a workbook, and a bare parse of
# the same invoices with Python's lxml (/usr/bin/python3, Debian python3-lxml) from the folder of
# plain XML and from the zip. Every command runs under `nice`; the table gives wall and CPU seconds
# (user + system) and the peak resident memory from /usr/bin/time -v (Debian package `time`).
set -euo pipefail
build=$(realpath "$1")
lavoro=$(realpath -m "${2:-/tmp/fcl-bench-fatture}")
n=${3:-100000}
cd "$(dirname "$0")"
qui=$(pwd)
py=/usr/bin/python3
cli="$build/app/fiscolario-cli/fiscolario-cli"
mkdir -p "$lavoro"
if [ ! -f "$lavoro/fatture-$n.fatto" ]; then
  rm -rf "$lavoro/cartella" "$lavoro/piano" "$lavoro/fatture.zip"
  nice "$build/bench/fatture/genera-fatture" "$lavoro" "$n"
  touch "$lavoro/fatture-$n.fatto"
fi

programma="$lavoro/programma"
if [ ! -f "$programma/DataBase/FCL2013.mdb" ]; then
  mkdir -p "$programma"
  cp -r "$build/programma/." "$programma/"
  "$cli" --cartella "$programma" ripristina "$qui/../../resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL" \
    >/dev/null
fi
cf=02468130162

misura() {  # misura ETICHETTA COMANDO...
  local etichetta=$1
  shift
  local log
  log=$(mktemp)
  if ! nice /usr/bin/time -v "$@" >"$log.out" 2>"$log"; then
    echo "| $etichetta | fallito: $(grep -v -e '^\s' -e '^Command' "$log" | tail -n 3 | tr '\n' ' ') |"
    rm -f "$log" "$log.out"
    return
  fi
  local secondi picco cpu
  secondi=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,a,":"); s=0; for(i=1;i<=n;i++) s=s*60+a[i]; print s}' "$log")
  picco=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
  cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {print s}' "$log")
  awk -v e="$etichetta" -v s="$secondi" -v c="$cpu" -v p="$picco" \
    'BEGIN { printf "| %-44s | %7.2f | %7.2f | %7.1f |\n", e, s, c, p / 1024 }'
  rm -f "$log" "$log.out"
}

lxml_cartella='import os, sys
from lxml import etree
n = 0
for d, _, files in os.walk(sys.argv[1]):
    for f in files:
        etree.parse(os.path.join(d, f))
        n += 1
print("fatture", n)'
lxml_zip='import sys, zipfile
from lxml import etree
n = 0
with zipfile.ZipFile(sys.argv[1]) as z:
    for i in z.infolist():
        etree.fromstring(z.read(i))
        n += 1
print("fatture", n)'
# The plain XML of every invoice in one zip, for the peer reading an archive.
if [ ! -f "$lavoro/piano.zip" ]; then
  (cd "$lavoro" && nice $py -c 'import os, zipfile
with zipfile.ZipFile("piano.zip", "w", zipfile.ZIP_DEFLATED) as z:
    for f in sorted(os.listdir("piano")): z.write(os.path.join("piano", f), "2025/" + f)')
fi

uscita="$lavoro/uscita"
rm -rf "$uscita"
mkdir -p "$uscita"
echo "$n fatture ($(du -sh "$lavoro/cartella" | cut -f1) in cartella, $(du -h "$lavoro/fatture.zip" | cut -f1) zip)"
echo
echo "| programma | secondi | CPU s | picco MB |"
echo "|---|---:|---:|---:|"
misura "crea dalla cartella" "$cli" --cartella "$programma" crea "$cf" "$lavoro/cartella" \
  --anno 2025 --listato "$uscita/C_LISTATO.PDF" --sovrascrivi
misura "crea dallo zip" "$cli" --cartella "$programma" crea "$cf" "$lavoro/fatture.zip" \
  --anno 2025 --listato "$uscita/Z_LISTATO.PDF" --sovrascrivi
misura "fatture --foglio dalla cartella" "$cli" --cartella "$programma" fatture "$cf" \
  "$lavoro/cartella" --anno 2025 --foglio "$uscita/F.xlsx" --sovrascrivi
misura "lxml: parse della cartella (solo XML)" $py -c "$lxml_cartella" "$lavoro/piano"
misura "lxml: parse dello zip (solo XML)" $py -c "$lxml_zip" "$lavoro/piano.zip"
cmp -s "$uscita/C.TXT" "$uscita/Z.TXT" && echo "comunicazioni dalla cartella e dallo zip identiche"
