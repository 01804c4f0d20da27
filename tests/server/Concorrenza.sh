#!/usr/bin/env bash
# Several workstations on one register on a PostgreSQL server, as real processes of the command
# line: restores at once, saves of the same operator at once, creations at once from two program
# folders (byte for byte the files of the embedded register), a batch, and a connection killed in
# the middle of a restore. Needs the throwaway cluster of scripts/con-postgres.sh (FCL_PG_CONNESSIONE);
# without it the test is skipped (exit 77).
set -uo pipefail
cli="$1"
sorgenti="$2"
if [ -z "${FCL_PG_CONNESSIONE:-}" ]; then
  echo "FCL_PG_CONNESSIONE non impostata: nessun server PostgreSQL di prova" >&2
  exit 77
fi
lavoro="$(mktemp -d "${TMPDIR:-/tmp}/fcl-concorrenza.XXXXXX")"
db="fcl_conc_$$"
trap 'psql -q -c "DROP DATABASE IF EXISTS $db WITH (FORCE)" >/dev/null 2>&1; [ -n "${FCL_CONSERVA:-}" ] || rm -rf "$lavoro"' EXIT
fallito=0
controlla() {  # controlla DESCRIZIONE COMANDO...
  local descrizione="$1"
  shift
  if "$@"; then echo "ok   $descrizione"; else echo "FALLITO $descrizione" >&2; fallito=1; fi
}

psql -q -c "CREATE DATABASE $db" || exit 1
connessione="${FCL_PG_CONNESSIONE/dbname=postgres/dbname=$db}"
postazione() {  # a program folder on the server
  mkdir -p "$lavoro/$1"
  printf '[opzioni]\nTipoDb=P\nServer_Connessione=%s\n' "$connessione" >"$lavoro/$1/configurazione.ini"
}
postazione uno
postazione due
mkdir -p "$lavoro/locale"

# The operators: the example's, and two from a client list, made into backups on an embedded register.
cat >"$lavoro/soggetti.csv" <<'CSV'
codice_fiscale;partita_iva;tipo_soggetto;ragione_sociale;comune_sede;provincia_sede;codice_ateco
01357924685;01357924685;PNF;PRIMA PROVA SRL;ROMA;RM;41.20.00
08642135795;08642135795;PNF;SECONDA PROVA SRL;MILANO;MI;41.20.00
CSV
"$cli" --cartella "$lavoro/locale" ripristina "$sorgenti/resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL" >/dev/null 2>&1
"$cli" --cartella "$lavoro/locale" importa operatori "$lavoro/soggetti.csv" >/dev/null 2>&1
"$cli" --cartella "$lavoro/locale" salva 01357924685 "$lavoro/primo.FCL" >/dev/null 2>&1
"$cli" --cartella "$lavoro/locale" salva 08642135795 "$lavoro/secondo.FCL" >/dev/null 2>&1

# Two restores of different operators at once, from two workstations.
"$cli" --cartella "$lavoro/uno" ripristina "$lavoro/primo.FCL" >"$lavoro/r1.log" 2>&1 &
p1=$!
"$cli" --cartella "$lavoro/due" ripristina "$lavoro/secondo.FCL" >"$lavoro/r2.log" 2>&1 &
p2=$!
wait $p1; r1=$?
wait $p2; r2=$?
controlla "due ripristina insieme" test "$r1$r2" = "00"
controlla "entrambi i soggetti sul server" \
  test "$("$cli" --cartella "$lavoro/uno" operatori | cut -f1 | sort | tr '\n' ' ')" = "01357924685 08642135795 "

# Two saves of the same operator at once: each is whole, one wins, nothing is mixed.
for n in 1 2; do
  { echo "codice_fiscale;partita_iva;tipo_soggetto;ragione_sociale;comune_sede;provincia_sede;codice_ateco"
    echo "01357924685;01357924685;PNF;VERSIONE $n SRL;COMUNE $n;P$n;41.20.0$n"; } >"$lavoro/v$n.csv"
done
"$cli" --cartella "$lavoro/uno" importa operatori "$lavoro/v1.csv" --aggiorna >/dev/null 2>&1 &
p1=$!
"$cli" --cartella "$lavoro/due" importa operatori "$lavoro/v2.csv" --aggiorna >/dev/null 2>&1 &
p2=$!
wait $p1; wait $p2
riga=$(psql -d "$db" -At -c "SELECT orag || '|' || oscom || '|' || ospro || '|' || oatt FROM cope WHERE ocod = '01357924685'")
controlla "due salvataggi insieme: una versione intera ($riga)" \
  bash -c "[ '$riga' = 'VERSIONE 1 SRL|COMUNE 1|P1|41.20.01' ] || [ '$riga' = 'VERSIONE 2 SRL|COMUNE 2|P2|41.20.02' ]"

# The main road from two workstations at once writes what it writes on the embedded register.
"$cli" --cartella "$lavoro/uno" ripristina "$sorgenti/resources/esempio/SAVE_ESEMPIO_ALFABETA.FCL" >/dev/null 2>&1
foglio="$sorgenti/resources/esempio/ESEMPIO_ANALITICO.xlsx"
for p in locale uno due; do mkdir -p "$lavoro/uscita-$p"; done
"$cli" --cartella "$lavoro/locale" crea 02468130162 "$foglio" --anno 2025 \
  --listato "$lavoro/uscita-locale/ALFA_LISTATO.PDF" >/dev/null 2>&1
"$cli" --cartella "$lavoro/uno" crea 02468130162 "$foglio" --anno 2025 \
  --listato "$lavoro/uscita-uno/ALFA_LISTATO.PDF" >"$lavoro/c1.log" 2>&1 &
p1=$!
"$cli" --cartella "$lavoro/due" crea 02468130162 "$foglio" --anno 2025 \
  --listato "$lavoro/uscita-due/ALFA_LISTATO.PDF" >"$lavoro/c2.log" 2>&1 &
p2=$!
wait $p1; r1=$?
wait $p2; r2=$?
controlla "due crea insieme sul server" test "$r1$r2" = "00"
controlla "comunicazione uguale a quella dell'archivio locale (uno)" \
  cmp "$lavoro/uscita-locale/ALFA.TXT" "$lavoro/uscita-uno/ALFA.TXT"
controlla "comunicazione uguale a quella dell'archivio locale (due)" \
  cmp "$lavoro/uscita-locale/ALFA.TXT" "$lavoro/uscita-due/ALFA.TXT"

# A batch on the server, two rows at once.
printf 'codice_fiscale;foglio\n02468130162;%s\n' "$foglio" >"$lavoro/lotto.csv"
"$cli" --cartella "$lavoro/due" lotto "$lavoro/lotto.csv" --uscita "$lavoro/lotto" --anno 2025 \
  --processi 2 >"$lavoro/lotto.log" 2>&1
rl=$?
controlla "lotto sul server ($(tail -c 300 "$lavoro/lotto.log" | tr '\n' ' '))" test "$rl" -eq 0
controlla "lotto: comunicazione uguale a quella di crea" \
  cmp "$lavoro/uscita-locale/ALFA.TXT" "$(ls "$lavoro"/lotto/02468130162/*.TXT | grep -v _VERIFICA | head -1)"

# A restore whose connection is killed half-way changes nothing.
psql -q -d "$db" -c "DELETE FROM cope WHERE ocod = '08642135795'"
prima=$(psql -d "$db" -At -c "SELECT count(*) FROM cope")
coproc BLOCCO { psql -q -d "$db" -c "BEGIN; LOCK TABLE ctab IN ACCESS EXCLUSIVE MODE; SELECT pg_sleep(30);" ; }
sleep 1
"$cli" --cartella "$lavoro/uno" ripristina "$lavoro/secondo.FCL" >"$lavoro/rk.log" 2>&1 &
pr=$!
for _ in $(seq 50); do
  pid=$(psql -d postgres -At -c "SELECT pid FROM pg_stat_activity WHERE datname = '$db' AND application_name = 'fiscolario' AND wait_event_type = 'Lock' LIMIT 1")
  [ -n "$pid" ] && break
  sleep 0.2
done
psql -q -d postgres -c "SELECT pg_terminate_backend($pid)" >/dev/null
wait $pr; rk=$?
kill "$BLOCCO_PID" 2>/dev/null
psql -q -d postgres -c "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = '$db' AND application_name <> 'fiscolario' AND pid <> pg_backend_pid()" >/dev/null
controlla "ripristina troncato: uscita 1 ($(tail -c 200 "$lavoro/rk.log" | tr '\n' ' '))" test "$rk" -eq 1
controlla "ripristina troncato: nulla scritto" \
  test "$(psql -d "$db" -At -c "SELECT count(*) FROM cope")" = "$prima"
exit $fallito
