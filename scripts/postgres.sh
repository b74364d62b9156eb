#!/usr/bin/env bash
# Starts a throw-away PostgreSQL cluster on a private socket and port and prints its connection text.
# Usage: source scripts/postgres.sh   (exports QMV_TEST_PG, QMV_TEST_PG_DATA and QMV_TEST_PG_CTL,
# registers a stop on exit)
set -euo pipefail
PGBIN=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
PGDIR=$(mktemp -d /tmp/qmvpg.XXXXXX)
PGPORT=${QMV_PG_PORT:-55432}
chown postgres "$PGDIR" 2>/dev/null || true
as_pg() { if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }
as_pg "$PGBIN/initdb" -D "$PGDIR/data" -A trust -U postgres >/dev/null
as_pg "$PGBIN/pg_ctl" -D "$PGDIR/data" -o "-p $PGPORT -k $PGDIR -c listen_addresses=''" -l "$PGDIR/log" -w start >/dev/null
as_pg "$PGBIN/createdb" -h "$PGDIR" -p "$PGPORT" -U postgres qmvtest
export QMV_TEST_PG="host=$PGDIR port=$PGPORT dbname=qmvtest user=postgres"
# For the test that restarts PostgreSQL under the server.
export QMV_TEST_PG_DATA="$PGDIR/data" QMV_TEST_PG_CTL="$PGBIN/pg_ctl"
trap 'as_pg "$PGBIN/pg_ctl" -D "$PGDIR/data" -m fast stop >/dev/null 2>&1 || true' EXIT
