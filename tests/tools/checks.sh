# What grab's end-to-end scripts share: checks that print ok or FAILED with their name and are counted,
# a web server on loopback, and an ODBC data source of their own. Sourced; the script ends with:
# echo "$passed passed, $failed failed"
passed=0
failed=0

check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
    echo "ok: $name"
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}

scratch() {  # scratch NAME: a folder of its own in $work, removed at the end with the server and a mount in it
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  trap 'kill "${server_pid:-}" 2>/dev/null; umount "$work/readonly" 2>/dev/null; rm -rf "$work"' EXIT
}

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

serve() {  # serve FOLDER PATH: FOLDER over HTTP on a free loopback port, once PATH answers; sets server_url, server_pid
  local port
  port=$(free_port)
  (cd "$1" && exec python3 -m http.server "$port" --bind 127.0.0.1 >/dev/null 2>&1) &
  server_pid=$!
  server_url="http://127.0.0.1:$port"
  for _ in $(seq 50); do
    python3 -c "import urllib.request; urllib.request.urlopen('$server_url/$2')" 2>/dev/null && return
    sleep 0.1
  done
}

own_odbc() {  # own_odbc FOLDER: the data source "harvest", an SQLite file in FOLDER, never the machine's
  export ODBCSYSINI=$1 ODBCINI=$1/odbc.ini
  mkdir -p "$1"
  printf '[SQLite3]\nDriver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so\n' >"$ODBCSYSINI/odbcinst.ini"
  printf '[harvest]\nDriver=SQLite3\nDatabase=%s/harvest.db\n' "$1" >"$ODBCINI"
}
