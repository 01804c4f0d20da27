#!/usr/bin/env bash
# Runs a command with a throwaway PostgreSQL cluster of its own, stopped and removed at the end
# whatever happens:
#
#   scripts/con-postgres.sh COMMAND [ARG...]
#
# The cluster lives in a temporary folder, is made by initdb as an unprivileged user (the
# "postgres" user when this runs as root) and listens only on a Unix socket in that folder. The
# command gets FCL_PG_CONNESSIONE, a libpq connection string for the superuser "fcl" and the
# database "postgres" (the database tests create and drop their own databases through it), and
# the same as PGHOST, PGPORT, PGUSER, PGDATABASE. Without PostgreSQL's server programs the command runs
# without a cluster and the tests that need one say why they skip.
set -euo pipefail

bin=""
for d in /usr/lib/postgresql/*/bin; do
  [ -x "$d/initdb" ] && bin="$d"
done
if [ -z "$bin" ]; then
  echo "con-postgres: server PostgreSQL assente (initdb non trovato): i test sul server saranno saltati" >&2
  exec "$@"
fi

cartella="$(mktemp -d /tmp/fcl-pg.XXXXXX)"
chmod 755 "$cartella"
utente=""
if [ "$(id -u)" -eq 0 ]; then
  utente=postgres
  id "$utente" >/dev/null 2>&1 || useradd --system --no-create-home "$utente"
  chown "$utente" "$cartella"
fi
come() {
  if [ -n "$utente" ]; then
    runuser -u "$utente" -- "$@"
  else
    "$@"
  fi
}
porta=$((20000 + RANDOM % 20000))

ferma() {
  come "$bin/pg_ctl" -D "$cartella/dati" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$cartella"
}
trap ferma EXIT
trap 'exit 130' INT TERM

come "$bin/initdb" -D "$cartella/dati" -U fcl -A trust -E UTF8 --locale=C.UTF-8 >"$cartella/initdb.log" 2>&1 ||
  { cat "$cartella/initdb.log" >&2; exit 1; }
come "$bin/pg_ctl" -D "$cartella/dati" -l "$cartella/server.log" -w -t 60 \
  -o "-c listen_addresses='' -c unix_socket_directories='$cartella' -p $porta -c fsync=off -c max_connections=60" \
  start >/dev/null || { cat "$cartella/server.log" >&2; exit 1; }

export PGHOST="$cartella" PGPORT="$porta" PGUSER=fcl PGDATABASE=postgres
export FCL_PG_CONNESSIONE="host=$cartella port=$porta user=fcl dbname=postgres"
echo "con-postgres: cluster di prova in $cartella, porta $porta" >&2
"$@"
