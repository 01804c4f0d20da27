#!/usr/bin/env bash
# The demo main road from the command line: a fresh program folder, the example operator restored
# from its backup file, then the workbook run and the creation of the communication on the example
# workbook. Prints the paths of the files it wrote. Expects a build in build/default.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
cli="$root/build/default/app/fiscolario-cli/fiscolario-cli"
base=$(mktemp -d "${TMPDIR:-/tmp}/fiscolario-demo.XXXXXX")
programma="$base/programma"
uscita="$base/comunicazione"
mkdir -p "$programma" "$uscita"
# The program folder receives the templates and the guide of the build.
cp -r "$root/build/default/programma/." "$programma/"

echo "== Cartella del programma: $programma"
"$cli" --cartella "$programma" ripristina resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL
"$cli" --cartella "$programma" operatori
echo "== Creazione della comunicazione"
"$cli" --cartella "$programma" crea 02468135799 resources/esempio/ESEMPIO_ANALITICO.xlsx \
  --anno 2025 --listato "$uscita/FCL_ALFABETACOSTRUZIONIS_LISTATO.PDF"
