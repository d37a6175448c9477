# The checks of grab's end-to-end scripts: each prints ok or FAILED with its name and is counted.
# Sourced; the script ends with: echo "$passed passed, $failed failed"
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
