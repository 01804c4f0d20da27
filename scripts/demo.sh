#!/usr/bin/env bash
# The demo main road from the command line: a fresh program folder, the example operator restored
# from its backup file, then the workbook run and the creation of the communication on the example
# workbook. Prints the paths of the files it wrote. Uses the build in build/default (or FCL_BUILD).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="$root/${FCL_BUILD:-build/default}"
cli="$build/app/fiscolario-cli/fiscolario-cli"
base=$(mktemp -d "${TMPDIR:-/tmp}/fiscolario-demo.XXXXXX")
programma="$base/programma"
uscita="$base/comunicazione"
mkdir -p "$uscita"
# The first command makes the program folder and completes it with the templates and the guide of
# the build's skeleton (build/.../programma).

echo "== Cartella del programma: $programma"
"$cli" --cartella "$programma" ripristina resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL
"$cli" --cartella "$programma" operatori
echo "== Creazione della comunicazione"
percorsi=$("$cli" --cartella "$programma" crea 02468130162 resources/esempio/ESEMPIO_ANALITICO.xlsx \
  --anno 2025 --listato "$uscita/FCL_ALFABETACOSTRUZIONIS_LISTATO.PDF")
echo "$percorsi"
echo "== Controllo del file sul tracciato pubblicato"
"$cli" verifica "$(echo "$percorsi" | head -n 1)"
