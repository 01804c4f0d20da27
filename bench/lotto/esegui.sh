#!/usr/bin/env bash
# Batch benchmark, run by hand (never in CI):
#   bench/lotto/esegui.sh BUILD-DIR [WORK-DIR]
# BUILD-DIR holds app/fiscolario-cli/fiscolario-cli and programma/ (build the targets
# fiscolario-cli and modelli-stampa). WORK-DIR (default /tmp/fcl-bench-lotto) receives the 40
# workbooks of 5,000 FE rows, a program folder with the 40 operators and the outputs of each run.
# `lotto` runs with --processi 1 and with --processi = the cores; the table gives wall and CPU
# seconds (user + system) and the peak resident memory of the whole run (one process: its threads
# share it) from /usr/bin/time -v, and the load average before each run. Each setting runs
# RIPETIZIONI times (default 5), the two settings alternating so that both meet the same load; the
# last table gives the medians and the ratio of the median wall times.
set -euo pipefail
build=$(realpath "$1")
lavoro=$(realpath -m "${2:-/tmp/fcl-bench-lotto}")
cd "$(dirname "$0")"
cli="$build/app/fiscolario-cli/fiscolario-cli"
mkdir -p "$lavoro"
nice /usr/bin/python3 genera.py "$lavoro"

programma="$lavoro/programma"
if [ ! -f "$programma/DataBase/FCL2013.mdb" ]; then
  mkdir -p "$programma"
  cp -r "$build/programma/." "$programma/"
  "$cli" --cartella "$programma" importa operatori "$lavoro/soggetti.csv"
fi

misura() {  # misura PROCESSI: one run, one table line; the figures also go to $lavoro/misure
  local n=$1 log uscita
  log=$(mktemp)
  uscita="$lavoro/uscita-$n"
  rm -rf "$uscita"
  local carico
  carico=$(cut -d' ' -f1-3 /proc/loadavg)
  /usr/bin/time -v "$cli" --cartella "$programma" lotto "$lavoro/ELENCO.csv" --anno 2025 \
    --processi "$n" --uscita "$uscita" >"$log.out" 2>"$log" || true
  local secondi picco cpu create
  secondi=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,a,":"); s=0; for(i=1;i<=n;i++) s=s*60+a[i]; print s}' "$log")
  picco=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$log")
  cpu=$(awk -F': ' '/User time|System time/ {s+=$2} END {print s}' "$log")
  create=$(grep -c ';creata;' "$uscita/RIEPILOGO_LOTTO.csv" || true)
  awk -v n="$n" -v s="$secondi" -v c="$cpu" -v p="$picco" -v k="$create" -v l="$carico" \
    'BEGIN { printf "| %d | %7.2f | %7.2f | %7.1f | %d | %s |\n", n, s, c, p / 1024, k, l }'
  echo "$n $secondi $cpu $picco" >>"$lavoro/misure"
  rm -f "$log" "$log.out"
}

ripetizioni=${RIPETIZIONI:-5}
processi=$(nproc)
rm -f "$lavoro/misure"
echo "| --processi | wall s | CPU s | peak MB | created | load average before |"
echo "|---:|---:|---:|---:|---:|---|"
for ((i = 0; i < ripetizioni; i++)); do
  misura 1
  misura "$processi"
done

mediana() {  # mediana PROCESSI COLUMN
  awk -v n="$1" -v c="$2" '$1 == n {print $c}' "$lavoro/misure" | sort -g |
    awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}
echo
echo "Medians of $ripetizioni runs:"
echo
echo "| --processi | wall s | CPU s | peak MB |"
echo "|---:|---:|---:|---:|"
for n in 1 "$processi"; do
  awk -v n="$n" -v s="$(mediana "$n" 2)" -v c="$(mediana "$n" 3)" -v p="$(mediana "$n" 4)" \
    'BEGIN { printf "| %d | %7.2f | %7.2f | %7.1f |\n", n, s, c, p / 1024 }'
done
awk -v a="$(mediana 1 2)" -v b="$(mediana "$processi" 2)" \
  'BEGIN { printf "\nwall(--processi %s) / wall(--processi 1) = %.2f\n", "'"$processi"'", b / a }'
