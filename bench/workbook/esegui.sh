#!/usr/bin/env bash
# Reader benchmark, run by hand (never in CI):
#   bench/workbook/esegui.sh BUILD-DIR [WORK-DIR]
#   bench/workbook/esegui.sh BUILD-DIR [WORK-DIR] elabora     (only the workbook run)
# BUILD-DIR holds bench/workbook/bench-lettori and app/fiscolario-cli/fiscolario-cli; WORK-DIR
# (default /tmp/fcl-bench-lettori) receives the workbooks and a program folder whose database gets
# the example operator, for `fiscolario-cli elabora`.
# Prints, for each reader and file: rows read, wall and CPU seconds, rows per CPU second, peak
# resident memory.
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
  cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {print s}' "$log")
  [ "$righe" = "-" ] && righe=$(awk '/^righe/ {print $2}' "$log.out")
  awk -v e="$etichetta" -v f="$file" -v r="$righe" -v s="$secondi" -v c="$cpu" -v p="$picco" \
    'BEGIN { printf "| %-38s | %-15s | %8s | %7.2f | %7.2f | %9.0f | %7.1f |\n", e, f, r, s, c, r / c, p / 1024 }'
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

# Rows per second are per CPU second (user + system), which a busy machine disturbs less than the
# wall clock.
echo "| lettore | file | righe | secondi | CPU s | righe/s CPU | picco MB |"
echo "|---|---|---:|---:|---:|---:|---:|"
if [ "${3:-}" != elabora ]; then
for f in fe-65536.xls fe-65536.xlsx fe-500000.xlsx; do
  misura "bench-lettori (interfaccia+TestoCella)" "$f" - "$build/bench/workbook/bench-lettori" "$lavoro/$f"
done
for f in fe-65536.xlsx fe-500000.xlsx; do
  misura "openpyxl read-only (solo righe)" "$f" - $py -c "$openpyxl_righe" "$lavoro/$f"
done
misura "xlrd (solo righe)" fe-65536.xls - $py -c "$xlrd_righe" "$lavoro/fe-65536.xls"
fi

# The whole workbook run, when the command line has it and an operator is in its database.
cli="$build/app/fiscolario-cli/fiscolario-cli"
if [ -x "$cli" ] && "$cli" --help 2>&1 | grep -q elabora; then
  programma="$lavoro/programma"
  mkdir -p "$programma"
  cf=$("$cli" --cartella "$programma" operatori 2>/dev/null | head -1 | cut -f1 || true)
  if [ -z "$cf" ]; then
    # An operator for the run: the example operator of the program's resources.
    "$cli" --cartella "$programma" ripristina ../../resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL \
      >/dev/null 2>&1 || true
    cf=$("$cli" --cartella "$programma" operatori 2>/dev/null | head -1 | cut -f1 || true)
  fi
  if [ -z "$cf" ]; then
    echo "(elabora non misurato: nessun operatore nel database di $programma)"
  else
    for f in fe-65536.xls fe-65536.xlsx fe-500000.xlsx; do
      misura "fiscolario-cli elabora" "$f" - sh -c '"$0" --cartella "$1" elabora "$2" "$3" \
        --listato "$4" >"$5" 2>&1; awk -F"\t" "/^Totale righe/ {print \"righe\", \$2}" "$5"' \
        "$cli" "$programma" "$cf" "$lavoro/$f" "$lavoro/listato.pdf" "$lavoro/elabora.log"
    done
  fi
else
  echo "(elabora non misurato: fiscolario-cli non ha ancora il comando)"
fi
