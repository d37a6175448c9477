# Starts and stops a private PostgreSQL server on loopback for the tests, and runs psql on it. Sourced.
#
# The cluster, its log and its socket live in one folder of the caller's. PostgreSQL refuses to run
# as root, so under root the folder is handed to the postgres account (made by the server package)
# and every server program runs as that account.
#   pg_start DIR PORT       the cluster in DIR/data (made on the first start) serving 127.0.0.1:PORT
#                           and a socket in DIR
#   pg_stop DIR [MODE]      stops it: fast (default) or immediate, which ends every backend at once
#   pg_client DIR ARGS...   psql ARGS as the superuser over the socket: rows tab-separated, no headers

pg_bin() {
  local found
  found=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  if [ -z "$found" ]; then echo "PostgreSQL server: the postgresql package is not installed" >&2; return 1; fi
  echo "$found"
}

pg_as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

pg_start() {
  local dir=$1 port=$2 bin
  bin=$(pg_bin) || return 1
  if [ ! -d "$dir/data" ]; then
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
    pg_as_owner "$bin/initdb" -D "$dir/data" -U postgres -E UTF8 --no-locale --auth-local=trust \
      --auth-host=scram-sha-256 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; return 1; }
  fi
  # The server must not hold the caller's pipes: its streams go to the log.
  pg_as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c shared_buffers=16MB" start \
    </dev/null >"$dir/pg_ctl.log" 2>&1 || { cat "$dir/pg_ctl.log" "$dir/server.log" >&2; return 1; }
}

pg_stop() {
  local dir=$1 mode=${2:-fast} bin
  [ -f "$dir/data/postmaster.pid" ] || return 0
  bin=$(pg_bin) || return 1
  pg_as_owner "$bin/pg_ctl" -D "$dir/data" -m "$mode" -w stop </dev/null >>"$dir/pg_ctl.log" 2>&1
}

pg_client() {
  local dir=$1 port
  shift
  port=$(sed -n 4p "$dir/data/postmaster.pid")
  psql -X -h "$dir" -p "$port" -U postgres -v ON_ERROR_STOP=1 -q -A -t -F $'\t' "$@"
}
