#!/usr/bin/env bash
# Runs the database-list tests ($1) against a throwaway PostgreSQL server on
# loopback, reached through unixODBC and psqlODBC as the "SQL Native
# Client" driver: first while the server runs, then after it has stopped.
set -euo pipefail
TESTS=$1

PG_BIN=$(find /usr/lib/postgresql -maxdepth 2 -name bin -type d | sort -V | tail -n 1)
[ -x "$PG_BIN/initdb" ] || { echo "PostgreSQL is not installed (scripts/setup.sh installs it)" >&2; exit 1; }

DIR=$(mktemp -d /tmp/konfignovera-pg.XXXXXX)
# initdb and postgres refuse to run as root.
if [ "$(id -u)" -eq 0 ]; then
  chown postgres "$DIR"
  as_server() { runuser -u postgres -- "$@"; }
else
  as_server() { "$@"; }
fi
stop_server() {
  as_server "$PG_BIN/pg_ctl" -D "$DIR/data" -m immediate -w stop >/dev/null 2>&1 || true
}
trap 'stop_server; rm -rf "$DIR"' EXIT

SUPER_PASSWORD=konfignovera-test
echo "$SUPER_PASSWORD" >"$DIR/pw"
chmod 644 "$DIR/pw"
# Password logins only, so a wrong password is really refused.
as_server "$PG_BIN/initdb" -D "$DIR/data" -U test --pwfile="$DIR/pw" -A scram-sha-256 -E UTF8 --locale=C \
  >"$DIR/initdb.log" 2>&1 || { cat "$DIR/initdb.log" >&2; exit 1; }

# The role that stands for a Windows account logs in without a password,
# as a Windows login sends none.
sed -i '1i host all windows_user 127.0.0.1/32 trust' "$DIR/data/pg_hba.conf"

PORT=
for _ in 1 2 3 4 5 6 7 8 9 10; do
  candidate=$((20000 + RANDOM % 30000))
  if as_server "$PG_BIN/pg_ctl" -D "$DIR/data" -l "$DIR/server.log" \
       -o "-k $DIR -p $candidate -h 127.0.0.1" -w start >/dev/null 2>&1; then
    PORT=$candidate
    break
  fi
done
[ -n "$PORT" ] || { cat "$DIR/server.log" >&2; echo "the test server did not start" >&2; exit 1; }

sql() {
  PGPASSWORD=$SUPER_PASSWORD psql -X -q -h 127.0.0.1 -p "$PORT" -U test -v ON_ERROR_STOP=1 -d "$1" -c "$2"
}
# The wizard's fixed SQL Server login, and "dbo" for a Windows login; the
# system databases exist so that the statement's filter is what hides them.
sql postgres "create role novera login password 'p.f.j. tevrol'"
sql postgres "create role dbo login password 'p.f.j. tevrol'"
sql postgres "create role windows_user login"
for database in master msdb model tempdb resource distribution lumira 'Księgowość'; do
  sql postgres "create database \"$database\""
done
sql master "create view sysdatabases as select datname as name from pg_database"
sql master "grant select on sysdatabases to public"

export KONFIGNOVERA_TEST_SERVER="127.0.0.1:$PORT"
KONFIGNOVERA_TEST_ODBC_DRIVER=$(find /usr/lib -name psqlodbcw.so -print -quit)
[ -n "$KONFIGNOVERA_TEST_ODBC_DRIVER" ] || { echo "psqlODBC is not installed" >&2; exit 1; }
export KONFIGNOVERA_TEST_ODBC_DRIVER
"$TESTS" --gtest_filter='-*ServerStopped*'
stop_server
"$TESTS" --gtest_filter='*ServerStopped*'
