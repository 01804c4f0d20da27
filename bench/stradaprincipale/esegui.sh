#!/usr/bin/env bash
# Main road benchmark, run by hand (never in CI):
#   bench/stradaprincipale/esegui.sh BUILD-DIR [WORK-DIR] [solo-crea]
# BUILD-DIR holds app/fiscolario-cli/fiscolario-cli and programma/ (the templates: build the
# targets fiscolario-cli and modelli-stampa). WORK-DIR (default /tmp/fcl-bench-strada) receives
# the workbooks, a program folder with the example operator and the files each run writes.
# Every command runs under `nice`; the table gives wall and CPU seconds (user + system), rows per
# CPU second and the peak resident memory from /usr/bin/time -v (Debian package `time`).
# With `solo-crea` the peers are not run.
set -euo pipefail
build=$(realpath "$1")
lavoro=$(realpath -m "${2:-/tmp/fcl-bench-strada}")
cd "$(dirname "$0")"
qui=$(pwd)
solo=${3:-}
py=/usr/bin/python3
cli="$build/app/fiscolario-cli/fiscolario-cli"
mkdir -p "$lavoro"
nice $py genera.py "$lavoro"

# The program folder: templates of the build, the example operator restored from its backup.
programma="$lavoro/programma"
if [ ! -f "$programma/DataBase/FCL2013.mdb" ]; then
  mkdir -p "$programma"
  cp -r "$build/programma/." "$programma/"
  "$cli" --cartella "$programma" ripristina "$qui/../../resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL" \
    >/dev/null
fi
cf=02468130162

misura() {  # misura ETICHETTA FILE RIGHE COMANDO...
  local etichetta=$1 file=$2 righe=$3
  shift 3
  local log
  log=$(mktemp)
  if ! nice /usr/bin/time -v "$@" >"$log.out" 2>"$log"; then
    echo "| $etichetta | $file | fallito: $(grep -v -e '^\s' -e '^Command' "$log" | tail -n 3 | tr '\n' ' ') |"
    rm -f "$log" "$log.out"
    return
  fi
  local secondi picco cpu
  secondi=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,a,":"); s=0; for(i=1;i<=n;i++) s=s*60+a[i]; print s}' "$log")
  picco=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
  cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {print s}' "$log")
  [ "$righe" = "-" ] && righe=$(awk '/^righe/ {print $2}' "$log.out")
  awk -v e="$etichetta" -v f="$file" -v r="$righe" -v s="$secondi" -v c="$cpu" -v p="$picco" \
    'BEGIN { printf "| %-34s | %-15s | %8s | %7.2f | %7.2f | %9.0f | %7.1f |\n", e, f, r, s, c, (c > 0 ? r / c : 0), p / 1024 }'
  rm -f "$log" "$log.out"
}

# The peers only go through the rows of the data sheets, converting nothing.
# Data start at row 4 (SA: 3, BL: 5).
openpyxl_righe='import sys, openpyxl
prima = {"SA": 3, "BL": 5}
wb = openpyxl.load_workbook(sys.argv[1], read_only=True)
n = 0
for ws in wb.worksheets[1:]:
    n += sum(1 for r in ws.iter_rows(min_row=prima.get(ws.title, 4), max_col=25, values_only=True)
             if any(v is not None for v in r[:10]))
print("righe", n)'
xlrd_righe='import sys, xlrd
prima = {"SA": 3, "BL": 5}
wb = xlrd.open_workbook(sys.argv[1])
n = 0
for s in wb.sheets()[1:]:
    n += sum(1 for r in range(prima.get(s.name, 4) - 1, s.nrows)
             if any(v != "" for v in s.row_values(r, 0, 10)))
print("righe", n)'

# (file, rows, kind of data: 2 analytical, 1 aggregated)
casi=("an-1000.xlsx 1000 2" "an-65536.xls 65533 2" "ag-300000.xlsx 300000 1" "an-500000.xlsx 500000 2"
  "an-1000000.xlsx 1000000 2")

echo "| programma | file | righe | secondi | CPU s | righe/s CPU | picco MB |"
echo "|---|---|---:|---:|---:|---:|---:|"
for caso in "${casi[@]}"; do
  read -r f righe dati <<<"$caso"
  uscita="$lavoro/uscita-${f%%.*}"
  rm -rf "$uscita"
  mkdir -p "$uscita"
  # The whole main road: run, listing PDF, communication file, cover and the check of the file
  # written, which `crea` makes before it keeps the file.
  misura "fiscolario-cli crea" "$f" "$righe" sh -c 'cd "$1" && exec "$0" --cartella "$2" crea "$3" "$4" \
      --anno 2025 --dati "$5" --listato "$1/FCL_BENCH_LISTATO.PDF" --sovrascrivi >crea.out 2>crea.err' \
    "$cli" "$uscita" "$programma" "$cf" "$lavoro/$f" "$dati"
  # The same road with the listing's pages compressed, on the file whose listing is a quarter of
  # a gigabyte.
  if [ "$f" = an-500000.xlsx ]; then
    rm -rf "$uscita-compresso"
    mkdir -p "$uscita-compresso"
    misura "fiscolario-cli crea --listato-compresso" "$f" "$righe" sh -c 'cd "$1" && exec "$0" \
        --cartella "$2" crea "$3" "$4" --anno 2025 --dati "$5" --listato "$1/FCL_BENCH_LISTATO.PDF" \
        --listato-compresso --sovrascrivi >crea.out 2>crea.err' \
      "$cli" "$uscita-compresso" "$programma" "$cf" "$lavoro/$f" "$dati"
  fi
  [ "$solo" = solo-crea ] && continue
  case $f in
    *.xlsx) misura "openpyxl read-only (solo righe)" "$f" - $py -c "$openpyxl_righe" "$lavoro/$f" ;;
    *.xls) misura "xlrd (solo righe)" "$f" - $py -c "$xlrd_righe" "$lavoro/$f" ;;
  esac
  # LibreOffice writes every sheet to its own CSV file (the -1 of the filter options).
  if ! command -v soffice >/dev/null; then
    echo "| LibreOffice headless -> CSV | $f | non installato | | | | |"
  else
    csv="$lavoro/csv-${f%%.*}"
    rm -rf "$csv"
    mkdir -p "$csv"
    misura "LibreOffice headless -> CSV" "$f" "$righe" soffice --headless \
      "-env:UserInstallation=file://$lavoro/lo-profilo" --convert-to \
      'csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1' \
      --outdir "$csv" "$lavoro/$f"
  fi
done

# The size of the two listings of an-500000.xlsx.
for l in "$lavoro/uscita-an-500000/FCL_BENCH_LISTATO.PDF" \
  "$lavoro/uscita-an-500000-compresso/FCL_BENCH_LISTATO.PDF"; do
  if [ -f "$l" ]; then echo "listato $(basename "$(dirname "$l")"): $(stat -c %s "$l") byte"; fi
done
