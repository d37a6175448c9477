#!/usr/bin/env bash
# The main job: grabs the sample site with grab, the command-line band, and shows where everything went.
#
# It installs what is missing, builds grab, serves sample/site on loopback, makes the content table
# of an SQLite data source with grab db create-table, and then:
#   1. grab auto  on the first article: Auto Selection, saved as HTML with its pictures and style sheet;
#   2. grab quick on the second article: the same layout, so its stored action runs without a question;
#   3. grab auto  on the gallery (another layout), appended as a row to an SQLite table through ODBC;
#   4. grab quick on the gallery again: a second row, through the layout's stored action.
# Results go to build/run/ (a fresh folder each time).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

scripts/bootstrap.sh
echo "== building grab"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DPH_SANITIZE=OFF -DPH_BUILD_BENCH=OFF >/dev/null
cmake --build build/release --target grab >/dev/null
grab="$root/build/release/tools/grab/grab"

run="$root/build/run"
rm -rf "$run"
mkdir -p "$run/out" "$run/data" "$run/odbc"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
(cd sample/site && exec python3 -m http.server "$port" --bind 127.0.0.1 >"$run/http.log" 2>&1) &
server=$!
trap 'kill $server 2>/dev/null' EXIT
site="http://127.0.0.1:$port"
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('$site/')" 2>/dev/null && break
  sleep 0.1
done
echo "== the sample site is served at $site"

# An SQLite database reached through an ODBC data source of our own (not the machine's).
export ODBCSYSINI="$run/odbc" ODBCINI="$run/odbc/odbc.ini"
printf '[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n' >"$ODBCSYSINI/odbcinst.ini"
printf '[harvest]\nDriver=SQLite3\nDatabase=%s\n' "$run/harvest.db" >"$ODBCINI"

g() { echo "\$ grab $*" | sed "s|$run/|build/run/|g"; "$grab" --data-dir "$run/data" "$@"; }

echo "== 0. The content table, made by grab in the data source the settings name"
g db create-table --dialect sqlite --dsn harvest --table content

echo "== 1. Auto Selection on the first article, saved as HTML"
g auto "$site/article-1.html" --kind html --to "$run/out/pruning.htm"
echo "== 2. Quick Save on the second article: the layout's stored action runs"
g quick "$site/article-2.html"
echo "== 3. Auto Selection on the gallery (another layout), appended to the database"
g auto "$site/gallery.html" --kind database --portion text
echo "== 4. Quick Save on the gallery: a second row through the stored action"
g quick "$site/gallery.html"

echo
echo "== Results"
echo "HTML files and their companion folders (build/run/out):"
(cd "$run/out" && find . -type f | sort | sed 's|^\./|  |')
echo "Rows of the content table (build/run/harvest.db):"
sqlite3 -separator ' | ' "$run/harvest.db" "SELECT id, content_date, url, substr(content, 1, 60) || '...' FROM content" | sed 's/^/  /'
echo "What grab remembers (build/run/data):"
for f in layouts.dat selections.dat actions.dat settings.dat; do
  printf '  %-15s %5d bytes\n' "$f" "$(stat -c %s "$run/data/$f")"
done
