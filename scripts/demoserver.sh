# Sourced by the scripts that run the screens on demo data. demo_server starts the application server
# on the demo database in a folder (created there first when missing), on a free port of a range or
# on QMV_DEMO_PORT, waits until it answers and writes the host's INI beside the database.
#   demo_server <build dir> <folder> <first port> <last port>
# Sets: db, port, ini, server_pid. stop_demo_server stops it (safe to call twice).
demo_server() {
  local build=$1 folder=$2 first=$3 last=$4 p
  db="$folder/demo.sqlite"
  ini="$folder/qmvhost.ini"
  server_pid=""
  port=${QMV_DEMO_PORT:-}
  if [ -z "$port" ]; then
    for p in $(seq "$first" "$last"); do
      (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null || { port=$p; break; }
    done
    [ -n "$port" ] || { echo "no free port between $first and $last" >&2; return 1; }
  fi
  [ -f "$db" ] || QT_QPA_PLATFORM=offscreen "$build/appserver/appserver" --db "$db" --init-demo --no-serve
  "$build/appserver/appserver" --db "$db" --port "$port" >"$folder/appserver.log" 2>&1 &
  server_pid=$!
  for _ in $(seq 1 100); do
    demo_server_healthy && break
    kill -0 "$server_pid" 2>/dev/null || { cat "$folder/appserver.log" >&2; return 1; }
    sleep 0.1
  done
  demo_server_healthy || { echo "the application server does not answer on port $port" >&2; return 1; }
  cat >"$ini" <<INI
[Filial]
Codigo=0001
Nome=Cozinha Central Guarulhos
ModuFili=N

[Servidor]
Host=127.0.0.1
Porta=$port

[BancoDados]
Driver=QSQLITE
Nome=$db
INI
}

demo_server_healthy() {
  local reply
  exec 3<>"/dev/tcp/127.0.0.1/$port" 2>/dev/null || return 1
  printf 'GET /health HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
  reply=$(head -c 12 <&3 || true)
  exec 3>&-
  [[ "$reply" == "HTTP/1."?" 200" ]]
}

stop_demo_server() {
  if [ -n "${server_pid:-}" ] && kill -0 "$server_pid" 2>/dev/null; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  server_pid=""
}
