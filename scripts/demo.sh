#!/usr/bin/env bash
# The main job: builds everything, creates a demo database, starts the application server on it and
# opens the "Foto Montagem do Manual" screen (QMV00500) in the host shell. Without a display the shell
# runs under Xvfb with openbox and saves four pictures in screenshots/: the company list opened by "..."
# from the empty panel (qmv00500-lista.png), a demo selection typed and loaded (qmv00500.png), the order
# of its second sub-group edited, sent and read back by Verify (qmv00500-ordem.png), and the same
# selection on a 640x480 screen (qmv00500-640x480.png). The server is stopped on exit.
#   QMV_DEMO_DIR   where the demo database and the host's INI go (default: a temporary folder)
#   QMV_DEMO_PORT  the server's port (default: a free one)
#   QMV_DEMO_COMPANY, QMV_DEMO_MANUAL, QMV_DEMO_SERVICE  what the headless run types (default CAZUL, 1, 104001)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
BUILD_DIR=${BUILD_DIR:-build}
case "$BUILD_DIR" in /*) build="$BUILD_DIR" ;; *) build="$root/$BUILD_DIR" ;; esac

bash scripts/deps.sh
BUILD_DIR="$build" bash scripts/build.sh

work=${QMV_DEMO_DIR:-$(mktemp -d)}
mkdir -p "$work"
db="$work/demo.sqlite"
server_pid=""
cleanup() {
  if [ -n "$server_pid" ] && kill -0 "$server_pid" 2>/dev/null; then
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
  fi
  [ -n "${QMV_DEMO_DIR:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

free_port() {
  local port
  for port in $(seq 8211 8299); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
  echo "demo: no free port between 8211 and 8299" >&2
  exit 1
}

healthy() {
  local reply
  exec 3<>"/dev/tcp/127.0.0.1/$1" || return 1
  printf 'GET /health HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3
  reply=$(head -c 12 <&3 || true)
  exec 3>&-
  [[ "$reply" == "HTTP/1."?" 200" ]]
}

port=${QMV_DEMO_PORT:-$(free_port)}
[ -f "$db" ] || "$build/appserver/appserver" --db "$db" --init-demo --no-serve
"$build/appserver/appserver" --db "$db" --port "$port" >"$work/appserver.log" 2>&1 &
server_pid=$!
for _ in $(seq 1 100); do
  healthy "$port" 2>/dev/null && break
  kill -0 "$server_pid" 2>/dev/null || { cat "$work/appserver.log" >&2; exit 1; }
  sleep 0.1
done
healthy "$port" 2>/dev/null || { echo "demo: the application server does not answer" >&2; exit 1; }

ini="$work/qmvhost.ini"
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

host=("$build/bin/qmvhost" --config "$ini" --packages "$build/bin" --open QMV00500)
if [ -n "${DISPLAY:-}" ]; then
  "${host[@]}"
else
  mkdir -p screenshots
  export XDG_CONFIG_HOME="$work/config"   # the shell's remembered size stays with the demo
  xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" \
    bash scripts/demo-drive.sh full "$root/screenshots" "${host[@]}"
  rm -rf "$XDG_CONFIG_HOME"
  xvfb-run -a -s "-screen 0 640x480x24 -dpi 96" \
    bash scripts/demo-drive.sh small "$root/screenshots" "${host[@]}"
  echo "demo: screenshots/qmv00500-lista.png, qmv00500.png, qmv00500-ordem.png and qmv00500-640x480.png saved"
fi
