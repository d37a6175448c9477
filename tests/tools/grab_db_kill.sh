#!/usr/bin/env bash
# Stops the database server (MariaDB, or PostgreSQL) in the middle of a Quick Save of 200 pages to
# the database, and checks that no row is half written, that every page is counted as saved or failed,
# and that the failed ones are named. Usage: grab_db_kill.sh GRAB_BINARY SOURCE_DIR [mariadb|postgresql]
set -uo pipefail
grab=$1
src=$2
kind=${3:-mariadb}
pages=200
work=$(mktemp -d /tmp/grab-dbkill.XXXXXX)
chmod 755 "$work"  # the PostgreSQL server runs as an account of its own
db=$work/$kind
sock=$db/mysqld.sock

db_pid=
grab_pid=
cleanup() {
  [ -n "$grab_pid" ] && kill "$grab_pid" 2>/dev/null
  [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null
  [ -n "$db_pid" ] && kill -9 "$db_pid" 2>/dev/null
  [ "$kind" = postgresql ] && pg_stop "$db" immediate
  rm -rf "$work"
}
trap cleanup EXIT

source "$src/tests/tools/checks.sh"
source "$src/tests/support/postgresql_server.sh"

port=$(free_port)

# What differs between the servers: a client that prints rows tab-separated, starting the server
# (again, after it was stopped), making the account and the database, and stopping it abruptly.
mariadb_client() { mariadb --no-defaults --socket="$sock" -uroot -N -B "$@"; }

mariadb_start() {
  (setsid mariadbd --no-defaults --user=root --datadir="$db/data" --socket="$sock" --pid-file="$db/mysqld.pid" \
    --port="$port" --bind-address=127.0.0.1 --skip-name-resolve --log-error="$db/error.log" \
    --innodb-buffer-pool-size=16M --skip-log-bin --character-set-server=utf8mb4 </dev/null >/dev/null 2>&1 &)
  for _ in $(seq 300); do
    mariadb_client -e 'SELECT 1' >/dev/null 2>&1 && db_pid=$(cat "$db/mysqld.pid") && return 0
    sleep 0.1
  done
  cat "$db/error.log" >&2
  [ -f "$db/mysqld.pid" ] && db_pid=$(cat "$db/mysqld.pid")
  return 1
}

mariadb_setup() {
  mariadb-install-db --no-defaults --user=root --datadir="$db/data" --auth-root-authentication-method=socket \
    --skip-test-db >"$db/install.log" 2>&1 || { cat "$db/install.log" >&2; return 1; }
  mariadb_start || return 1
  mariadb_client -e "CREATE DATABASE harvest;
    CREATE USER 'grab'@'127.0.0.1' IDENTIFIED BY 'Grab-Pw-7'; GRANT ALL ON harvest.* TO 'grab'@'127.0.0.1';"
  printf '[Server]\nDriver=%s\n' "$(ls /usr/lib/*/odbc/libmaodbc.so | head -n 1)" >"$ODBCSYSINI/odbcinst.ini"
  printf '[harvest]\nDriver=Server\nServer=127.0.0.1\nPort=%s\nDatabase=harvest\n' "$port" >"$ODBCINI"
}

mariadb_stop() {
  kill -9 "$db_pid"
  while kill -0 "$db_pid" 2>/dev/null; do sleep 0.05; done
}

postgresql_start() { pg_start "$db" "$port"; }

postgresql_setup() {
  pg_start "$db" "$port" &&
    pg_client "$db" -c "CREATE ROLE grab LOGIN PASSWORD 'Grab-Pw-7'" -c "CREATE DATABASE harvest OWNER grab" ||
    return 1
  printf '[Server]\nDriver=%s\n' "$(ls /usr/lib/*/odbc/psqlodbcw.so | head -n 1)" >"$ODBCSYSINI/odbcinst.ini"
  printf '[harvest]\nDriver=Server\nServername=127.0.0.1\nPort=%s\nDatabase=harvest\n' "$port" >"$ODBCINI"
}

# The immediate mode ends the server and every backend at once, without a checkpoint: a crash.
postgresql_stop() { pg_stop "$db" immediate; }

client() {  # client SQL
  if [ "$kind" = postgresql ]; then pg_client "$db" -d harvest -c "$1"; else mariadb_client -D harvest -e "$1"; fi
}

# Pages of one layout: a menu cell and a story cell whose text names the page.
mkdir -p "$work/site" "$db"
story() { echo "Harvest note $1 tells how the rows of the orchard were counted and written down, one by one, before the frost."; }
for n in $(seq 0 "$pages"); do
  printf '<html><head><title>Note %s</title></head><body><table><tr><td>Menu</td><td>%s</td></tr></table></body></html>\n' \
    "$n" "$(story "$n")" >"$work/site/note-$n.html"
done
serve "$work/site" note-0.html
site=$server_url

export ODBCSYSINI=$work/odbc ODBCINI=$work/odbc/odbc.ini
mkdir -p "$work/odbc"
"${kind}_setup" || exit 1
export LSAN_OPTIONS="suppressions=$src/tests/controller/database/lsan.supp:fast_unwind_on_malloc=0"
g() { "$grab" --data-dir "$work/data" "$@"; }

# The layout is learned on a page outside the batch; its row is cleared before the batch.
dialect=mysql
[ "$kind" = postgresql ] && dialect=postgresql
g db test --dsn harvest --user grab --password Grab-Pw-7 >/dev/null 2>&1 &&
  g db create-table --dialect "$dialect" --table content >/dev/null 2>&1 &&
  g auto "$site/note-0.html" --kind database --portion text >/dev/null 2>&1 ||
  { echo "FAILED: the layout could not be learned" >&2; exit 1; }
client 'DELETE FROM content'

urls=()
for n in $(seq "$pages"); do urls+=("$site/note-$n.html"); done
g --no-progress quick "${urls[@]}" >"$work/out.txt" 2>"$work/err.txt" &
grab_pid=$!
# The server dies once the first rows have arrived.
for _ in $(seq 600); do
  [ "$(client 'SELECT count(*) FROM content' 2>/dev/null)" -ge 10 ] 2>/dev/null && break
  sleep 0.02
done
"${kind}_stop"
wait "$grab_pid"
status=$?
grab_pid=
"${kind}_start" || exit 1

read -r saved skipped failures < <(sed -n 's/^quick: saved \([0-9]*\), skipped \([0-9]*\), failed \([0-9]*\)$/\1 \2 \3/p' "$work/out.txt")
client 'SELECT url, content FROM content' >"$work/rows.txt"
rows=$(wc -l <"$work/rows.txt")
echo "grab printed \"$(cat "$work/out.txt")\"; the table holds $rows rows"
check "grab exits 1 when pages were not saved" test "$status" -eq 1
check "every page is counted as saved, skipped or failed" test "$((saved + skipped + failures))" -eq "$pages"
check "some pages failed after the server died" test "$failures" -gt 0
# A row whose commit outlived the server's answer is in the table, though grab had to call its page
# not saved: only the page in flight when the server died can be that one.
sed -n 's/^grab: not saved: \([^ ]*\.html\): .*/\1/p' "$work/err.txt" >"$work/unsaved.txt"
cut -f1 "$work/rows.txt" | grep -vxF -f "$work/unsaved.txt" >"$work/saved-rows.txt"
cut -f1 "$work/rows.txt" | grep -xF -f "$work/unsaved.txt" >"$work/unanswered-rows.txt"
check "the rows are the pages counted as saved" test "$(wc -l <"$work/saved-rows.txt")" -eq "$saved"
check "beyond them, at most the page in flight when the server died" \
  bash -c "[ ! -s '$work/unanswered-rows.txt' ] || [ \"\$(cat '$work/unanswered-rows.txt')\" = \"\$(head -n 1 '$work/unsaved.txt')\" ]"
whole() {
  local url content
  while IFS=$'\t' read -r url content; do
    [ "$content" = "$(story "$(basename "$url" .html | sed 's/^note-//')")" ] || return 1
  done <"$work/rows.txt"
}
check "every row holds the whole text of the page its address names" whole
named() {
  local n
  for n in $(seq "$pages"); do
    grep -qx "$site/note-$n.html	.*" "$work/rows.txt" || grep -qF "$site/note-$n.html" "$work/err.txt" || return 1
  done
}
check "every page without a row is named on standard error" named

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
