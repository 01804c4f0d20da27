#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz") and runs each for SECONDS (default 600) with its
# seed corpus, then prints a summary: seconds run, executions, corpus size and findings.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     targets: xls xlsx ods modello_pdf inflate backup
#                                                      valori ini marcatore verifica (default all)
#
# Needs clang and libFuzzer's runtime: on Debian `apt-get install clang libclang-rt-14-dev`
# (not in install-deps.sh: CI does not build this preset). Environment:
#   FCL_FUZZ_BUILD   build folder (default build/fuzz)
#   FCL_FUZZ_WORK    scratch folder for corpora, crashes and logs (default /tmp/fcl-fuzz); grown
#                    corpora are never committed, only the seeds made by fuzz/semi.py
#   FCL_FUZZ_NOBUILD set to 1 to run the targets already built
#   FCL_FUZZ_RSS     memory limit in MB (resident set and any single allocation) for every input;
#                    default 1024 for the workbook readers, 2048 for the others
#   FCL_FUZZ_TIMEOUT seconds one input may take: a slower input is a finding; default 30 for the
#                    workbook readers (an input of 64 KB may inflate to 64 MB of XML, which the
#                    sanitized build parses in seconds on a busy machine), 10 for the others
#   FCL_FUZZ_SENZA_FREEXL=1  the xls target skips the inputs that would reach FreeXL (fuzz/README.md)
# Targets run one after the other, niced. Every input runs under the time and memory limits above,
# so an input that makes a reader work or allocate without bound is a finding. A finding stops its
# target; the input is kept in $FCL_FUZZ_WORK/artefatti/<target>/ (crash-*, timeout-*, leak-*,
# oom-*).
set -euo pipefail

radice="$(cd "$(dirname "$0")/.." && pwd)"
secondi="${1:-600}"
shift || true
tutti=(xls xlsx ods modello_pdf inflate backup valori ini marcatore verifica)
if [[ $# -gt 0 ]]; then obiettivi=("$@"); else obiettivi=("${tutti[@]}"); fi
build="${FCL_FUZZ_BUILD:-$radice/build/fuzz}"
lavoro="${FCL_FUZZ_WORK:-/tmp/fcl-fuzz}"

# The longest input worth mutating, per target.
declare -A lunghezza=(
  [xls]=65536 [xlsx]=65536 [ods]=65536 [modello_pdf]=65536 [inflate]=16384 [backup]=16384
  [valori]=1024 [ini]=4096 [marcatore]=16384 [verifica]=16384
)
# Memory per input in MB for the readers: an input of 64 KB inflates to about 64 MB at most, so even
# with the sanitizers' overhead a reader that does not amplify its input stays well below 1 GB.
declare -A memoria=([xls]=1024 [xlsx]=1024 [ods]=1024)
declare -A secondiInput=([xls]=30 [xlsx]=30 [ods]=30)
for t in "${obiettivi[@]}"; do
  [[ -n "${lunghezza[$t]:-}" ]] || { echo "Obiettivo sconosciuto: $t" >&2; exit 2; }
done

if [[ "${FCL_FUZZ_NOBUILD:-0}" != 1 ]]; then
  [[ -f "$build/CMakeCache.txt" ]] || cmake --preset fuzz -S "$radice" -B "$build" >/dev/null
  cmake --build "$build" -j2 $(printf -- '--target fuzz_%s ' "${obiettivi[@]}")
fi

mkdir -p "$lavoro"
semi="$lavoro/semi-$$"
trap 'rm -rf "$semi"' EXIT
/usr/bin/python3 "$radice/fuzz/semi.py" "$radice" "$semi"

# FreeXL's own losses on damaged .xls files are not ours to fix (fuzz/lsan.supp).
export LSAN_OPTIONS="suppressions=$radice/fuzz/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

riepilogo="$lavoro/riepilogo-$$.txt"
printf '%-12s %8s %12s %8s %s\n' target secondi esecuzioni corpus esito > "$riepilogo"
stato=0
for t in "${obiettivi[@]}"; do
  corpus="$lavoro/corpus/$t"
  artefatti="$lavoro/artefatti/$t"
  log="$lavoro/log/$t.log"
  mkdir -p "$corpus" "$artefatti" "$lavoro/log" "$semi/$t"
  dizionario=()
  case $t in
    xlsx | ods) dizionario=(-dict="$radice/fuzz/dizionari/$t.dict") ;;
    modello_pdf) dizionario=(-dict="$radice/fuzz/dizionari/pdf.dict") ;;
  esac
  inizio=$(date +%s)
  esito=0
  rss="${FCL_FUZZ_RSS:-${memoria[$t]:-2048}}"
  tempo="${FCL_FUZZ_TIMEOUT:-${secondiInput[$t]:-10}}"
  nice -n 15 "$build/fuzz/fuzz_$t" "$corpus" "$semi/$t" \
    -max_total_time="$secondi" -timeout="$tempo" -rss_limit_mb="$rss" -malloc_limit_mb="$rss" \
    -max_len="${lunghezza[$t]}" "${dizionario[@]}" -artifact_prefix="$artefatti/" -print_final_stats=1 \
    > "$log" 2>&1 || esito=$?
  durata=$(( $(date +%s) - inizio ))
  esecuzioni=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  if [[ -z "$esecuzioni" ]]; then
    esecuzioni=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
  fi
  if [[ $esito -eq 0 ]]; then
    descrizione="nessun problema"
  else
    descrizione="PROBLEMA: $(grep -m1 -E 'ERROR: |runtime error|SUMMARY' "$log" | cut -c1-80) ($artefatti)"
    stato=1
  fi
  printf '%-12s %8s %12s %8s %s\n' "$t" "$durata" "${esecuzioni:-?}" "$(ls "$corpus" | wc -l)" \
    "$descrizione" >> "$riepilogo"
done
cat "$riepilogo"
exit $stato
