#!/usr/bin/env bash
# Output comparison of the main road, run by hand (never in CI):
#   bench/stradaprincipale/confronta.sh CLI WORK-DIR IMPRONTE [FILE...]
# Runs `CLI crea` (the whole road, as the benchmark does) on every workbook given, or else on the
# benchmark's workbooks found in WORK-DIR and on every workbook of the test fixtures, and writes to
# IMPRONTE one line per file written: workbook, file, SHA-256. The PDFs are hashed with their
# dates masked (D:YYYYMMDDhhmmss), so two builds that write the same bytes give the same lines:
#   confronta.sh prima/fiscolario-cli /tmp/fcl-bench-strada prima.txt
#   confronta.sh build/default/app/fiscolario-cli/fiscolario-cli /tmp/fcl-bench-strada dopo.txt
#   diff prima.txt dopo.txt && echo identici
# WORK-DIR must hold the program folder `programma` that esegui.sh makes (templates and the
# example operator). Every workbook runs with both kinds of data (1 aggregated, 2 analytical) and
# --conserva-con-errori, so that a file the check rejects is compared too; the messages of the
# command (stdout, stderr) are compared as well.
set -euo pipefail
cli=$(realpath "$1")
lavoro=$(realpath "$2")
impronte=$(realpath -m "$3")
shift 3
qui=$(cd "$(dirname "$0")" && pwd)
programma="$lavoro/programma"
[ -f "$programma/DataBase/FCL2013.mdb" ] || { echo "manca $programma: eseguire prima esegui.sh" >&2; exit 2; }
cf=02468130162

cartelle=("$@")
if [ ${#cartelle[@]} -eq 0 ]; then
  for f in an-1000.xlsx an-50000.xlsx an-65536.xls ag-300000.xlsx an-500000.xlsx; do
    [ -f "$lavoro/$f" ] && cartelle+=("$lavoro/$f")
  done
  while IFS= read -r f; do cartelle+=("$f"); done < <(
    find "$qui/../../tests" \( -name '*.xls' -o -name '*.xlsx' -o -name '*.ods' \) \
      -not -path '*/regressioni/*' | sort)
fi

# The PDF dates (creation, modification, metadata) are the only bytes that change between runs.
impronta() {
  case $1 in
    *.PDF | *.pdf) LC_ALL=C perl -0777 -pe "s/D:[0-9]{14}Z\\+01'00'/D:00000000000000Z+01'00'/g" "$1" |
      sha256sum | cut -d' ' -f1 ;;
    *) sha256sum <"$1" | cut -d' ' -f1 ;;
  esac
}

uscita="$lavoro/confronto"
: >"$impronte"
for cartella in "${cartelle[@]}"; do
  for dati in 2 1; do
    rm -rf "$uscita"
    mkdir -p "$uscita"
    rm -f "$programma/FCLtemp.TXT"
    esito=0
    (cd "$uscita" && "$cli" --cartella "$programma" crea "$cf" "$cartella" --anno 2025 --dati "$dati" \
      --listato "$uscita/L.PDF" --sovrascrivi --conserva-con-errori >stdout.txt 2>stderr.txt) ||
      esito=$?
    nome="$(basename "$cartella") dati=$dati"
    echo "$nome esito $esito" >>"$impronte"
    [ -f "$programma/FCLtemp.TXT" ] && cp "$programma/FCLtemp.TXT" "$uscita/FCLtemp.TXT"
    for f in $(cd "$uscita" && ls | sort); do
      echo "$nome $f $(impronta "$uscita/$f")" >>"$impronte"
    done
  done
done
rm -rf "$uscita"
echo "$(grep -c ' esito ' "$impronte") esecuzioni, $(grep -vc ' esito ' "$impronte") file in $impronte"
