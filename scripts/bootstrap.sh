#!/usr/bin/env bash
# Installs every Debian package that building and testing PageHarvest needs. Safe to run again:
# packages already installed are skipped, and apt is not touched when nothing is missing.
set -euo pipefail

packages=(
  # native build and tests
  build-essential cmake ninja-build ccache pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  # libraries of the native ports and the command-line band
  libgumbo-dev libxml2-dev libxslt1-dev liburiparser-dev libcurl4-openssl-dev nlohmann-json3-dev
  # the browser that renders pages for grab --browser
  chromium
  # the second family of browsers the extension runs in
  firefox-esr
  # databases: driver manager, drivers, servers and clients
  unixodbc unixodbc-dev libsqliteodbc odbc-mariadb sqlite3 mariadb-server mariadb-client
  odbc-postgresql postgresql
  # Windows build, its runtime and the setup program's compiler
  mingw-w64 mingw-w64-tools g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine64 libwine-dev nsis
  # screenshots of the dialogs, the desktop clipboard of grab, the loopback HTTP server of the tests
  xvfb xauth xclip libx11-dev imagemagick python3
  # what grab's fetching benchmarks set beside it
  curl wget
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all ${#packages[@]} packages present"
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "bootstrap: missing packages: ${missing[*]}" >&2
  echo "bootstrap: run this script as root (or install them with apt-get) and try again" >&2
  exit 1
fi

echo "bootstrap: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! apt-get update -qq; then
  echo "bootstrap: apt-get update failed; is a Debian mirror reachable?" >&2
  exit 1
fi
if ! apt-get install -y -qq --no-install-recommends "${missing[@]}" >/tmp/pageharvest-bootstrap.log 2>&1; then
  tail -n 20 /tmp/pageharvest-bootstrap.log >&2
  echo "bootstrap: could not install: ${missing[*]} (full log: /tmp/pageharvest-bootstrap.log)" >&2
  exit 1
fi
# The MariaDB and PostgreSQL packages start system servers; the tests run their own on loopback instead.
if command -v systemctl >/dev/null 2>&1; then
  systemctl disable --now mariadb postgresql >/dev/null 2>&1 || true
fi
echo "bootstrap: done"
