#!/usr/bin/env bash
# Reader benchmark, run by hand (never in CI):
#   bench/workbook/esegui.sh BUILD-DIR [WORK-DIR]
# BUILD-DIR holds bench/workbook/bench-lettori (and app/fiscolario-cli/fiscolario-cli when the
# workbook run is there); WORK-DIR (default /tmp/fcl-bench-lettori) receives the workbooks.
# Prints, for each reader and file: rows read, seconds, rows per second, peak memory.
set -euo pipefail
cd "$(dirname "$0")"
build=$(realpath "$1")
lavoro=${2:-/tmp/fcl-bench-lettori}
py=/usr/bin/python3
mkdir -p "$lavoro"
$py genera.py "$lavoro"

misura() {  # misura ETICHETTA FILE RIGHE COMANDO...
  local etichetta=$1 file=$2 righe=$3
  shift 3
  local log
  log=$(mktemp)
  /usr/bin/time -v "$@" >"$log.out" 2>"$log" || { echo "$etichetta: fallito"; cat "$log"; return; }
  local secondi picco
  secondi=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,a,":"); s=0; for(i=1;i<=n;i++) s=s*60+a[i]; print s}' "$log")
  picco=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
  [ "$righe" = "-" ] && righe=$(awk '/^righe/ {print $2}' "$log.out")
  awk -v e="$etichetta" -v f="$file" -v r="$righe" -v s="$secondi" -v p="$picco" \
    'BEGIN { printf "| %-38s | %-15s | %8s | %7.2f | %9.0f | %7.1f |\n", e, f, r, s, r / s, p / 1024 }'
  rm -f "$log" "$log.out"
}

# openpyxl in read-only mode and xlrd only go through the rows, converting nothing.
openpyxl_righe='import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1], read_only=True)
n = sum(1 for _ in wb["FE"].iter_rows(min_row=4, max_col=25, values_only=True))
print("righe", n)'
xlrd_righe='import sys, xlrd
wb = xlrd.open_workbook(sys.argv[1])
s = wb.sheet_by_name("FE")
n = sum(1 for r in range(3, s.nrows) if s.row_values(r, 0, 25))
print("righe", n)'

echo "| lettore | file | righe | secondi | righe/s | picco MB |"
echo "|---|---|---:|---:|---:|---:|"
for f in fe-65536.xls fe-65536.xlsx fe-500000.xlsx; do
  misura "bench-lettori (interfaccia+TestoCella)" "$f" - "$build/bench/workbook/bench-lettori" "$lavoro/$f"
done
for f in fe-65536.xlsx fe-500000.xlsx; do
  misura "openpyxl read-only (solo righe)" "$f" - $py -c "$openpyxl_righe" "$lavoro/$f"
done
misura "xlrd (solo righe)" fe-65536.xls - $py -c "$xlrd_righe" "$lavoro/fe-65536.xls"

# The whole workbook run, when the command line has it and an operator is in its database.
cli="$build/app/fiscolario-cli/fiscolario-cli"
if [ -x "$cli" ] && "$cli" --help 2>&1 | grep -q elabora; then
  programma="$lavoro/programma"
  mkdir -p "$programma"
  cf=$("$cli" --cartella "$programma" operatori 2>/dev/null | head -1 | cut -f1 || true)
  if [ -z "$cf" ]; then
    echo "(elabora non misurato: nessun operatore nel database di $programma)"
  else
    for f in fe-65536.xls fe-65536.xlsx fe-500000.xlsx; do
      misura "fiscolario-cli elabora $cf" "$f" - "$cli" --cartella "$programma" elabora "$cf" \
        "$lavoro/$f" --listato "$lavoro/listato.pdf"
    done
  fi
else
  echo "(elabora non misurato: fiscolario-cli non ha ancora il comando)"
fi
