#!/usr/bin/env bash
# The load benchmark on PostgreSQL: a throw-away cluster with the demo data, the application server
# on it, and bench_load's 50 kept-alive clients (the demo SQLite file, generated alike, only tells
# bench_load which service to call). No peer: it reads SQLite only.
#   bench/load/run-pg.sh [seconds per run, default 20] [worker threads, default 8]
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD_DIR=${BUILD_DIR:-build}
SECONDS_PER_RUN=${1:-20}
THREADS=${2:-8}
work=$(mktemp -d)
source scripts/postgres.sh
# Replaces the cluster's own stop on exit, so the server goes first.
trap 'kill $(jobs -p) 2>/dev/null || true; as_pg "$PGBIN/pg_ctl" -D "$PGDIR/data" -m fast stop >/dev/null 2>&1 || true
      rm -rf "$work"' EXIT

"$BUILD_DIR/appserver/appserver" --db "$work/demo.sqlite" --init-demo --no-serve
"$BUILD_DIR/appserver/appserver" --pg "$QMV_TEST_PG" --init-demo --no-serve
port=18213
"$BUILD_DIR/appserver/appserver" --pg "$QMV_TEST_PG" --port $port --threads "$THREADS" 2>/dev/null &
for _ in $(seq 100); do
  curl -sf "http://127.0.0.1:$port/health" >/dev/null && break
  sleep 0.1
done
"$BUILD_DIR/bench/load/bench_load" --db "$work/demo.sqlite" --port $port \
  --connections 50 --seconds "$SECONDS_PER_RUN" --idle 450 --slow 16 --burst 500
