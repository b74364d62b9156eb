#!/usr/bin/env bash
# Installs the peer endpoint's dependencies into bench/peer/node_modules when they are not there yet.
# better-sqlite3 is a native module: node-gyp compiles it (and its SQLite) against the installed
# Node's own headers, so no headers or prebuilt binaries are downloaded. Those headers come with
# the Node package itself (<prefix>/include/node/node_api.h: NodeSource's nodejs ships them;
# Debian's own nodejs needs libnode-dev of the same version).
set -euo pipefail
cd "$(dirname "$0")"
if ls node_modules/better-sqlite3/build/Release/better_sqlite3.node >/dev/null 2>&1; then
  exit 0
fi
nodedir="$(dirname "$(dirname "$(command -v node)")")"
if [ ! -f "$nodedir/include/node/node_api.h" ]; then
  echo "bench/peer: no Node headers under $nodedir/include/node; install the headers of node $(node --version)" \
       "(Debian: apt-get install libnode-dev) to build better-sqlite3" >&2
  exit 1
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
npm install --no-audit --no-fund --silent --ignore-scripts
# Compiling SQLite takes a few minutes on a busy machine.
(cd node_modules/better-sqlite3 &&
   node "$(dirname "$(command -v npm)")/../lib/node_modules/npm/node_modules/node-gyp/bin/node-gyp.js" \
     rebuild --release --nodedir="$nodedir" -j "$(nproc)" >"$log" 2>&1) ||
  { tail -20 "$log" >&2; exit 1; }
