#!/usr/bin/env bash
# Runs `fiscolario-cli crea` on each hostile workbook of genera.py and prints, per file: the exit
# status, wall and CPU seconds, peak memory and the bytes written (listing, intermediate file and
# their temporary files), and the first line of the message.
#
#   bench/ostili/esegui.sh CLI [WORK-DIR] [SECONDS]
#
# CLI is the fiscolario-cli to measure; WORK-DIR (default /tmp/fcl-bench-ostili) receives the
# files and a program folder with the example operator; a run is stopped after SECONDS (default
# 300). Needs /usr/bin/time (Debian package time).
set -euo pipefail
radice="$(cd "$(dirname "$0")/../.." && pwd)"
cli="$(realpath "$1")"
lavoro="${2:-/tmp/fcl-bench-ostili}"
limite="${3:-300}"
mkdir -p "$lavoro/file"
[[ -f "$lavoro/file/gettone-1gb.xlsx" ]] || /usr/bin/python3 "$radice/bench/ostili/genera.py" "$lavoro/file"

programma="$lavoro/programma"
uscita="$lavoro/uscita"
if [[ ! -f "$programma/DataBase/FCL2013.mdb" ]]; then
  mkdir -p "$programma"
  "$cli" --cartella "$programma" ripristina "$radice/resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL" \
    > /dev/null 2>&1
fi

printf '%-24s %5s %8s %8s %9s %10s  %s\n' file esito wall_s cpu_s picco_MB scritti_MB messaggio
for f in righe-ripetute.ods gettone-lungo.xlsx gettone-1gb.xlsx nomi-fogli-enormi.ods \
  fogli-innumerevoli.xlsx testi-vuoti.xlsx dimensioni.xls; do
  rm -rf "$uscita" "$programma"/.FCLtemp.TXT.* "$programma/FCLtemp.TXT"
  mkdir -p "$uscita"
  esito=0
  timeout "$limite" nice /usr/bin/time -v -o "$lavoro/tempo.txt" "$cli" --cartella "$programma" \
    crea 02468130162 "$lavoro/file/$f" --anno 2025 --listato "$uscita/OSTILE_LISTATO.PDF" \
    > /dev/null 2> "$lavoro/messaggi.txt" || esito=$?
  scritti=$(find "$uscita" "$programma" -maxdepth 1 -type f \( -name '*LISTATO*' -o -name '*.TXT' \
    -o -name '.*LISTATO*' -o -name '.FCLtemp.TXT.*' \) -printf '%s\n' | awk '{s+=$1} END{print s+0}')
  valore() { grep "$1" "$lavoro/tempo.txt" 2>/dev/null | awk -F': ' '{print $2}' || true; }
  cpu=$(awk -v u="$(valore 'User time')" -v s="$(valore 'System time')" 'BEGIN{printf "%.2f", u+s}')
  picco=$(awk -v k="$(valore 'Maximum resident')" 'BEGIN{printf "%.1f", k/1024}')
  wall=$(valore 'Elapsed' || true)
  [[ $esito -eq 124 ]] && wall="(fermato a ${limite}s)"
  printf '%-24s %5s %8s %8s %9s %10.1f  %s\n' "$f" "$esito" "${wall:-?}" "$cpu" "$picco" \
    "$(awk -v b="${scritti:-0}" 'BEGIN{print b/1048576}')" "$(head -c 160 "$lavoro/messaggi.txt" | head -1)"
done
rm -rf "$uscita" "$programma"/.FCLtemp.TXT.*
