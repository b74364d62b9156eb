#!/usr/bin/env bash
# The load benchmark, on loopback: a demo database, the application server and the peer endpoint
# (Node.js + better-sqlite3, installed by bench/peer/install.sh on first use), then bench_load
# against both, interleaved, and the SIGTERM stop under load. Every loop is bounded.
#   bench/load/run.sh [seconds per run, default 20]
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD_DIR=${BUILD_DIR:-build}
SECONDS_PER_RUN=${1:-20}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

"$BUILD_DIR/appserver/appserver" --db "$work/demo.sqlite" --init-demo --no-serve
"$BUILD_DIR/bench/load/bench_load" --write-peer-sql "$work/peer.sql"
bash bench/peer/install.sh

# The same server over TLS beside it, with a throw-away certificate the client pins.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=localhost \
  -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout "$work/tls.key" -out "$work/tls.pem" 2>/dev/null

port=18211
peer=18212
tls=18213
"$BUILD_DIR/appserver/appserver" --db "$work/demo.sqlite" --port $port 2>/dev/null &
server=$!
"$BUILD_DIR/appserver/appserver" --db "$work/demo.sqlite" --port $tls --tls-cert "$work/tls.pem" \
  --tls-key "$work/tls.key" 2>/dev/null &
node bench/peer/server.js "$work/demo.sqlite" "$work/peer.sql" $peer &
for _ in $(seq 100); do
  curl -sf "http://127.0.0.1:$port/health" >/dev/null && curl -sf "http://127.0.0.1:$peer/health" >/dev/null \
    && curl -sf --cacert "$work/tls.pem" "https://127.0.0.1:$tls/health" >/dev/null && break
  sleep 0.1
done

"$BUILD_DIR/bench/load/bench_load" --db "$work/demo.sqlite" --port $port --peer-port $peer \
  --connections 50 --seconds "$SECONDS_PER_RUN" --idle 450 --slow 16 --burst 500 \
  --tls-port $tls --tls-cert "$work/tls.pem"

# SIGTERM while 50 clients call and 16 send slowly: the server must be gone within 5 s.
"$BUILD_DIR/bench/load/bench_load" --db "$work/demo.sqlite" --port $port --connections 50 --seconds 10 \
  --slow 16 >/dev/null 2>&1 &
load=$!
sleep 3
start=$(date +%s.%N)
kill -TERM $server
wait $server || true
end=$(date +%s.%N)
echo "SIGTERM under load: stopped in $(echo "$end - $start" | bc) s"
wait $load || true
