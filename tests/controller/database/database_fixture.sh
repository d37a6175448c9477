#!/usr/bin/env bash
# Starts and stops the MariaDB and PostgreSQL servers and the ODBC configuration the database tests use.
#
# The servers run on loopback with their data in the build tree; the driver manager's configuration
# (odbcinst.ini, odbc.ini, a file data source) sits in the same folder and is used through
# ODBCSYSINI / ODBCINI instead of /etc.
#   database_fixture.sh start DIR      (re)creates DIR and starts the servers
#   database_fixture.sh stop DIR       stops the servers started in DIR
#   database_fixture.sh check DIR TAG  checks with the sqlite3, mariadb and psql clients that the rows
#                                      the test program wrote (marked with TAG) arrived
set -euo pipefail
action="$1"
dir="$2"
sock="$dir/mariadb/mysqld.sock"
pidfile="$dir/mariadb/mysqld.pid"
source "$(dirname "$0")/../../support/postgresql_server.sh"

client() { mariadb --no-defaults --socket="$sock" -uroot --default-character-set=utf8mb4 -N -B "$@"; }

free_port() {
  python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

driver() {
  local found
  found="$(ls /usr/lib/*/odbc/"$1" 2>/dev/null | head -n 1)"
  if [ -z "$found" ]; then echo "database fixture: ODBC driver $1 is not installed" >&2; exit 1; fi
  echo "$found"
}

stop_server() {
  [ -f "$pidfile" ] || return 0
  local pid
  pid="$(cat "$pidfile")"
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || { rm -f "$pidfile"; return 0; }
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$pidfile"
}

case "$action" in
start)
  stop_server
  pg_stop "$dir/postgresql" immediate
  rm -rf "$dir"
  mkdir -p "$dir/mariadb" "$dir/sqlite"
  port="$(free_port)"
  down_port="$(free_port)"
  pg_port="$(free_port)"

  cat >"$dir/odbcinst.ini" <<INI
[SQLite3]
Description=SQLite3 ODBC Driver
Driver=$(driver libsqlite3odbc.so)
DontDLClose=1

[MariaDB]
Description=MariaDB Connector/ODBC
Driver=$(driver libmaodbc.so)
DontDLClose=1

[PostgreSQL]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$(driver psqlodbcw.so)
DontDLClose=1
INI

  cat >"$dir/odbc.ini" <<INI
[PageHarvest SQLite]
Driver=SQLite3
Database=$dir/sqlite/content.db
Timeout=5000

[PageHarvest MariaDB]
Driver=MariaDB
Server=127.0.0.1
Port=$port
Database=pageharvest

[PageHarvest Down]
Driver=MariaDB
Server=127.0.0.1
Port=$down_port
Database=pageharvest

[PageHarvest PostgreSQL]
Driver=PostgreSQL
Servername=127.0.0.1
Port=$pg_port
Database=pageharvest
INI

  cat >"$dir/content.dsn" <<INI
[ODBC]
DRIVER=SQLite3
Database=$dir/sqlite/filedsn.db
Timeout=5000
INI

  mariadb-install-db --no-defaults --user=root --datadir="$dir/mariadb/data" \
    --auth-root-authentication-method=socket --skip-test-db >"$dir/mariadb/install.log" 2>&1 ||
    { cat "$dir/mariadb/install.log" >&2; exit 1; }

  # The server must not hold CTest's pipes: its streams go to files.
  setsid mariadbd --no-defaults --user=root --datadir="$dir/mariadb/data" --socket="$sock" \
    --pid-file="$pidfile" --port="$port" --bind-address=127.0.0.1 --skip-name-resolve \
    --log-error="$dir/mariadb/error.log" --innodb-buffer-pool-size=16M --skip-log-bin \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci --innodb-fast-shutdown=2 \
    </dev/null >/dev/null 2>&1 &

  for _ in $(seq 1 300); do
    if client -e 'SELECT 1' >/dev/null 2>&1; then break; fi
    sleep 0.1
  done
  client -e 'SELECT 1' >/dev/null || { cat "$dir/mariadb/error.log" >&2; exit 1; }

  client <<SQL
CREATE DATABASE pageharvest;
CREATE USER 'harvest'@'127.0.0.1' IDENTIFIED BY 'Harvest-Pw-7';
GRANT ALL ON pageharvest.* TO 'harvest'@'127.0.0.1';
CREATE USER 'reader'@'127.0.0.1' IDENTIFIED BY 'Reader-Pw-7';
GRANT SELECT ON pageharvest.* TO 'reader'@'127.0.0.1';
CREATE TABLE pageharvest.shelf (id INT UNSIGNED NOT NULL AUTO_INCREMENT, content_date DATETIME,
  url VARCHAR(255), content TEXT, PRIMARY KEY(id));
SQL
  pg_start "$dir/postgresql" "$pg_port"
  pg_client "$dir/postgresql" -c "CREATE ROLE harvest LOGIN PASSWORD 'Harvest-Pw-7'" \
    -c "CREATE DATABASE pageharvest OWNER harvest ENCODING 'UTF8'"
  echo "database fixture: MariaDB on 127.0.0.1:$port, PostgreSQL on 127.0.0.1:$pg_port," \
    "configuration in $dir"
  ;;
stop)
  stop_server
  pg_stop "$dir/postgresql"
  ;;
check)
  tag="$3"
  url="https://pageharvest.test/arrived/$tag"
  # Written through the named data source, the file data source and the two servers.
  sqlite_rows="$(sqlite3 "$dir/sqlite/content.db" "SELECT strftime('%Y-%m-%d %H:%M:%S', content_date) || '|' || content FROM arrivals WHERE url = '$url'")"
  filedsn_rows="$(sqlite3 "$dir/sqlite/filedsn.db" "SELECT count(*) FROM arrivals WHERE url = '$url'")"
  mariadb_rows="$(client -e "SELECT CONCAT(content_date, '|', content) FROM pageharvest.arrivals WHERE url = '$url'")"
  postgresql_rows="$(pg_client "$dir/postgresql" -d pageharvest -c "SELECT to_char(content_date, 'YYYY-MM-DD HH24:MI:SS') || '|' || content FROM arrivals WHERE url = '$url'")"
  echo "sqlite3 (named data source): $sqlite_rows"
  echo "sqlite3 (file data source):  $filedsn_rows row(s)"
  echo "mariadb:                     $mariadb_rows"
  echo "psql:                        $postgresql_rows"
  # Japanese, Arabic, Greek, accented Latin and an emoji: the test's mixed-script text.
  expected='2031-04-05 06:07:08|日本語の記事 مرحبا Καλημέρα Ça déjà naïve 😀'
  [ "$sqlite_rows" = "$expected" ] && [ "$filedsn_rows" = 1 ] && [ "$mariadb_rows" = "$expected" ] &&
    [ "$postgresql_rows" = "$expected" ] ||
    { echo "the rows written by the $tag test program did not arrive as written" >&2; exit 1; }
  ;;
*)
  echo "usage: $0 start|stop|check DIR [TAG]" >&2
  exit 2
  ;;
esac
