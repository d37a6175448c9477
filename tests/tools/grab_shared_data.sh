#!/usr/bin/env bash
# Several grab processes on one data folder at once, as several browser windows, hosts and scripts
# meet there: four processes learn 25 layouts each, and afterwards all 100 are found.
# Usage: grab_shared_data.sh GRAB_BINARY SOURCE_DIR
set -uo pipefail
grab=$1
src=$2
source "$src/tests/tools/checks.sh"
scratch grab-shared

# Page n holds n tables, so that no two pages share a layout.
mkdir -p "$work/pages" "$work/out"
for n in $(seq 100); do
  {
    printf '<html><head><title>Page %d</title></head><body>' "$n"
    printf '<table><tr><td>The story of page %d, the longest text on it.</td></tr></table>' "$n"
    for _ in $(seq 2 "$n"); do printf '<table><tr><td>x</td></tr></table>'; done
    printf '</body></html>\n'
  } >"$work/pages/p$n.html"
done

learn() {  # learn FIRST: every fourth page from FIRST on
  for n in $(seq "$1" 4 100); do
    "$grab" -q --data-dir "$work/data" auto "$work/pages/p$n.html" --kind text --to "$work/out/first-$n.txt" ||
      echo "auto p$n failed"
  done
}
mkdir -p "$work/data"
for first in 1 2 3 4; do learn "$first" >"$work/learn-$first.txt" 2>&1 & done
wait
check "four processes learning at once each saved every page" bash -c "! grep -q 'failed' '$work'/learn-*.txt"
check "afterwards all 100 layouts are found and saved by their stored actions" \
  bash -c "'$grab' --data-dir '$work/data' --no-progress quick '$work'/pages/p*.html | grep -qx 'quick: saved 100, skipped 0, failed 0'"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
