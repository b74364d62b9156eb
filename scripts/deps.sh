#!/usr/bin/env bash
# Installs what building, testing and running need on Debian 12 (as root, or through sudo).
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql
      libboost1.74-dev libssl-dev libsqlite3-dev libxxhash-dev libgtest-dev libgmock-dev libbenchmark-dev
      postgresql xvfb xauth x11-apps xdotool imagemagick fonts-dejavu-core poppler-utils fonts-liberation2
      openbox qt6-translations-l10n sqlite3 clang libclang-rt-14-dev openssl dpkg-dev libjpeg62-turbo-dev chromium)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The browser tests' driver, as pinned in tests/web/package-lock.json; it downloads no browser.
web="$(dirname "$0")/../tests/web"
if [ ! -d "$web/node_modules/puppeteer-core" ]; then
  PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix "$web" --ignore-scripts --no-audit --no-fund
fi
